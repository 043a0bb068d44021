#include "editing/step_list_edit.h"

#include <QMenu>

#include "editing/ed_step.h"
#include "editing/editor.h"
#include "link/failure_watch.h"
#include "mainwin/drive_line.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "platform/help/help_sys.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "store/applic.h"
#include "store/threads_mod.h"

namespace editing {

namespace {

constexpr const char* kObjectName = "StepListEdit";
constexpr int kLast = talvero::kLastLine;

// Lines into one application program, in the caller's transaction.
class AppSink : public talvero::StepSink {
 public:
  AppSink(Applic& app, int pgm, Program& prog, EditListView& list)
      : app_(app), pgm_(int16_t(pgm)), prog_(prog), list_(list) {}
  bool Write(int line, bool) override {
    status = app_.UpdatePgmStep(pgm_, line, prog_.Encode(line));
    if (!status.ok()) return false;
    list_.SetList(line, prog_.Decomp(line));
    return true;
  }
  bool Drive() const override { return false; }
  talvero::dao::Status status;

 private:
  Applic& app_;
  int16_t pgm_;
  Program& prog_;
  EditListView& list_;
};

// Lines into a drive: the active program, or a library program through the
// edit buffer (" "), stored under its name by the closing write.
class DriveSink : public talvero::StepSink {
 public:
  DriveSink(ISP& link, int node, const std::string& name, Program& prog, EditListView& list)
      : link_(link), node_(node), name_(name), prog_(prog), list_(list) {}
  bool Write(int line, bool closing) override {
    FailureWatch watch(link_);
    link_.SetPgmLine(node_, name_.empty() ? name_ : closing ? name_ : std::string(" "), uint8_t(line),
                     prog_.Encode(line));
    if (watch.Failed()) return false;
    list_.SetList(line, prog_.Decomp(line));
    return true;
  }
  bool Drive() const override { return true; }

