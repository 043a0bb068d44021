#include "mainwin/tree_branches.h"

#include "mainwin/model/tree_key.h"

namespace mainwin {

namespace {

std::vector<talvero::LibraryEntry> ReadLibrary(DriveQueries& line, int node) {
  return talvero::ListDriveLibrary([&](int slot) { return line.GetPgmName(node, slot); });
}

}  // namespace

void AddNodes(SysTree& tree, const std::vector<talvero::TreeNode>& nodes) {
  for (const talvero::TreeNode& n : nodes) tree.Add(n.parentKey, n.key, n.text, n.picture);
}

void AddRoots(SysTree& tree) { AddNodes(tree, talvero::TreeRoots()); }

void AddDriveBranch(SysTree& tree, int node, const std::string& driveText, DriveQueries& line) {
  AddNodes(tree, talvero::DriveBranch(node, driveText, ReadLibrary(line, node)));
}

void RelistDriveLibrary(SysTree& tree, int node, DriveQueries& line) {
  const std::string lib = TreeKey::Make("PL", {node}).Format();
  if (!tree.Exists(lib)) return;
  for (std::vector<std::string> kids = tree.Children(lib); !kids.empty(); kids = tree.Children(lib))
    tree.Remove(kids.front());
  AddNodes(tree, talvero::DriveLibraryNodes(node, ReadLibrary(line, node)));
}

}  // namespace mainwin
