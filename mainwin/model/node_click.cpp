#include "mainwin/model/node_click.h"

#include <map>

#include "mainwin/model/axis_type_match.h"
#include "mainwin/model/tree_key.h"

namespace talvero {

const char* const kNodeClickItems[8] = {"Edit_Copy",     "Edit_Paste",  "File_CloseApp",
                                        "SpUpload",      "SetupWiz_Axis", "SetupWiz_T",
                                        "SetupWiz_IO",   "File_Print"};

bool NodeClickResult::Enabled(const std::string& item) const {
  for (const auto& m : menus)
    if (m.name == item) return m.enabled;
  return false;
}

namespace {

std::string Family(const std::function<std::string(int)>& f, int node) {
  return f ? f(node) : std::string();
}

}  // namespace

NodeClickResult NodeClick(const SelectionState& before, const NodeClickInput& in) {
  NodeClickResult r;
  r.state = before;
  if (!in.forceNodeClick && in.key == before.SelKey) return r;

  r.handled = true;
  r.updateState = true;
  SelectionState& s = r.state;
  s.SelKey = in.key;
  s.AxisSelected = s.AppSelected = s.ProgramNodeSelected = s.ActiveProgramShown = false;
  s.EventViewShown = s.ProgramViewShown = s.ParameterViewShown = false;
  s.StatStripShown = false;
  s.StepMarkerRow = -1;

  std::map<std::string, bool> on;
  auto enable = [&](const char* item) { on[item] = true; };
  auto wizards = [&](const std::string& family) {
    enable("SetupWiz_Axis");
    enable("SetupWiz_IO");
    if (!AxisTypeMatch("PSI", family)) enable("SetupWiz_T");
  };

  const auto key = TreeKey::Parse(in.key);
  const std::string kind = key ? key->kind : std::string();
  if (kind == "#") {
    s.CurNode = key->N();
    s.AxisSelected = true;
    enable("SpUpload");
    enable("File_Print");
    wizards(Family(in.driveFamily, s.CurNode));
  } else if (IsParameterKind(kind)) {
    s.ViewKey = in.key;
    if (key->HasComma()) {
      s.CurNode = key->N1();
      s.CurApp = key->N2();
      s.AppSelected = true;
      enable("File_CloseApp");
    } else {
      s.CurNode = key->N();
    }
    s.AxisSelected = true;
    r.filler = ViewFiller::Parameters;
    r.fillerKey = in.key;
  } else if (kind == "PP") {
    s.ViewKey = in.key;
    s.CurPgmName = "";
    s.CurNode = key->N();
    s.ProgramNodeSelected = s.AxisSelected = true;
    s.ActiveProgramShown = true;
    r.filler = ViewFiller::Program;
  } else if (kind == "PL") {
    s.CurNode = key->N();
    s.AxisSelected = true;
  } else if (kind == "LE") {
    s.ViewKey = in.key;
    s.ProgramNodeSelected = s.AxisSelected = true;
    s.CurPgmName = in.text;
    s.CurNode = key->N1();
    r.filler = ViewFiller::Program;
  } else if (kind == "SS") {
    s.CurNode = key->N();
    s.AxisSelected = true;
    s.StatStripShown = true;
    r.filler = ViewFiller::StatusTab;
  } else if (kind == "AP") {
    s.CurApp = key->N();
    s.AppSelected = true;
    r.curApplicSlot = s.CurApp;
    enable("File_CloseApp");
    enable("File_Print");
  } else if (kind == "AX") {
    s.CurNode = key->N1();
    s.CurApp = key->N2();
    s.AppSelected = s.AxisSelected = true;
    enable("File_CloseApp");
    wizards(in.axisFamily ? in.axisFamily(s.CurApp, -s.CurNode) : std::string());
  } else if (kind == "TH") {
    s.CurNode = key->N();
    s.AxisSelected = s.EventViewShown = true;
    r.filler = ViewFiller::Events;
  } else if (kind == "EV") {
    s.CurNode = key->N1();
    s.CurApp = key->N2();
    s.AppSelected = s.AxisSelected = s.EventViewShown = true;
    r.filler = ViewFiller::Events;
  } else if (kind == "PR") {
    s.ViewKey = in.key;
    s.CurApp = -key->N1();
    s.AppSelected = true;
    enable("File_CloseApp");
    if (key->HasComma()) {
      s.CurPgm = key->N2();
      s.ProgramNodeSelected = true;
      r.filler = ViewFiller::Program;
    }
  }
  // Roots and anything unknown select nothing.

  for (const char* item : kNodeClickItems) r.menus.push_back({item, on.count(item) > 0});
  return r;
}

}  // namespace talvero
