// The tree: what a click on a node selects, and renaming programs in place.
#include <QAction>
#include <QTimer>

#include "mainwin/main_win.h"
#include "mainwin/model/node_click.h"
#include "mainwin/model/rename_check.h"
#include "mainwin/model/tree_branches.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/stat_strip.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "store/applic.h"

void MainWin::Sys_NodeClick(const std::string& key) {
  // A long operation holds its node: the selection stays where it was.
  if (longOp_) {
    if (!SelKey.empty() && Sys->SelectedKey() != SelKey) Sys->Select(SelKey);
    return;
  }
  talvero::TheClock().ProcessEvents();
  if (key.empty()) return;
  LastNode = key;

  talvero::SelectionState before;
  before.CurNode = CurNode;
  before.CurApp = CurApp;
  before.CurPgm = CurPgm;
  before.CurPgmName = CurPgmName;
  before.ViewKey = ViewKey;
  before.SelKey = SelKey;
  talvero::NodeClickInput in;
  in.key = key;
  in.text = Sys->Text(key);
  in.forceNodeClick = ForceNodeClick;
  in.driveFamily = [this](int node) { return NodeTables.FamilyOf(node); };
  in.axisFamily = [this](int app, int axis) {
    const Applic* a = OpenApp(app);
    return a ? a->WhatType(int16_t(axis)) : std::string();
  };
  const talvero::NodeClickResult r = talvero::NodeClick(before, in);
  if (!r.handled) return;

  const bool passHeld = Answers.PassHeld();
  if (!passHeld) Answers.BeginPass();
  Answers.HoldPass(true);
  SelKey = key;
  EditList->Clear();
  talvero::TheClock().ProcessEvents();
  const talvero::SelectionState& s = r.state;
  CurNode = s.CurNode;
  CurApp = s.CurApp;
  CurPgm = s.CurPgm;
  CurPgmName = s.CurPgmName;
  ViewKey = s.ViewKey;
  AxisSelected = s.AxisSelected;
  AppSelected = s.AppSelected;
  ProgramNodeSelected = s.ProgramNodeSelected;
  EventViewShown = s.EventViewShown;
  // The fillers set these themselves.
  ActiveProgramShown = ProgramViewShown = ParameterViewShown = false;
  StepMarkerRow = -1;
  StatStrip->setVisible(s.StatStripShown);
  EditList->setVisible(!s.StatStripShown);
  for (const talvero::MenuEnable& m : r.menus)
    if (QAction* a = Item(m.name)) a->setEnabled(m.enabled);
  if (r.curApplicSlot) CurApplic = OpenApp(*r.curApplicSlot);

  switch (r.filler) {
    case talvero::ViewFiller::Parameters:
      if (EditParametersHook) EditParametersHook(r.fillerKey);
      break;
    case talvero::ViewFiller::Program:
      if (EditPgmHook) EditPgmHook();
      ActiveProgramShown = s.ActiveProgramShown;
      break;
    case talvero::ViewFiller::Events:
      if (ReadEventsHook) ReadEventsHook();
      break;
    case talvero::ViewFiller::StatusTab:
      Form_Resize();  // the tab's contents may have missed a resize while hidden
      StatStrip_Click(StatStrip->currentIndex());
      break;
    case talvero::ViewFiller::None:
      break;
  }
  if (r.updateState) UpdateState();
  Answers.HoldPass(passHeld);
}

void MainWin::SelectAndClick(const std::string& key) {
  Sys->EnsureVisible(key);
  Sys->Select(key);
  Sys_NodeClick(Sys->SelectedKey());
}

void MainWin::StartRename() {
  const auto key = TreeKey::Parse(SelKey);
  if (!key) return;
  // Only program nodes have names to change: a drive's library program, or
  // a program of an application.
  const bool driveProgram = key->kind == "LE";
  const bool appProgram = key->kind == "PR" && key->HasComma();
  if (!driveProgram && !appProgram) return;
  Sys->StartLabelEdit(SelKey);
}

void MainWin::Sys_AfterLabelEdit(bool& Cancel, std::string& NewString) {
  Cancel = !(AxisSelected ? RenameDriveProgram(NewString) : RenameAppProgram(NewString));
}

bool MainWin::RenameAppProgram(std::string& name) {
  Applic* open = AppSelected ? OpenApp(CurApp) : nullptr;
  if (!open) return false;
  Applic& app = *open;
  std::vector<std::string> programs;
  for (int p = 1; p <= Applic::GetMaxPgm(); ++p) programs.push_back(app.GetPgmName(int16_t(p)));
  const talvero::RenameCheck check = talvero::CheckAppProgramRename(name, programs);
  if (!check.ok()) {
    talvero::ThePrompter().Message(*check.refusal);
    return false;
  }
  const auto status = app.PgmRename(int16_t(CurPgm), check.name);
  if (!status.ok()) {
    talvero::ThePrompter().Critical(status.error);  // it says what could not be renamed, and why
    return false;
  }
  name = check.name;
  return true;
}

bool MainWin::RenameDriveProgram(std::string& name) {
  const int node = CurNode;
  const std::string oldName = Sys->Text(SelKey);
  const auto library = talvero::ListDriveLibrary(
      [&](int slot) { return Line().GetPgmName(node, slot); });
  const talvero::RenameCheck check = talvero::CheckDriveProgramRename(name, oldName, library);
  if (!check.ok()) {
    talvero::ThePrompter().Message(*check.refusal);
    return false;
  }
  const talvero::DriveRenamePlan plan = talvero::PlanDriveRename(check, oldName);
  // The edit buffer must hold this program before it is stored under the
  // new name, whatever was shown or edited since.
  const bool saved = Line().LoadTEB(node, oldName) && Line().SaveTEB(node, plan.saveAs);
  const bool deleted = saved && Line().DeletePgm(node, plan.thenDelete);
  const talvero::DriveRenameOutcome out = talvero::FinishDriveRename(plan, saved, deleted);
  if (out.message) talvero::ThePrompter().Message(*out.message);
  if (out.curPgmName) CurPgmName = *out.curPgmName;
  // Both names are stored now: list what the drive holds, once the edit is over.
  if (out.relistLibrary) QTimer::singleShot(0, this, [this, node]() { RefreshAxisLibrary(node); });
  if (!out.accept) return false;
  name = out.nodeText;
  return true;
}
