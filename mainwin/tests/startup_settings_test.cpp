#include "mainwin/startup_settings.h"

#include <gtest/gtest.h>

#include "mainwin/tests/fakes.h"

namespace mainwin {
namespace {

TEST(StartupSettings, LinkValuesAreClampedAndWrittenBack) {
  const struct {
    const char *b1t, *bnt, *retry;
    int first, next, tries;
  } cases[] = {
      {nullptr, nullptr, nullptr, 750, 300, 8},
      {"100", "50", "0", 750, 300, 1},
      {"1000", "400", "3", 1000, 400, 3},
      {"abc", "", "99999", 750, 300, 20},
      {"99999999999999999999", "-5", "-3", 32767, 300, 1},
      {" 900 ms", "300.7", "8x", 900, 300, 8},
  };
  for (const auto& c : cases) {
    MapSettings m;
    if (c.b1t) m.values["Setup/B1T"] = c.b1t;
    if (c.bnt) m.values["Setup/BNT"] = c.bnt;
    if (c.retry) m.values["Setup/Retry"] = c.retry;
    LinkSettings s = ReadLinkSettings(m.io());
    EXPECT_EQ(s.firstByteTimeout, c.first) << (c.b1t ? c.b1t : "-");
    EXPECT_EQ(s.nextByteTimeout, c.next) << (c.bnt ? c.bnt : "-");
    EXPECT_EQ(s.retries, c.tries) << (c.retry ? c.retry : "-");
    EXPECT_EQ(m.values["Setup/B1T"], std::to_string(c.first));
    EXPECT_EQ(m.values["Setup/BNT"], std::to_string(c.next));
    EXPECT_EQ(m.values["Setup/Retry"], std::to_string(c.tries));
  }
}

TEST(StartupSettings, ProbeRangeFollowsCps) {
  const struct {
    const char* cps;
    std::vector<int> range;
  } cases[] = {{nullptr, {0, 1, 2, 3, 4, 5, 6, 7}}, {"0", {0, 1, 2, 3, 4, 5, 6, 7}},
               {"3", {2}}, {"8", {7}}, {"12", {}}, {"-1", {}}, {"abc", {0, 1, 2, 3, 4, 5, 6, 7}}};
  for (const auto& c : cases) {
    MapSettings m;
    if (c.cps) m.values["Setup/CPS"] = c.cps;
    EXPECT_EQ(ProbeRange(m.io()), c.range) << (c.cps ? c.cps : "-");
    EXPECT_EQ(m.values.count("Setup/CPS"), c.cps ? 1u : 0u);  // never created
  }
}

TEST(StartupSettings, ColoursPortTipsAndFirstRun) {
  MapSettings m;
  m.values["Plot/2"] = "abc";
  m.values["Plot/3"] = "-7";
  m.values["Plot/4"] = "255";
  m.values["Plot/5"] = "16777216";
  EXPECT_EQ(ReadPlotColour(m.io(), 1), 16777215);
  EXPECT_EQ(ReadPlotColour(m.io(), 2), 0);
  EXPECT_EQ(ReadPlotColour(m.io(), 3), 12500670);
  EXPECT_EQ(ReadPlotColour(m.io(), 4), 255);
  EXPECT_EQ(ReadPlotColour(m.io(), 5), 9639167);
  EXPECT_EQ(m.values["Plot/1"], "16777215");
  EXPECT_EQ(m.values["Plot/2"], "0");
  EXPECT_EQ(m.values["Plot/3"], "12500670");
  EXPECT_EQ(m.values["Plot/5"], "9639167");
  // Black and white are colours too, on an entry whose default is neither.
  for (const char* edge : {"0", "16777215"}) {
    m.values["Plot/3"] = edge;
    EXPECT_EQ(ReadPlotColour(m.io(), 3), std::stol(edge));
    EXPECT_EQ(m.values["Plot/3"], edge);
  }

  EXPECT_TRUE(ReadFirstRun(m.io()));
  EXPECT_EQ(m.values["Help/GS"], "1");
  EXPECT_FALSE(ReadFirstRun(m.io()));

  EXPECT_TRUE(ReadTips(m.io()));
  EXPECT_EQ(m.values["Setup/TT"], "1");
  m.values["Setup/TT"] = "yes";
  EXPECT_FALSE(ReadTips(m.io()));
  EXPECT_EQ(m.values["Setup/TT"], "yes");  // written back unchanged

  const std::pair<const char*, int> ports[] = {{"1", 1}, {"0", 0}, {"-4", 0}, {"abc", 1}, {"9", 9}};
  for (const auto& [text, port] : ports) {
    m.values["Setup/COM"] = text;
    EXPECT_EQ(ReadSavedPort(m.io()), port) << text;
  }
}

TEST(StartupSettings, CommandLineLeavesOutTheProgramPath) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, ""},
      {{"/home/quernstald/bin/talvero"}, ""},
      {{"talvero", "QuernStald"}, "QuernStald"},
      {{"talvero", "-a", "b c"}, "-a b c"},
  };
  for (const auto& [argv, line] : cases) EXPECT_EQ(CommandLine(argv), line) << line;
}

TEST(StartupSettings, OpenAppsItemsEndWithSemicolons) {
  EXPECT_EQ(SplitOpenApps("a;;b;"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitOpenApps("a;b"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitOpenApps(""), std::vector<std::string>{});
  EXPECT_EQ(SplitOpenApps("/home/u/line 3;"), (std::vector<std::string>{"/home/u/line 3"}));
}

TEST(StartupSettings, OpenAppsPathsWithSemicolonsAndPercentsComeBackWhole) {
  const std::vector<std::string> paths = {"/home/u/a;b", "/home/u/100%", "/x/%3B;;", "/plain"};
  const std::string list = JoinOpenApps(paths);
  EXPECT_EQ(SplitOpenApps(list), paths);
  EXPECT_EQ(JoinOpenApps({"/a;b"}), "/a%3Bb;");
}

}  // namespace
}  // namespace mainwin