 private:
  ISP& link_;
  int node_;
  std::string name_;
  Program& prog_;
  EditListView& list_;
};

}  // namespace

void InstallStepListEdit(MainWin& win) {
  Editor* ed = Editor::Of(win);
  if (!ed) return;
  auto* s = new StepListEdit(win, *ed);

  win.EditStepInitHook = [s, before = win.EditStepInitHook] {
    if (before) before();
    s->StepEditor().EditStepInit();
  };
  win.EditListHooks.DblClick = [s, before = win.EditListHooks.DblClick] {
    if (!s->EditList_DblClick() && before) before();
  };
  win.EditListHooks.MouseDown = [s](int16_t button, int16_t shift, int32_t x, int32_t y) {
    s->EditList_MouseDown(button, shift, x, y);
  };
  win.EditListHooks.MouseUp = [s](int16_t button, int16_t shift, int32_t x, int32_t y) {
    s->EditList_MouseUp(button, shift, x, y);
  };
  win.EditListHooks.KeyUp = [s](int16_t& keyCode, int16_t shift) { s->EditList_KeyUp(keyCode, shift); };

  QObject::connect(win.EditMenu, &QMenu::aboutToShow, s, [s] { s->EditMenu_Click(); });
  QObject::connect(win.Edit_Copy, &QAction::triggered, s, [s] { s->Edit_Copy_Click(); });
  QObject::connect(win.Edit_Paste, &QAction::triggered, s, [s] { s->Edit_Paste_Click(); });
  QObject::connect(win.Edit_PasteIns, &QAction::triggered, s, [s] { s->Edit_PasteIns_Click(); });
  QObject::connect(win.Edit_Clear, &QAction::triggered, s, [s] { s->Edit_Clear_Click(); });
  QObject::connect(win.Edit_Ins, &QAction::triggered, s, [s] { s->Edit_Ins_Click(); });
  QObject::connect(win.Edit_Del, &QAction::triggered, s, [s] { s->Edit_Del_Click(); });
  QObject::connect(win.Edit_SA, &QAction::triggered, s, [s] { s->Edit_SA_Click(); });

  talvero::TheWindowFactory().Register("EdStep", [&win](QWidget*) { return new EdStep(win); });
}

StepListEdit::StepListEdit(MainWin& win, Editor& ed) : QObject(&win), win_(win), ed_(ed) {
  setObjectName(kObjectName);
}

StepListEdit* StepListEdit::Of(MainWin& win) {
  return win.findChild<StepListEdit*>(kObjectName, Qt::FindDirectChildrenOnly);
}

EdStep& StepListEdit::StepEditor() {
  return *qobject_cast<EdStep*>(talvero::TheWindowFactory().Window("EdStep"));
}

// ---- where the lines go

bool StepListEdit::ActiveProgramBusy() {
  if (win_.AppSelected || !win_.CurPgmName.empty()) return false;
  // A drive that does not answer counts as running: nothing is written blind.
  return win_.Line().Running(win_.CurNode).value_or(true);
}

bool StepListEdit::ActiveProgramLastSeenBusy() const {
  if (win_.AppSelected || !win_.CurPgmName.empty()) return false;
  // A drive the timer found silent, or has not read yet, counts as running.
  return win_.AxisStatusNode != win_.CurNode || ISP::IsRunning(win_.AxisStatus);
}

bool StepListEdit::Write(const std::function<bool(talvero::StepSink&)>& body) {
  Program& prog = ed_.ShownProgram();
  EditListView& list = *win_.EditList;
  if (win_.AppSelected) {
    Applic* app = ed_.SelectedApp();
    if (!app) return false;
    if (app->ReadOnly()) {
      talvero::ThePrompter().Critical("This application is open for viewing only.");
      return false;
    }
    talvero::dao::Transaction tx(*app->Database());
    AppSink sink(*app, win_.CurPgm, prog, list);
    talvero::dao::Status status = tx.Started();
    if (status.ok()) {
      if (body(sink)) status = tx.Commit();
      else status = sink.status;
    }
    if (status.ok()) return true;
    tx.Rollback();
    talvero::ThePrompter().Critical(status.error);
    // The rows show again what the file holds.
    ed_.EditPgm();
    return false;
  }

  const int node = win_.CurNode;
  mainwin::LongOperation op(win_, node);
  if (!op) return false;
  FailureWatch watch(win_.Link);
  // The edit buffer may hold another program since the view was read.
  if (!win_.CurPgmName.empty()) win_.Link.LoadTEB(node, win_.CurPgmName);
  DriveSink sink(win_.Link, node, win_.CurPgmName, prog, list);
  if (!watch.Failed() && body(sink)) return true;
  for (int line = 0; line <= kLast; ++line) prog.MakeEmpty(line);
  list.Clear();
  win_.ProgramViewShown = false;
  win_.CurRow = -1;
  win_.MousePointer(0);
  talvero::ThePrompter().Critical("Node " + std::to_string(node) +
                                  " did not answer; the program on the drive may be incomplete. "
                                  "Click its node to read it again.");
  return false;
}

void StepListEdit::Bulk(const std::function<void()>& body, bool computeLBData) {
  EditListView& list = *win_.EditList;
  win_.MousePointer(11);
  const int top = list.TopIndex();
  list.SetNoRedraw(true);
  body();
  list.SetTopIndex(top);
  list.SetNoRedraw(false);
  if (computeLBData) ed_.ComputeLBData();
  win_.MousePointer(0);
  win_.Form_Resize();
}

void StepListEdit::SelectOnly(int row) {
  EditListView& list = *win_.EditList;
  for (int i = 0; i < list.ListCount(); ++i)
    if (list.Selected(i)) list.SetSelected(i, false);
  list.SetSelected(row, true);
}

bool StepListEdit::AskInsert(const char* first) {
  talvero::MessageBox box;
  box.text = std::string(first) + "\nContinue with INSERT ?";
  box.buttons = talvero::Buttons::OkCancel;
  return talvero::ThePrompter().Message(box) == talvero::Answer::Ok;
}

// ---- the Edit menu

void StepListEdit::EditMenu_Click() {
  const bool p = win_.ProgramViewShown;
  const bool s = win_.EditList->SelCount() > 0;
  // The writing commands wait while the drive runs the program shown. The
  // menu opens at once on the state the status timer holds; each command
  // asks the drive again before it writes.
  const bool w = p && !ActiveProgramLastSeenBusy();
  win_.Edit_SA->setEnabled(p);
  win_.Edit_Copy->setEnabled(p && s);
  for (QAction* a : {win_.Edit_Clear, win_.Edit_Ins, win_.Edit_Del}) a->setEnabled(w && s);
  for (QAction* a : {win_.Edit_Paste, win_.Edit_PasteIns}) a->setEnabled(w && s && Clip.ClipFilled);
}

void StepListEdit::Edit_Copy_Click() {
  if (!win_.ProgramViewShown || win_.CurRow < 0) return;
  win_.MousePointer(11);
  talvero::CopySteps(ed_.ShownProgram(), win_.CurRow, win_.EditList->SelCount(), Clip);
  win_.MousePointer(0);
}

void StepListEdit::Edit_Paste_Click() {
  if (!win_.ProgramViewShown) return;
  if (win_.CurRow < 0) {
    talvero::ThePrompter().Critical("(Re)Select target line to paste at", "Paste Error");
    return;
  }
  if (win_.EditList->SelCount() == 0 || !Clip.ClipFilled) return;
  if (!talvero::PasteFits(win_.CurRow, Clip.ClipCount)) {
    talvero::ThePrompter().Critical("Can't paste there. Only 256 lines allowed in a program", "Paste Error");
    return;
  }
  if (ActiveProgramBusy()) return;
  const int row = win_.CurRow;
  Bulk([&] {
    if (Write([&](talvero::StepSink& sink) { return talvero::PasteSteps(ed_.ShownProgram(), Clip, row, sink); }))
      SelectOnly(row);
  }, false);
}

void StepListEdit::Edit_PasteIns_Click() {
  if (Clip.ClipCount <= 0 || !Clip.ClipFilled || !win_.ProgramViewShown) return;
  if (win_.CurRow < 0) {
    talvero::ThePrompter().Critical("(Re)Select target line to paste at", "Paste Error");
    return;
  }
  if (!talvero::PasteFits(win_.CurRow, Clip.ClipCount)) {
    talvero::ThePrompter().Critical("Can't paste there. Only 256 lines allowed in a program", "Paste Error");
    return;
  }
  if (Insert(Clip.ClipCount) && win_.ProgramViewShown) Edit_Paste_Click();
}

void StepListEdit::Edit_Clear_Click() {
  const int n = win_.EditList->SelCount();
  if (!win_.ProgramViewShown || n <= 0 || win_.CurRow < 0 || ActiveProgramBusy()) return;
  const int row = win_.CurRow;
  Bulk([&] {
    if (Write([&](talvero::StepSink& sink) { return talvero::ClearSteps(ed_.ShownProgram(), row, n, sink); }))
      SelectOnly(row);
  }, false);
}

bool StepListEdit::Insert(int n) {
  if (n <= 0) n = win_.EditList->SelCount();
  if (n <= 0) return false;
  if (!win_.ProgramViewShown) {
    win_.Form_Resize();
    return false;
  }
  const int row = win_.CurRow;
  if (row < 0 || ActiveProgramBusy()) return false;
  if (talvero::InsertLosesSteps(ed_.ShownProgram(), row, n) &&
      !AskInsert("Program steps at the end will be erased due to this INSERT"))
    return false;
  bool ok = false;
  Bulk([&] {
    ok = Write([&](talvero::StepSink& sink) { return talvero::InsertSteps(ed_.ShownProgram(), row, n, sink); });
    if (ok) SelectOnly(row);
  }, true);
  return ok;
}

void StepListEdit::Edit_Del_Click() {
  const int n = win_.EditList->SelCount();
  if (n <= 0) return;
  if (!win_.ProgramViewShown) {
    win_.Form_Resize();
    return;
  }
  const int row = win_.CurRow;
  if (row < 0 || ActiveProgramBusy()) return;
  Bulk([&] {
    if (Write([&](talvero::StepSink& sink) { return talvero::DeleteSteps(ed_.ShownProgram(), row, n, sink); }))
      SelectOnly(row);
  }, true);
}

void StepListEdit::Edit_SA_Click() {
  EditListView& list = *win_.EditList;
  win_.CurRow = 0;
  list.SetNoRedraw(true);
  for (int i = 0; i <= kLast; ++i) list.SetSelected(i, true);
  list.SetSelected(0, true);
  list.SetTopIndex(0);
  list.SetNoRedraw(false);
}

// ---- mouse and keys

void StepListEdit::EditList_MouseDown(int button, int shift, int x, int y) {
  if (win_.RunningOperation()) return;
  EditListView& list = *win_.EditList;
  if (shift != 1) AnchorRow = ed_.ListIndex(x, y);
  if (AnchorRow < 0 || button != 2) return;
  list.SetNoRedraw(true);
  SelectOnly(AnchorRow);
  list.SetNoRedraw(false);
  if (win_.ProgramViewShown) HelpSys::ShowHelpPopup(int16_t(1000 + ed_.ShownProgram().Get_Op(AnchorRow)));
  if (win_.ParameterViewShown) HelpSys::ShowHelpPopup(int16_t(1200 + list.ItemData(AnchorRow)));
  if (win_.EventViewShown) HelpSys::ShowHelpPopup(int16_t(1400 + ThreadsMod::GetEventOp(AnchorRow)));
}

void StepListEdit::EditList_MouseUp(int, int, int x, int y) {
  if (win_.RunningOperation()) return;
  EditListView& list = *win_.EditList;
  win_.CurRow = AnchorRow;
  const int r = ed_.ListIndex(x, y);
  const int top = list.TopIndex();
  list.SetNoRedraw(true);
  for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, AnchorRow >= 0 && i >= AnchorRow && i <= r);
  list.SetSelected(AnchorRow, false);
  list.SetSelected(AnchorRow, true);
  list.SetTopIndex(top);
  list.SetNoRedraw(false);
}

