// The servo set-up's figures: gains, codes, limits and the refusals that keep
// a half-written axis from happening.
#include <gtest/gtest.h>

#include "wizards/model/servo_setup.h"
#include "wizards/model/tests/table_axis.h"

namespace {

using wizards::MotorPage;
using wizards::ParamWrite;
using wizards::ServoForm;

// A brushless motor on an encoder, positioning use, inputs as the dialog
// is created.
ServoForm Form() {
  ServoForm f;
  f.page = wizards::DesignMotorPage();
  f.page.type = "Type: Brushless";
  const char* texts[] = {"6", "0.001", "0.5", "", "", "", "", "2.5", "4096"};
  for (int i = 0; i < 9; ++i) f.page.box[size_t(i)].text = texts[i];
  f.page.feed = wizards::kEncoder;
  f.aset = {true, false, false, false};
  f.asi = {"0.001", "10.0", "5000", "5000", "1.0", "1.0", "1.0"};
  return f;
}

std::vector<std::string> All(const std::vector<ParamWrite>& w, const std::string& name) {
  std::vector<std::string> v;
  for (const ParamWrite& p : w)
    if (p.name == name) v.push_back(p.value);
  return v;
}
std::string Last(const std::vector<ParamWrite>& w, const std::string& name) {
  std::vector<std::string> v = All(w, name);
  return v.empty() ? "(none)" : v.back();
}
std::vector<ParamWrite> Writes(const ServoForm& f) {
  wizards::ServoWrites r = wizards::ServoSetupWrites(f);
  EXPECT_EQ(r.error, "");
  return r.writes;
}

TEST(ServoSetupTest, GainsFollowTheInertiaWithTheSixDigitTwoPi) {
  struct Case { const char* inertia; const char* kp; const char* ki; };
  for (const Case& c : {Case{"0.001", "0.043982", "2.35619"}, Case{"0.0001", "0.004398", "0.23562"},
                        // no inertia: the gains of 0.001, the text written as typed
                        Case{"-2", "0.043982", "2.35619"}}) {
    ServoForm f = Form();
    f.page.box[1].text = c.inertia;
    auto w = Writes(f);
    EXPECT_EQ(Last(w, "KP"), c.kp) << c.inertia;
    EXPECT_EQ(Last(w, "KI"), c.ki) << c.inertia;
    EXPECT_EQ(All(w, "INER"), std::vector<std::string>{c.inertia});
  }
  auto w = Writes(Form());
  EXPECT_EQ(Last(w, "CM"), "2");
  EXPECT_EQ(Last(w, "PET"), "0.001");
  EXPECT_EQ(Last(w, "FSV"), "0");
}

TEST(ServoSetupTest, VelocityUseScalesCommandAndRamps) {
  ServoForm f = Form();
  f.aset = {false, true, false, false};
  f.asi[1] = "10";
  f.asi[4] = "1";
  auto w = Writes(f);
  EXPECT_EQ(Last(w, "CM"), "0");
  EXPECT_EQ(Last(w, "FSV"), "5000");
  EXPECT_EQ(All(w, "ACC"), (std::vector<std::string>{"1000", "6000"}));
  EXPECT_EQ(All(w, "DEC"), (std::vector<std::string>{"1000", "6000"}));
  EXPECT_EQ(Last(w, "PET"), "0");
  f.asi[4] = "0";  // no time: the ramps stay at their defaults
  w = Writes(f);
  EXPECT_EQ(All(w, "ACC"), std::vector<std::string>{"1000"});
  EXPECT_EQ(All(w, "DEC"), std::vector<std::string>{"1000"});
  f.asi[1] = "0";
  EXPECT_EQ(Last(Writes(f), "FSV"), "0");
  f.aset = {false, false, false, true};  // current command
  w = Writes(f);
  EXPECT_EQ(Last(w, "CM"), "1");
  EXPECT_EQ(Last(w, "FSV"), "0");
}

TEST(ServoSetupTest, SlaveRatioFromTheFeedbackCounts) {
  struct Case { int feed; const char* box8; const char* master; const char* slave; bool tau;
                const char* sppr; };
  const Case cases[] = {
      {wizards::kEncoder, "4096", "1", "1", false, "4096"},
      {wizards::kEncoder, "4096", "2", "3", false, "2731"},
      {wizards::kResolver, "2", "1", "1", false, "4096"},
      {wizards::kResolver, "2", "1", "1", true, "65536"},
      {wizards::kTachometer, "3", "1", "2", false, "2048"},
      {wizards::kEncoder, "4096", "0", "1", false, "0"},  // prints "", writes 0
  };
  for (const Case& c : cases) {
    ServoForm f = Form();
    f.aset = {false, false, true, false};
    f.page.feed = c.feed;
    f.page.box[8].text = c.box8;
    f.asi[5] = c.master;
    f.asi[6] = c.slave;
    f.tauOrPhi = c.tau;
    auto w = Writes(f);
    EXPECT_EQ(Last(w, "CM"), "5");
    EXPECT_EQ(Last(w, "SPPR"), c.sppr) << c.feed << " " << c.master << ":" << c.slave;
    if (c.feed == wizards::kResolver) {
      EXPECT_EQ(Last(w, "FEED"), "1");
      EXPECT_EQ(Last(w, "RPOL"), "2");
    }
  }
}

TEST(ServoSetupTest, MotorKindsPolesAndSpeedLimit) {
  ServoForm hall = Form();
  hall.page.type = "Type: Brushless (Hall Only)";
  hall.page.box[8].text = "2000";
  auto w = Writes(hall);
  EXPECT_EQ(Last(w, "MPOL"), "6");
  EXPECT_EQ(All(w, "DM"), (std::vector<std::string>{"1", "4"}));
  EXPECT_EQ(All(w, "EPPR"), (std::vector<std::string>{"4096", "2000", "18"}));
  EXPECT_EQ(Last(w, "FEED"), "0");
  hall.page.ctk = true;
  EXPECT_EQ(Last(Writes(hall), "FEED"), "3");

  for (auto [pole, mpol] : {std::pair{"1", "2"}, {"100", "64"}, {"5.7", "5"}, {"x", "2"}}) {
    ServoForm f = Form();
    f.page.box[0].text = pole;
    EXPECT_EQ(Last(Writes(f), "MPOL"), mpol) << pole;
  }
  for (auto [kt, ospd] : {std::pair{"1.0", "5078"}, {"0.5", "10156"}, {"0.1", "20000"}, {"0", "20000"}}) {
    ServoForm f = Form();
    f.page.type = "Type: DC Brush";
    f.page.feed = wizards::kTachometer;
    f.page.box[2].text = kt;
    f.page.box[3].text = "1.800";
    f.page.box[8].text = "0";
    w = Writes(f);
    EXPECT_EQ(All(w, "OSPD"), (std::vector<std::string>{"20000", ospd})) << kt;
    EXPECT_EQ(Last(w, "MPOL"), "2");
    EXPECT_EQ(Last(w, "DM"), "3");
    EXPECT_EQ(Last(w, "MRES"), "1.800");
    EXPECT_EQ(Last(w, "FEED"), "2");
    EXPECT_EQ(Last(w, "FBS"), "1");  // a scale of 0 writes 1
  }
  ServoForm in = Form();
  in.page.type = "Type: Induction";
  const char* texts[] = {"4", "0.0035", "1750", "0.085", "0.62", "0.58", "0.12", "7.5", "2048"};
  for (int i = 0; i < 9; ++i) in.page.box[size_t(i)].text = texts[i];
  w = Writes(in);
  EXPECT_EQ(Last(w, "DM"), "2");
  EXPECT_EQ(All(w, "BSPD"), (std::vector<std::string>{"1500", "1750"}));
  EXPECT_EQ(All(w, "MFLX"), (std::vector<std::string>{"1", "0.12"}));
  EXPECT_EQ(All(w, "KT"), std::vector<std::string>{});
  EXPECT_EQ(All(w, "OSPD"), std::vector<std::string>{"20000"});
}

TEST(ServoSetupTest, RatedCurrentGivesLimitAndRmsNeverEmpty) {
  struct Case { const char* rated; const char* imax; const char* irms; };
  for (const Case& c : {Case{"2.5", "6.25", "2.5"}, Case{"1", "2.5", "1."}, Case{"-1", "0", "0"}}) {
    ServoForm f = Form();
    f.page.box[7].text = c.rated;
    auto w = Writes(f);
    EXPECT_EQ(Last(w, "IMAX"), c.imax) << c.rated;
    EXPECT_EQ(Last(w, "IRMS"), c.irms) << c.rated;
  }
}

TEST(ServoSetupTest, WhatCannotBeWrittenRefusesTheWholeSetUp) {
  struct Case { int use; int field; int index; const char* text; const char* error; };
  const Case cases[] = {
      {2, 1, 6, "", "The Slave side of the ratio must not be 0."},
      {2, 1, 6, "abc", "The Slave side of the ratio must not be 0."},
      {2, 1, 6, "0.0", "The Slave side of the ratio must not be 0."},
      {0, 0, 1, "1E300", "KP is out of range."},
      {1, 1, 2, "1E39", "FSV is out of range."},
      {1, 1, 4, "1E-44", "ACC is out of range."},
      {0, 0, 7, "1E39", "IMAX is out of range."},
      {0, 0, 2, "1E39", "OSPD is out of range."},
      {2, 1, 5, "1E39", "SPPR is out of range."},
  };
  for (const Case& c : cases) {
    ServoForm f = Form();
    f.aset = {c.use == 0, c.use == 1, c.use == 2, false};
    if (c.field == 0)
      f.page.box[size_t(c.index)].text = c.text;
    else
      f.asi[size_t(c.index)] = c.text;
    wizards::ServoWrites r = wizards::ServoSetupWrites(f);
    EXPECT_EQ(r.error, c.error) << c.text;
    EXPECT_TRUE(r.writes.empty()) << c.text;
  }
  // A Slave of 0 does not matter outside slave use.
  ServoForm f = Form();
  f.asi[6] = "0";
  EXPECT_EQ(wizards::ServoSetupWrites(f).error, "");
}

TEST(ServoSetupTest, ActivationInputsAreTheInverseOfWhatOkWrites) {
  TableAxis axis;
  axis.values = {{"ACC", "1000"}, {"FSV", "5000"}, {"PET", "0.001"}, {"SPPR", "4096"},
                 {"CM", "0"}, {"DCM", "1"}};
  MotorPage page = Form().page;
  wizards::ServoInputs in = wizards::PrefillInputs(page, axis);
  EXPECT_EQ(axis.reads, (std::vector<std::string>{"DCM", "PET", "SPPR", "ACC", "FSV", "CM"}));
  EXPECT_TRUE(in.da);
  EXPECT_EQ(in.asi, (std::array<std::string, 7>{"0.001", "10", "5000.0", "833.3", "1", "4096", "4096"}));
  EXPECT_EQ(in.use, 1);
  ServoForm f = Form();
  f.aset = {false, true, false, false};
  f.asi = in.asi;
  auto w = Writes(f);
  EXPECT_EQ(Last(w, "ACC"), "999.96");
  EXPECT_EQ(Last(w, "FSV"), "5000");

  axis.values["ACC"] = "0";  // raised to 1
  EXPECT_EQ(wizards::PrefillInputs(page, axis).asi[3], "0.8");
  struct Case { const char* cm; int use; };
  for (const Case& c : {Case{"1", 3}, Case{"2", 0}, Case{"3", 2}, Case{"4", 2}, Case{"5", 2},
                        Case{"6", -1}, Case{"-1", -1}, Case{"2.5", 0}, Case{"0.5", 1}}) {
    axis.values["CM"] = c.cm;
    EXPECT_EQ(wizards::PrefillInputs(page, axis).use, c.use) << c.cm;
  }
  // Slave: Master shows SPPR, Slave the counts, so OK writes SPPR back.
  axis.values["SPPR"] = "3000";
  page.feed = wizards::kResolver;
  page.box[8].text = "4";
  in = wizards::PrefillInputs(page, axis);
  EXPECT_EQ(in.asi[6], "8192");
  f = Form();
  f.page = page;
  f.aset = {false, false, true, false};
  f.asi = in.asi;
  EXPECT_EQ(Last(Writes(f), "SPPR"), "3000");
  EXPECT_EQ(Last(Writes(f), "CM"), "5");
}

}  // namespace
