#include "mainwin/tree_branches.h"

namespace mainwin {

const ParamGroup kParamGroups[5] = {
    {"SU", "Modes"}, {"SM", "Motor"}, {"SF", "Feedback"}, {"SC", "Command"}, {"TU", "Tuning"}};

void AddRoots(SysTree& tree) {
  tree.Add("", kDrivesRoot, "Connected Application", "applic");
  tree.Add("", kAppsRoot, "Applications", "applic");
}

void AddDriveBranch(SysTree& tree, int node, const std::string& driveText, DriveQueries& line) {
  const std::string n = std::to_string(node);
  const std::string drive = "#" + n;
  tree.Add(kDrivesRoot, drive, driveText, "axis");
  tree.Add(drive, "PA" + n, "Parameters", "par");
  for (const ParamGroup& g : kParamGroups) tree.Add("PA" + n, g.key + n, g.text, "doc");
  tree.Add(drive, "TH" + n, "Events", "pgm");
  tree.Add(drive, "PP" + n, "Active Program", "pgm");
  tree.Add(drive, "PL" + n, "Program Library", "pgmlib");
  ListDriveLibrary(tree, node, line);
  tree.Add(drive, "SS" + n, "Status", "diag");
}

void ListDriveLibrary(SysTree& tree, int node, DriveQueries& line) {
  const std::string lib = "PL" + std::to_string(node);
  if (!tree.Exists(lib)) return;
  for (std::vector<std::string> kids = tree.Children(lib); !kids.empty(); kids = tree.Children(lib))
    tree.Remove(kids.front());
  for (const auto& [slot, name] : ListLibrary(line, node))
    tree.Add(lib, "LE" + std::to_string(node) + "," + std::to_string(slot), name, "pgm");
}

}  // namespace mainwin