void StepListEdit::EditList_KeyUp(int keyCode, int) {
  if (keyCode == 16 || keyCode == 17 || keyCode == 18 || win_.RunningOperation()) return;
  EditListView& list = *win_.EditList;
  const int top = list.TopIndex();
  list.SetNoRedraw(true);
  win_.CurRow = -1;
  for (int i = 0; i < list.ListCount(); ++i) {
    if (!list.Selected(i)) continue;
    if (win_.CurRow < 0) win_.CurRow = i;
    else list.SetSelected(i, false);
  }
  if (win_.CurRow >= 0) {
    list.SetSelected(win_.CurRow, false);
    list.SetSelected(win_.CurRow, true);
  }
  list.SetTopIndex(top);
  list.SetNoRedraw(false);

  if (keyCode != 45 && keyCode != 46) return;
  if (!win_.ProgramNodeSelected || !win_.ProgramViewShown || win_.CurRow < 0) return;
  if (ActiveProgramBusy()) return;
  const int row = win_.CurRow;
  Program& prog = ed_.ShownProgram();
  if (keyCode == 45 && talvero::InsertLosesSteps(prog, kLast, 1) &&
      !AskInsert("The last program step will be erased due to this INSERT"))
    return;
  win_.MousePointer(11);
  Write([&](talvero::StepSink& sink) {
    return keyCode == 45 ? talvero::InsertSteps(prog, row, 1, sink) : talvero::DeleteSteps(prog, row, 1, sink);
  });
  win_.MousePointer(0);
  ed_.ComputeLBData();
}

