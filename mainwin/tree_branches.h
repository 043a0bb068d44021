#pragma once
// Puts the model's branches into the tree widget.
#include <vector>

#include "mainwin/drive_search.h"
#include "mainwin/model/tree_branches.h"
#include "mainwin/sys_tree.h"

namespace mainwin {

// Adds the nodes in order, each under its parent.
void AddNodes(SysTree& tree, const std::vector<talvero::TreeNode>& nodes);
void AddRoots(SysTree& tree);
// The drive node with its parameter groups, events, programs and status,
// its library read from the drive.
void AddDriveBranch(SysTree& tree, int node, const std::string& driveText, DriveQueries& line);
// Re-lists the drive's library under "PL" & node, after removing what was there.
void RelistDriveLibrary(SysTree& tree, int node, DriveQueries& line);

}  // namespace mainwin
