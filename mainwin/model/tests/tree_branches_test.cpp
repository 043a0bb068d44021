#include "mainwin/model/tree_branches.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace talvero {
namespace {

std::vector<LibraryEntry> ListFrom(const std::vector<std::string>& slots, int* asked = nullptr) {
  return ListDriveLibrary([&](int s) {
    if (asked) *asked = s + 1;
    return size_t(s) < slots.size() ? slots[size_t(s)] : std::string();
  });
}

TEST(DriveLibrary, SkipsTheSavedProgramAndStopsAtTheFirstEmptySlot) {
  int asked = 0;
  auto list = ListFrom({"HOME", "$$SAVE$$", " JOG  ", "~~~~~~~~", "AFTER"}, &asked);
  EXPECT_EQ(list, (std::vector<LibraryEntry>{{0, "HOME"}, {2, "JOG"}}));
  EXPECT_EQ(asked, 4);  // nothing read behind the empty slot

  EXPECT_TRUE(ListFrom({"$$SAVE$$", "~~~~~~~~"}).empty());
  EXPECT_TRUE(ListFrom({"   ", "HOME"}).empty());
  std::vector<std::string> full(200, "P");
  EXPECT_EQ(ListFrom(full).size(), 128u);
}

TEST(TreeBuild, DrivesThenApplicationsInTableOrder) {
  NodeTables tables;
  tables.at(4).driveText = "KV110i FEEDER (Node 4)";
  tables.at(4).family = "TAU";
  std::vector<std::vector<LibraryEntry>> libs(5);
  libs[4] = {{0, "HOME"}, {2, "JOG"}};

  AppBranchSource app;
  app.slot = 2;
  app.text = "...\\apps\\line3";
  app.programs = {"", "MAIN"};
  app.axes = {{"", "", ""}, {"X1", "KV110c ", "RHO"}};

  const std::vector<TreeNode> expected = {
      {"!SY", "", "Connected Application", "applic"},
      {"!AP", "", "Applications", "applic"},
      {"#4", "!SY", "KV110i FEEDER (Node 4)", "axis"},
      {"PA4", "#4", "Parameters", "par"},
      {"SU4", "PA4", "Modes", "doc"},
      {"SM4", "PA4", "Motor", "doc"},
      {"SF4", "PA4", "Feedback", "doc"},
      {"SC4", "PA4", "Command", "doc"},
      {"TU4", "PA4", "Tuning", "doc"},
      {"TH4", "#4", "Events", "pgm"},
      {"PP4", "#4", "Active Program", "pgm"},
      {"PL4", "#4", "Program Library", "pgmlib"},
      {"LE4,0", "PL4", "HOME", "pgm"},
      {"LE4,2", "PL4", "JOG", "pgm"},
      {"SS4", "#4", "Status", "diag"},
      {"AP2", "!AP", "...\\apps\\line3", "applic"},
      {"PR-2", "AP2", "Program Library", "pgmlib"},
      {"PR-2,2", "PR-2", "MAIN", "doc"},
      {"AX-2,2", "AP2", "KV110c Axis: X1", "axis"},
      {"PA-2,2", "AX-2,2", "Parameters", "par"},
      {"SU-2,2", "PA-2,2", "Modes", "doc"},
      {"SM-2,2", "PA-2,2", "Motor", "doc"},
      {"SF-2,2", "PA-2,2", "Feedback", "doc"},
      {"SC-2,2", "PA-2,2", "Command", "doc"},
      {"TU-2,2", "PA-2,2", "Tuning", "doc"},
      {"EV-2,2", "AX-2,2", "Events", "doc"},
  };
  EXPECT_EQ(BuildTree(tables, libs, {app}), expected);
}

TEST(TreeBuild, EveryParentIsAddedBeforeItsChildren) {
  NodeTables tables;
  tables.at(1).driveText = "A (Node 1)";
  tables.at(31).driveText = "B (Node 31)";
  AppBranchSource app{16, "x", std::vector<std::string>(64, "P"),
                      std::vector<AppAxisSource>(16, {"AX", "KS130i/d ", "PSI"})};
  std::vector<std::string> seen;
  for (const auto& n : BuildTree(tables, {}, {app})) {
    if (!n.parentKey.empty()) {
      EXPECT_NE(std::find(seen.begin(), seen.end(), n.parentKey), seen.end()) << n.key;
    }
    EXPECT_EQ(std::find(seen.begin(), seen.end(), n.key), seen.end()) << "twice: " << n.key;
    seen.push_back(n.key);
  }
  EXPECT_EQ(seen.size(), 2 + 2 * 11 + 2 + 64 + 16 * 8u);
}

}  // namespace
}  // namespace talvero
