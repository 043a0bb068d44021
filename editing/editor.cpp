#include "editing/editor.h"

#include <QProgressBar>

#include "editing/ed_set.h"
#include "editing/ed_t.h"
#include "editing/event_view.h"
#include "editing/model/list_metrics.h"
#include "editing/new_value.h"
#include "editing/step_list_edit.h"
#include "editing/transfers.h"
#include "mainwin/drive_read.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "platform/ui/qt/window_factory.h"
#include "store/applic.h"

namespace editing {

namespace {

constexpr const char* kObjectName = "EditingSubsystem";

// The first selected row, -1 when none is.
int FirstSelected(const EditListView& list) {
  for (int i = 0; i < list.ListCount(); ++i)
    if (list.Selected(i)) return i;
  return -1;
}

template <class T>
T& Dialog(const char* name) {
  return *qobject_cast<T*>(talvero::TheWindowFactory().Window(name));
}

}  // namespace

void Install(MainWin& win) {
  auto* ed = new Editor(win);

  // The library is open when the step editor's lists are made.
  win.EditStepInitHook = [ed, before = win.EditStepInitHook] {
    if (before) before();
    ed->BindLibrary();
  };
  win.EditPgmHook = [ed] { ed->EditPgm(); };
  win.EditParametersHook = [ed](const std::string& key) { ed->EditParameters(key); };
  win.ReadEventsHook = [ed] { ed->ReadEvents(); };
  win.ComputeLBDataHook = [ed, before = win.ComputeLBDataHook] {
    if (!ed->ComputeLBData() && before) before();
  };
  // Until the step list's own handler stands, a double click edits the
  // first selected row of the parameter and event views.
  win.EditListHooks.DblClick = [ed, &win, before = win.EditListHooks.DblClick] {
    if (!win.ParameterViewShown && !win.EventViewShown) {
      if (before) before();
      return;
    }
    // A read between its tries lets clicks through; it is not edited under.
    if (win.RunningOperation()) return;
    const int row = FirstSelected(*win.EditList);
    if (row < 0) return;
    win.CurRow = row;
    if (win.ParameterViewShown) ed->EditParameterValue();
    else ed->EditEvent(row);
  };

  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.Register("NewValue", [&win](QWidget*) { return new NewValue(&win); });
  wf.Register("EdT", [&win](QWidget*) { return new EdT(win); });
  wf.Register("EdSet", [&win](QWidget*) { return new EdSet(win); });

  InstallStepListEdit(win);
  InstallTransfers(win);
}

Editor::Editor(MainWin& win)
    : QObject(&win), win_(win), eventView_(std::make_unique<ListEventView>(win)) {
  setObjectName(kObjectName);
}

Editor::~Editor() = default;

Editor* Editor::Of(MainWin& win) { return win.findChild<Editor*>(kObjectName, Qt::FindDirectChildrenOnly); }

const DisplayContext& Editor::Display() {
  display_.UnitsName = win_.UnitsName;
  display_.StepNumbers = win_.StepNumbers;
  return display_;
}

void Editor::BindLibrary() {
  program_.Attach(win_.StepsRS, &display_);
  ThreadsMod::Bind(win_.ThreadsRS, &display_);
}

Applic* Editor::SelectedApp() const {
  const int slot = win_.CurApp;
  if (slot < 1 || slot > MainWin::kSlots || !win_.AppOpen[size_t(slot)]) return nullptr;
  return win_.Apps[size_t(slot)].get();
}

bool Editor::ComputeLBData() {
  EditListView& list = *win_.EditList;
  talvero::ListMetrics m;
  if (win_.ParameterViewShown) m = talvero::ParameterViewMetrics(list.FontSize(), win_.SelKey);
  else if (win_.ProgramViewShown) m = talvero::ProgramViewMetrics(list.FontSize());
  else return false;
  list.SetTabWidth(0, m.tab0);
  if (m.tab1 >= 0) list.SetTabWidth(1, m.tab1);
  for (int i = 0; i < list.ListCount(); ++i) list.SetListHeight(i, m.rowHeight);
  list.SetDefHeight(m.rowHeight);
  return true;
}

int Editor::ListIndex(int x, int y) const { return win_.EditList->ItemFromPoint(x, y); }

void Editor::ShowNotAnswering(const mainwin::DriveRead& read) {
  win_.ProgramViewShown = win_.ParameterViewShown = win_.EventViewShown = false;
  EditListView& list = *win_.EditList;
  list.SetNoRedraw(false);
  list.Clear();
  list.SetTabWidth(0, 240);  // the picture column as the program and event views keep it
  list.AddItem(read.NotAnswering());
  win_.MousePointer(0);
  win_.Prog->setValue(0);
  MainWin& win = win_;
  win_.AwaitAnswer(read.Node(), [&win] {
    const bool forced = win.ForceNodeClick;
    win.ForceNodeClick = true;
    win.Sys_NodeClick(win.LastNode);
    win.ForceNodeClick = forced;
  });
}

void Editor::OnEventAxis(const std::function<void(const ThreadsMod::EventAxis&)>& body) {
  ThreadsMod::EventAxis axis;
  if (win_.CurNode < 0) {
    axis.app = SelectedApp();
    axis.axis = int16_t(-win_.CurNode);
    body(axis);
    return;
  }
  LinkEventDrive drive(win_, win_.CurNode);
  axis.drive = &drive;
  body(axis);
  if (drive.Failed()) ShowNotAnswering(drive.Read()->Drive());
}

void Editor::ReadEvents() {
  Display();
  OnEventAxis([this](const ThreadsMod::EventAxis& axis) { ThreadsMod::ReadEvents(axis, *eventView_); });
}

void Editor::EnableEvents(bool on) {
  if (win_.CurNode < 0) return;
  OnEventAxis([&](const ThreadsMod::EventAxis& axis) {
    for (int i = 0; i < ThreadsMod::kEvents; ++i)
      if (!ThreadsMod::EnableEvent(*axis.drive, *eventView_, i, on)) break;
  });
}

void Editor::EditEvent(int row) {
  Display();
  OnEventAxis([&](const ThreadsMod::EventAxis& axis) {
    ThreadsMod::EditEvent(axis, *eventView_, EventEditor(), row);
  });
}

bool Editor::ShowSettings() {
  talvero::TheWindowFactory().ShowModal("EdSet");
  return SettingsDialog().OKPressed;
}

NewValue& Editor::NewValueDialog() { return Dialog<NewValue>("NewValue"); }
EdT& Editor::EventEditor() { return Dialog<EdT>("EdT"); }
EdSet& Editor::SettingsDialog() { return Dialog<EdSet>("EdSet"); }

}  // namespace editing