// ---- the step editor loop

bool StepListEdit::EditList_DblClick() {
  if (!win_.ProgramNodeSelected) return false;
  // Only a program that was read whole is edited and written back.
  if (win_.CurRow < 0 || !win_.ProgramViewShown || win_.RunningOperation()) return true;
  if (win_.AppSelected) {
    Applic* app = ed_.SelectedApp();
    if (!app) return true;
    if (app->ReadOnly()) {
      talvero::ThePrompter().Critical("This application is open for viewing only.");
      return true;
    }
  }
  EdStep& form = StepEditor();
  EditListView& list = *win_.EditList;
  Program& prog = ed_.ShownProgram();
  form.EditDone = false;
  do {
    if (!win_.AppSelected && ActiveProgramBusy()) return true;
    const int line = win_.CurRow;
    ed_.Display();
    const std::string text = form.EditaStep(prog, line);
    list.SetList(line, text);
    list.SetListHeight(line, list.DefHeight());
    const bool written = Write([&](talvero::StepSink& sink) { return sink.Write(line, true); });
    if (!written) return true;
    const int d = form.EditDirection;
    if ((d == 1 && line == kLast) || (d == -1 && line == 0)) {
      form.EditDone = true;
    } else if (!form.EditDone) {
      list.SetSelected(line, false);
      list.SetSelected(line + d, true);
      win_.CurRow += d;
    }
  } while (!form.EditDone);
  return true;
}

}  // namespace editing
