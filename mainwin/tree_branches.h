#pragma once
// The branches the tree gets for a drive found on the line.
#include <string>

#include "mainwin/drive_search.h"
#include "mainwin/sys_tree.h"

namespace mainwin {

constexpr const char* kDrivesRoot = "!SY";
constexpr const char* kAppsRoot = "!AP";

void AddRoots(SysTree& tree);
// The drive node with its parameter groups, events, programs and status.
void AddDriveBranch(SysTree& tree, int node, const std::string& driveText, DriveQueries& line);
// Lists the drive's library under "PL" & node, after removing what was there.
void ListDriveLibrary(SysTree& tree, int node, DriveQueries& line);

// Parameter groups of every axis: key prefix and text.
struct ParamGroup {
  const char* key;
  const char* text;
};
extern const ParamGroup kParamGroups[5];

}  // namespace mainwin
