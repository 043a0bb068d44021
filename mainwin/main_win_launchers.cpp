// The Wizards menu, the scope button, step numbers, and what the commands
// of the window are connected to.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include "mainwin/main_win.h"
#include "mainwin/model/launchers.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/stat_strip.h"
#include "platform/ui/qt/window_factory.h"

void MainWin::ConnectCommands() {
  connect(File_NewApp, &QAction::triggered, this, [this]() { File_NewApp_Click(); });
  connect(File_OpenApp, &QAction::triggered, this, [this]() { File_OpenApp_Click(); });
  connect(File_CloseApp, &QAction::triggered, this, [this]() { File_CloseApp_Click(); });
  connect(File_Print, &QAction::triggered, this, [this]() { File_Print_Click(); });
  connect(File_PrintSetup, &QAction::triggered, this, [this]() { File_PrintSetup_Click(); });
  connect(SetupWiz_Axis, &QAction::triggered, this, [this]() { SetupWiz_Axis_Click(); });
  connect(SetupWiz_IO, &QAction::triggered, this, [this]() { SetupWiz_IO_Click(); });
  connect(SetupWiz_T, &QAction::triggered, this, [this]() { SetupWiz_T_Click(); });
  connect(SpStepNumbers, &QAction::triggered, this, [this]() { SpStepNumbers_Click(); });
  connect(ShowScope, &QToolButton::clicked, this, [this]() { ShowScope_Click(); });
  StatStrip->GS_stat->installEventFilter(this);
  connect(Sys, &QtSysTree::MouseDown, this,
          [this](int button, int shift, int x, int y) { Sys_MouseDown(button, shift, x, y); });
  connect(Sys, &QtSysTree::KeyPress, this, [this](int key) { Sys_KeyPress(key); });
  Sys->AfterLabelEdit = [this](const std::string& key, std::string& text) {
    if (key != SelKey) return false;  // the tree changed under the edit
    bool cancel = false;
    Sys_AfterLabelEdit(cancel, text);
    return !cancel;
  };
  // The shown tab's contents follow the layout rule.
  connect(StatStrip, &StatStrip::TabChanged, this, [this]() {
    Form_Resize();
    StatStrip_Click(StatStrip->currentIndex());
  });
  connect(ResizeFin, &QTimer::timeout, this, [this]() { ResizeFin_Timer(); });
}

void MainWin::SetupWiz_Axis_Click() {
  if (!AxisSelected) return;
  const talvero::AxisWizard which = talvero::WizardForAxis(AxisFamily(CurNode));
  talvero::TheWindowFactory().ShowModal(which == talvero::AxisWizard::StepperSetup ? "StepperSetup"
                                                                                   : "AxisSetup");
}

void MainWin::SetupWiz_IO_Click() {
  if (!AxisSelected) return;
  if (IOConfigLoadHook) IOConfigLoadHook();
  talvero::TheWindowFactory().ShowModal("IOConfig");
}

void MainWin::SetupWiz_T_Click() {
  if (!AxisSelected) return;
  if (TuneFormStartHook) TuneFormStartHook();
  talvero::TheWindowFactory().ShowModeless("Tune");
}

void MainWin::ShowScope_Click() {
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  if (talvero::ScopeButton(ScopeOpen) == talvero::ScopeAction::Activate) {
    if (QWidget* scope = wf.Existing("Scope")) {
      scope->raise();
      scope->activateWindow();
    }
    return;
  }
  ScopeOpen = true;
  if (ScopeNodeHook) ScopeNodeHook(CurNode);
  // No scope window to show: the button must not stay dead.
  if (!wf.ShowModeless("Scope")) ScopeOpen = false;
}

void MainWin::SpStepNumbers_Click() {
  StepNumbers = !StepNumbers;
  SpStepNumbers->setChecked(StepNumbers);
  SelKey.clear();
  Sys_NodeClick(Sys->SelectedKey());
}
