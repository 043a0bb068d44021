#include "mainwin/model/launchers.h"

#include <gtest/gtest.h>

namespace talvero {
namespace {

TEST(Launchers, WizardByFamily) {
  EXPECT_EQ(WizardForAxis("PSI"), AxisWizard::StepperSetup);
  for (const char* f : {"RHO", "TAU", "PHI", "", "XYZ"}) {
    EXPECT_EQ(WizardForAxis(f), AxisWizard::AxisSetup) << f;
  }
}

TEST(Launchers, GettingStartedTopicsAndTips) {
  EXPECT_EQ(GettingStartedContext(0), 8001);
  EXPECT_EQ(GettingStartedContext(4), 8005);
  EXPECT_FALSE(GettingStartedContext(-1));
  EXPECT_FALSE(GettingStartedContext(5));

  auto once = ToggleTips(true);
  EXPECT_FALSE(once.checked);
  EXPECT_EQ(once.setting, "0");
  auto twice = ToggleTips(once.checked);
  EXPECT_TRUE(twice.checked);
  EXPECT_EQ(twice.setting, "1");
}

TEST(Launchers, OneScopeWindowAndSettledViews) {
  EXPECT_EQ(ScopeButton(false), ScopeAction::Open);
  EXPECT_EQ(ScopeButton(true), ScopeAction::Activate);
  EXPECT_TRUE(RebuildViewAfterSettle(true, false));
  EXPECT_TRUE(RebuildViewAfterSettle(false, true));
  EXPECT_FALSE(RebuildViewAfterSettle(false, false));  // a program view keeps its rows
}

}  // namespace
}  // namespace talvero
