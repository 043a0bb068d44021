#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "mainwin/drive_search.h"
#include "mainwin/shared_services.h"
#include "mainwin/version.h"

namespace mainwin {
namespace {

TEST(Services, CleanShortensOnlyLongPathsWithTwoSeparators) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Work\\Apps\\Line3.APP", "...\\Apps\\Line3.APP"},
      {"C:\\A.APP", "C:\\A.APP"},
      {"C:\\averyveryverylongname.APP", "C:\\averyveryverylongname.APP"},
      {"C:\\abcdefgh\\x.AP", "...\\x.AP"},  // exactly 16 characters
      {"C:\\abcdefg\\x.AP", "C:\\abcdefg\\x.AP"},  // 15
      {"/home/user/apps/line3", ".../user/apps/line3"},
      {"/home/u/x.APP", "/home/u/x.APP"},
      {"relative/name/line.APP", ".../line.APP"},
      {"C:\\Work/Apps\\Line3.APP", "...\\Line3.APP"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(Clean(in), out) << in;
}

TEST(Services, PlotColourSetIsStoredAtOnceUnderItsIndex) {
  std::map<std::string, std::string> saved;
  PlotColours colours([&](const std::string& k, const std::string& v) { saved[k] = v; });
  colours.Load(1, 16777215);
  EXPECT_TRUE(saved.empty());
  colours.PSCol(12, 255);
  EXPECT_EQ(colours.PCol(12), 255);
  EXPECT_EQ(colours.PCol(1), 16777215);
  EXPECT_EQ(colours.PCol(0), 0);
  EXPECT_EQ(saved, (std::map<std::string, std::string>{{"12", "255"}}));
  // Out of the table: ignored, nothing stored.
  colours.PSCol(17, 5);
  colours.PSCol(-1, 5);
  EXPECT_EQ(colours.PCol(17), 0);
  EXPECT_EQ(saved.size(), 1u);
}

TEST(Services, IdentityReplies) {
  const struct {
    const char* reply;
    bool present;
    const char* family;
    const char* model;
  } cases[] = {
      {"!TAUKV110i/d", true, "TAU", "KV110i/d"},
      {"!PSI", true, "PSI", ""},
      {"!RH", true, "RH", ""},
      {"", false, "", ""},
      {"?TAUKV110", false, "", ""},
      {" !TAU", false, "", ""},
  };
  for (const auto& c : cases) {
    DriveIdentity id = ParseIdentity(c.reply);
    EXPECT_EQ(id.present, c.present) << c.reply;
    EXPECT_EQ(id.family, c.family) << c.reply;
    EXPECT_EQ(id.model, c.model) << c.reply;
  }
  EXPECT_EQ(DriveText("KV110i/d", "Lift", 5), "KV110i/d Lift (Node 5)");
}

TEST(Services, KernelTextIsTheKernelLineOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"Firmware 3.1\nKernel version: 2.07\nBuilt 2001", "Kernel version: 2.07"},
      {"Boot 1 Kernel version: 9", "Kernel version: 9"},
      {"Kernel version: 4.4", "Kernel version: 4.4"},
      {"Firmware 3.1", "Kernel version: unknown"},
      {"", "Kernel version: unknown"},
      {"kernel version: 1", "Kernel version: unknown"},
  };
  for (const auto& [info, kernel] : cases) EXPECT_EQ(KernelText(info), kernel) << info;
}

TEST(Services, VersionTextHasNoLeadingZeros) {
  EXPECT_EQ(VersionText({3, 3, 11}), "Version 3.3 Build 11");
  EXPECT_EQ(VersionText({3, 0, 0}), "Version 3.0 Build 0");
}

}  // namespace
}  // namespace mainwin

namespace mainwin {
namespace {

// Answers from a script: node -> identity, and the library of each node.
class ScriptedQueries : public DriveQueries {
 public:
  std::map<int, std::string> identity;
  std::vector<int> asked;
  std::string WhoAmI(int node) override {
    asked.push_back(node);
    return identity.count(node) ? identity[node] : "";
  }
  std::string GetDriveName(int node) override { return "D" + std::to_string(node); }
  std::string GetSerial(int node) override { return std::to_string(1000 + node); }
  std::string Info(int, int) override { return "Kernel version: 7\nmore"; }
  std::string GetPgmName(int, int) override { return "~~~~~~~~"; }
};

class StopAt : public SearchProgress {
 public:
  explicit StopAt(int node) : stopAt_(node) {}
  std::vector<std::string> texts;
  void StatOn(const std::string&) override {}
  void Stat(const std::string& text) override { texts.push_back(text); }
  bool Clicked() override { return int(texts.size()) >= stopAt_; }

 private:
  int stopAt_;
};

TEST(Search, EveryNodeIsAskedOnceAndEmptyNodesAreCleared) {
  const struct {
    int stopAt;  // 99 = never
    std::vector<int> asked;
    std::vector<int> found;
  } cases[] = {
      {99, {}, {1, 4, 31}},
      {7, {1, 2, 3, 4, 5, 6}, {1, 4}},
      {1, {}, {}},
  };
  for (const auto& c : cases) {
    ScriptedQueries q;
    q.identity = {{1, "!RHOKV110c"}, {4, "!TAUKV110i/d"}, {31, "!PSIKS130i/d"}, {9, "?"}};
    talvero::NodeTables t;
    t.at(9).driveText = "stale";
    t.at(9).family = "PHI";
    t.at(31).family = "PHI";
    StopAt progress(c.stopAt);
    std::vector<int> found;
    int last = SearchNodes(q, progress, t, [&](int n) {
      found.push_back(n);
      EXPECT_FALSE(t.at(n).driveText.empty()) << "tables are filled before the branch is drawn";
    });
    std::vector<int> asked = c.asked;
    if (c.stopAt == 99)
      for (int n = 1; n <= 31; ++n) asked.push_back(n);
    EXPECT_EQ(q.asked, asked);
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(last, asked.empty() ? 0 : asked.back());
    EXPECT_EQ(progress.texts.front(), "at Node 1 of 31");
    if (c.stopAt == 99) {
      EXPECT_EQ(t.at(9).driveText, "");
      EXPECT_EQ(t.at(9).family, "PHI");  // left as it was
      EXPECT_EQ(t.at(31).family, "PSI");
      EXPECT_EQ(t.at(31).driveText, "KS130i/d D31 (Node 31)");
      EXPECT_EQ(t.at(31).serialText, "Serial # 1031");
      EXPECT_EQ(t.at(31).kernelText, "Kernel version: 7");
      EXPECT_FALSE(t.at(31).simple);
    }
  }
}

}  // namespace
}  // namespace mainwin
