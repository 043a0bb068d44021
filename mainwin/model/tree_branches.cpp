#include "mainwin/model/tree_branches.h"

#include "runtime/text.h"
#include "mainwin/model/tree_key.h"

namespace talvero {

namespace {

constexpr int kLibrarySlots = 128;

TreeNode Node(const TreeKey& key, std::string text) {
  return {key.Format(), key.ParentKey().value_or(""), std::move(text), key.PictureKey()};
}

TreeNode Fixed(const TreeKey& key) { return Node(key, key.FixedText().value_or("")); }

void AddParameterNodes(std::vector<TreeNode>& out, const std::vector<int>& numbers) {
  out.push_back(Fixed(TreeKey::Make("PA", numbers)));
  for (const auto& g : kParameterGroups) out.push_back(Fixed(TreeKey::Make(g.kind, numbers)));
}

}  // namespace

std::vector<LibraryEntry> ListDriveLibrary(const std::function<std::string(int slot)>& nameOfSlot) {
  std::vector<LibraryEntry> list;
  for (int s = 0; s < kLibrarySlots; ++s) {
    std::string name = rt::Trim(nameOfSlot(s));
    if (name.empty() || name == "~~~~~~~~") break;
    if (name == "$$SAVE$$") continue;
    list.push_back({s, std::move(name)});
  }
  return list;
}

std::vector<TreeNode> TreeRoots() {
  return {Fixed(TreeKey::SystemRoot()), Fixed(TreeKey::AppsRoot())};
}

std::vector<TreeNode> DriveLibraryNodes(int node, const std::vector<LibraryEntry>& library) {
  std::vector<TreeNode> out;
  for (const auto& e : library) out.push_back(Node(TreeKey::Make("LE", {node, e.slot}), e.name));
  return out;
}

std::vector<TreeNode> DriveBranch(int node, const std::string& driveText,
                                  const std::vector<LibraryEntry>& library) {
  std::vector<TreeNode> out;
  out.push_back(Node(TreeKey::Make("#", {node}), driveText));
  AddParameterNodes(out, {node});
  out.push_back(Fixed(TreeKey::Make("TH", {node})));
  out.push_back(Fixed(TreeKey::Make("PP", {node})));
  out.push_back(Fixed(TreeKey::Make("PL", {node})));
  for (auto& n : DriveLibraryNodes(node, library)) out.push_back(std::move(n));
  out.push_back(Fixed(TreeKey::Make("SS", {node})));
  return out;
}

std::vector<TreeNode> AxisBranch(int axisSlot, int appSlot, const std::string& longName,
                                 const std::string& axisName) {
  const std::vector<int> n{-axisSlot, appSlot};
  std::vector<TreeNode> out;
  out.push_back(Node(TreeKey::Make("AX", n), longName + "Axis: " + axisName));
  AddParameterNodes(out, n);
  out.push_back(Fixed(TreeKey::Make("EV", n)));
  return out;
}

std::vector<TreeNode> AppBranch(const AppBranchSource& app) {
  std::vector<TreeNode> out;
  out.push_back(Node(TreeKey::Make("AP", {app.slot}), app.text));
  out.push_back(Fixed(TreeKey::Make("PR", {-app.slot})));
  for (size_t p = 0; p < app.programs.size() && p < 64; ++p)
    if (!app.programs[p].empty())
      out.push_back(Node(TreeKey::Make("PR", {-app.slot, int(p) + 1}), app.programs[p]));
  for (size_t x = 0; x < app.axes.size() && x < 16; ++x) {
    const auto& axis = app.axes[x];
    if (axis.name.empty()) continue;
    for (auto& n : AxisBranch(int(x) + 1, app.slot, axis.longName, axis.name))
      out.push_back(std::move(n));
  }
  return out;
}

std::vector<TreeNode> BuildTree(const NodeTables& tables,
                                const std::vector<std::vector<LibraryEntry>>& libraries,
                                const std::vector<AppBranchSource>& apps) {
  std::vector<TreeNode> out = TreeRoots();
  static const std::vector<LibraryEntry> kNone;
  for (int n = 0; n < 32; ++n) {
    if (!tables.HasDrive(n)) continue;
    const auto& lib = size_t(n) < libraries.size() ? libraries[size_t(n)] : kNone;
    for (auto& node : DriveBranch(n, tables.at(n).driveText, lib)) out.push_back(std::move(node));
  }
  for (const auto& app : apps)
    for (auto& node : AppBranch(app)) out.push_back(std::move(node));
  return out;
}

}  // namespace talvero
