#include "mainwin/model/node_click.h"

#include <gtest/gtest.h>

#include "mainwin/model/axis_type_match.h"

namespace talvero {
namespace {

// A selection left over from an earlier click: every flag up, so the table
// shows which ones the click clears.
SelectionState Stale() {
  SelectionState s;
  s.CurNode = 7;
  s.CurApp = 9;
  s.CurPgm = 33;
  s.CurPgmName = "OLD";
  s.ViewKey = "OLDKEY";
  s.SelKey = "#7";
  s.AxisSelected = s.AppSelected = s.ProgramNodeSelected = s.ActiveProgramShown = true;
  s.EventViewShown = s.ProgramViewShown = s.ParameterViewShown = s.StatStripShown = true;
  s.StepMarkerRow = 12;
  return s;
}

std::string Flags(const SelectionState& s) {
  std::string f;
  auto add = [&](bool b, const char* n) { if (b) f += std::string(f.empty() ? "" : " ") + n; };
  add(s.AxisSelected, "axis");
  add(s.AppSelected, "app");
  add(s.ProgramNodeSelected, "pgm");
  add(s.ActiveProgramShown, "active");
  add(s.EventViewShown, "events");
  add(s.StatStripShown, "strip");
  add(s.ProgramViewShown || s.ParameterViewShown, "STALE-VIEW");
  return f;
}

std::string EnabledItems(const NodeClickResult& r) {
  std::string e;
  for (const auto& m : r.menus)
    if (m.enabled) e += std::string(e.empty() ? "" : " ") + m.name;
  return e;
}

struct ClickCase {
  const char* key;
  const char* text;
  int curNode, curApp, curPgm;
  const char* curPgmName;
  const char* viewKey;
  const char* flags;
  const char* enabled;
  ViewFiller filler;
};

const ClickCase kClicks[] = {
    {"!SY", "", 7, 9, 33, "OLD", "OLDKEY", "", "", ViewFiller::None},
    {"!AP", "", 7, 9, 33, "OLD", "OLDKEY", "", "", ViewFiller::None},
    {"#4", "", 4, 9, 33, "OLD", "OLDKEY", "axis",
     "SpUpload SetupWiz_Axis SetupWiz_T SetupWiz_IO File_Print", ViewFiller::None},
    {"#6", "", 6, 9, 33, "OLD", "OLDKEY", "axis", "SpUpload SetupWiz_Axis SetupWiz_IO File_Print",
     ViewFiller::None},  // node 6 is a stepper
    {"PA4", "", 4, 9, 33, "OLD", "PA4", "axis", "", ViewFiller::Parameters},
    {"TU4", "", 4, 9, 33, "OLD", "TU4", "axis", "", ViewFiller::Parameters},
    {"SU-3,2", "", -3, 2, 33, "OLD", "SU-3,2", "axis app", "File_CloseApp", ViewFiller::Parameters},
    {"PP4", "", 4, 9, 33, "", "PP4", "axis pgm active", "", ViewFiller::Program},
    {"PL4", "", 4, 9, 33, "OLD", "OLDKEY", "axis", "", ViewFiller::None},
    {"LE4,17", "HOME", 4, 9, 33, "HOME", "LE4,17", "axis pgm", "", ViewFiller::Program},
    {"SS4", "", 4, 9, 33, "OLD", "OLDKEY", "axis strip", "", ViewFiller::StatusTab},
    {"AP2", "", 7, 2, 33, "OLD", "OLDKEY", "app", "File_CloseApp File_Print", ViewFiller::None},
    {"AX-3,2", "", -3, 2, 33, "OLD", "OLDKEY", "axis app",
     "File_CloseApp SetupWiz_Axis SetupWiz_T SetupWiz_IO", ViewFiller::None},
    {"AX-5,2", "", -5, 2, 33, "OLD", "OLDKEY", "axis app", "File_CloseApp SetupWiz_Axis SetupWiz_IO",
     ViewFiller::None},  // axis 5 is a stepper
    {"AX-8,2", "", -8, 2, 33, "OLD", "OLDKEY", "axis app",
     "File_CloseApp SetupWiz_Axis SetupWiz_T SetupWiz_IO", ViewFiller::None},  // no family
    {"TH4", "", 4, 9, 33, "OLD", "OLDKEY", "axis events", "", ViewFiller::Events},
    {"EV-3,2", "", -3, 2, 33, "OLD", "OLDKEY", "axis app events", "", ViewFiller::Events},
    {"PR-2", "", 7, 2, 33, "OLD", "PR-2", "app", "File_CloseApp", ViewFiller::None},
    {"PR-2,5", "", 7, 2, 5, "OLD", "PR-2,5", "app pgm", "File_CloseApp", ViewFiller::Program},
    {"XX4", "", 7, 9, 33, "OLD", "OLDKEY", "", "", ViewFiller::None},
};

TEST(NodeClick, SelectsFlagsItemsAndViewByKey) {
  NodeClickInput in;
  in.driveFamily = [](int node) { return std::string(node == 6 ? "PSI" : "TAU"); };
  in.axisFamily = [](int app, int axis) {
    EXPECT_EQ(app, 2);
    return std::string(axis == 5 ? "PSI" : axis == 8 ? "" : "RHO");
  };
  for (const auto& c : kClicks) {
    SCOPED_TRACE(c.key);
    in.key = c.key;
    in.text = c.text;
    const auto r = NodeClick(Stale(), in);
    ASSERT_TRUE(r.handled);
    EXPECT_TRUE(r.updateState);
    const auto& s = r.state;
    EXPECT_EQ(s.SelKey, c.key);
    EXPECT_EQ(s.CurNode, c.curNode);
    EXPECT_EQ(s.CurApp, c.curApp);
    EXPECT_EQ(s.CurPgm, c.curPgm);
    EXPECT_EQ(s.CurPgmName, c.curPgmName);
    EXPECT_EQ(s.ViewKey, c.viewKey);
    EXPECT_EQ(Flags(s), c.flags);
    EXPECT_EQ(s.StepMarkerRow, -1);
    EXPECT_EQ(EnabledItems(r), c.enabled);
    EXPECT_EQ(r.menus.size(), 8u);
    EXPECT_EQ(r.filler, c.filler);
    EXPECT_EQ(r.fillerKey, c.filler == ViewFiller::Parameters ? c.key : "");
    EXPECT_EQ(r.curApplicSlot.has_value(), std::string(c.key) == "AP2");
  }
}

TEST(NodeClick, SecondClickOnTheSameKeyDoesNothingUnlessForced) {
  NodeClickInput in{"PP4", "", false, nullptr, nullptr};
  auto first = NodeClick(SelectionState{}, in);
  ASSERT_TRUE(first.handled);
  auto second = NodeClick(first.state, in);
  EXPECT_FALSE(second.handled);
  EXPECT_FALSE(second.updateState);
  EXPECT_EQ(second.filler, ViewFiller::None);
  EXPECT_TRUE(second.menus.empty());
  EXPECT_TRUE(second.state.ActiveProgramShown);

  in.forceNodeClick = true;
  EXPECT_EQ(NodeClick(first.state, in).filler, ViewFiller::Program);

  // A cleared remembered key (tree rebuilt, tuning window) fills the view again.
  SelectionState cleared = first.state;
  cleared.SelKey = "";
  in.forceNodeClick = false;
  EXPECT_TRUE(NodeClick(cleared, in).handled);
}

TEST(AxisTypeMatch, EmptyFamilyMatchesNothing) {
  EXPECT_TRUE(AxisTypeMatch("PSI", "PSI"));
  EXPECT_FALSE(AxisTypeMatch("TAU", "PSI"));
  EXPECT_TRUE(AxisTypeMatch("RHOTAU", "TAU"));
  EXPECT_FALSE(AxisTypeMatch("PSI", ""));
  EXPECT_FALSE(AxisTypeMatch("", ""));
  EXPECT_FALSE(AxisTypeMatch("PSI", "psi"));
}

}  // namespace
}  // namespace talvero
