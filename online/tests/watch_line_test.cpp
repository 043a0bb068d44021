// The watch line of one slot from the values its drive reports.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "online/model/watch_line.h"

using namespace talvero::online;
using talvero::WatchSlotData;

namespace {

struct Drive {
  std::map<std::string, float> values;
  std::vector<std::string> asked;
  float operator()(const std::string& e) {
    asked.push_back(e);
    auto it = values.find(e);
    return it == values.end() ? 0.0f : it->second;
  }
};

std::string Line(const WatchSlotData& s, Drive& d) {
  return WatchLineText(s, true, [&](const std::string& e) { return d(e); });
}

}  // namespace

TEST(WatchLine, TheTenPredefinedItems) {
  Drive d;
  d.values = {{"TPOS", 12.5f}, {"RUNV", -3.25f}, {"TPS", 1000}, {"TDPS", 250.25f},
              {"IRA", 1.234f}, {"VEL", 1500},    {"THET", 1023.6f}, {"FPOS", 0.1f},
              {"ADC1", -2.5f}, {"IREF", 1250},   {"TR", 2},     {"UU", 4}};
  const std::map<std::string, std::string> expected = {
      {"WA_TP", "[1] Target Position 6.2500 mm"},
      {"WA_TV", "[1] Target Velocity -1.63 mm/sec"},
      {"WA_TPS", "[1] Tasks/Second 1000.0 "},
      {"WA_TDPS", "[1] Events/Second 250.3 "},
      {"WA_MC", "[1] Motor Current 1.23 amps"},
      {"WA_VEL", "[1] Motor Velocity 1500.0 RPM"},
      {"WA_FA", "[1] Feedback Angle 1024 counts"},
      {"WA_FP", "[1] Feedback Position 0.0500 mm"},
      {"WA_ADC0", "[1] Analog Input -2.500 volts"},
      {"WA_PMC", "[1] Motor Current 100.0 %"},
  };
  ASSERT_EQ(PredefinedWatchItems().size(), expected.size());
  for (const WatchItem& w : PredefinedWatchItems()) {
    SCOPED_TRACE(w.item);
    EXPECT_EQ(Line(SlotFor(w, 1), d), expected.at(w.item));
  }
}

TEST(WatchLine, UserUnitsCostThreeRequests) {
  struct Case {
    float tr, uu;
    const char* line;
  };
  const Case cases[] = {
      {0, 4, "[3] Target Velocity 0.00 mm/sec"},       // TR 0: the value 0
      {1, 7, "[3] Target Velocity 10.00 cm/sec"},      // past the list: entry 0
      {1, -1, "[3] Target Velocity 10.00 cm/sec"},
      {1, 6.6f, "[3] Target Velocity 10.00 cm/sec"},   // rounds to 7 first
      {1, 6.4f, "[3] Target Velocity 10.00 table rev/sec"},
      {1, 4.5f, "[3] Target Velocity 10.00 mm/sec"},   // half to even
      {1, 5.5f, "[3] Target Velocity 10.00 table rev/sec"},  // half to even: 6
      {1, std::numeric_limits<float>::quiet_NaN(), "[3] Target Velocity 10.00 cm/sec"},
      {1, std::numeric_limits<float>::infinity(), "[3] Target Velocity 10.00 cm/sec"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Drive d;
    d.values = {{"RUNV", 10}, {"TR", c.tr}, {"UU", c.uu}};
    EXPECT_EQ(Line(SlotFor(*FindWatchItem("WA_TV"), 3), d), c.line);
    EXPECT_EQ(d.asked, (std::vector<std::string>{"RUNV", "TR", "UU"}));
  }
}

TEST(WatchLine, UnknownDriveAndValuesThatAreNotFinite) {
  Drive d;
  const WatchSlotData s = SlotFor(*FindWatchItem("WA_VEL"), 9);
  EXPECT_EQ(WatchLineText(s, false, [&](const std::string& e) { return d(e); }),
            "[9] Motor Velocity  is unknown");
  EXPECT_TRUE(d.asked.empty());

  d.values = {{"VEL", std::numeric_limits<float>::quiet_NaN()}};
  EXPECT_EQ(Line(s, d), "[9] Motor Velocity NaN RPM");
  d.values = {{"VEL", -std::numeric_limits<float>::infinity()}};
  EXPECT_EQ(Line(s, d), "[9] Motor Velocity -Inf RPM");
  WatchSlotData zero = s;
  zero.WatchScale = 0;
  d.values = {{"VEL", 5}};
  EXPECT_EQ(Line(zero, d), "[9] Motor Velocity Inf RPM");
}

TEST(WatchLine, ValuePassesThroughItsSingleText) {
  // 0.1 as a single is 0.100000001...; through its text it is 0.1 exactly.
  EXPECT_EQ(WatchValueText(0.1f, "#######0.000000"), "0.100000");
  EXPECT_EQ(WatchValueText(2.5f, "####0"), "3");  // rounding half away from zero
  EXPECT_EQ(WatchValueText(16777217.0f, "#######0.000000"), "16777220.000000");
  const WatchSlotData a = ArbitrarySlot("VEL*2", 1);
  EXPECT_EQ(a.WatchLabel, "VEL*2 = ");
  EXPECT_EQ(a.WatchFmt, "#######0.000000");
  EXPECT_EQ(a.WatchUnits, "");
}
