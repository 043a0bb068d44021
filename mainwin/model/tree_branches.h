#pragma once
// The tree's nodes in the order they are added: roots, one branch per drive,
// one per open application. The widget only adds them in order.
#include <functional>
#include <string>
#include <vector>

#include "mainwin/model/node_tables.h"

namespace talvero {

struct TreeNode {
  std::string key;
  std::string parentKey;  // "" for a root
  std::string text;
  std::string picture;
  bool operator==(const TreeNode&) const = default;
};

// One listed program of a drive's library.
struct LibraryEntry {
  int slot;
  std::string name;
  bool operator==(const LibraryEntry&) const = default;
};

// Reads the library slot by slot (trimmed names) and stops at the first empty
// slot, so a drive is asked no further than needed. "$$SAVE$$" is skipped.
std::vector<LibraryEntry> ListDriveLibrary(const std::function<std::string(int slot)>& nameOfSlot);

struct AppAxisSource {
  std::string name;      // "" = free slot
  std::string longName;  // the family's model caption, with its trailing blank
  std::string family;
};

struct AppBranchSource {
  int slot = 1;                          // 1..16
  std::string text;                      // what the node shows: the name shortened for display
  std::vector<std::string> programs;     // program slots 1..64 (index 0 = slot 1), "" = free
  std::vector<AppAxisSource> axes;       // axis slots 1..16 (index 0 = slot 1)
};

std::vector<TreeNode> TreeRoots();
std::vector<TreeNode> DriveBranch(int node, const std::string& driveText,
                                  const std::vector<LibraryEntry>& library);
// The "LE" nodes alone, for re-listing one drive's library under its "PL" node.
std::vector<TreeNode> DriveLibraryNodes(int node, const std::vector<LibraryEntry>& library);
std::vector<TreeNode> AxisBranch(int axisSlot, int appSlot, const std::string& longName,
                                 const std::string& axisName);
std::vector<TreeNode> AppBranch(const AppBranchSource& app);

// The whole tree: roots, drives 0..31 that have a drive text (libraries[n] is
// node n's listed library; missing entries count as empty), then the given
// open applications in the order given (slot order).
std::vector<TreeNode> BuildTree(const NodeTables& tables,
                                const std::vector<std::vector<LibraryEntry>>& libraries,
                                const std::vector<AppBranchSource>& apps);

}  // namespace talvero
