// Start-up, the user settings, and the orderly exit.
#include "mainwin/main_win.h"
#include "mainwin/long_operation.h"
#include "mainwin/model/tree_key.h"

#include <algorithm>
#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QListWidget>
#include <QTimer>

#include "mainwin/instance_lock.h"
#include "mainwin/isp_line.h"
#include "store/applic.h"
#include "store/library_database.h"
#include "mainwin/model/axis_type_match.h"
#include "mainwin/pop.h"
#include "mainwin/qhelp.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/splash.h"
#include "mainwin/stat_strip.h"
#include "mainwin/tree_branches.h"
#include "platform/clock/clock.h"
#include "platform/serial/port_map.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "runtime/text.h"

namespace {

constexpr const char* kServiceKeyword = "QUERNSTALD";

}  // namespace

MainWin::MainWin(MainWinEnv env, QWidget* parent)
    : QMainWindow(parent), env_(std::move(env)) {
  if (env_.line) {
    line_ = env_.line;
  } else {
    ownLine_ = std::make_unique<IspLine>(Link);
    line_ = ownLine_.get();
  }
  setObjectName("MainWin");
  setWindowTitle("Talvero");
  // The link notices a vanished line inside a request; the user is told from
  // the event loop, once that request has ended.
  Link.LineGoneHook = [this]() {
    if (lineGonePending_) return;
    lineGonePending_ = true;
    QTimer::singleShot(0, this, [this]() { LineGone(); });
  };
  colours_.SetSaver([this](const std::string& key, const std::string& value) {
    Settings().save("Plot", key, value);
  });
  BuildMenus();
  BuildControls();
  ConnectCommands();
  lock_ = std::make_unique<InstanceLock>(env_.lockPath.empty() ? InstanceLock::DefaultPath()
                                                               : env_.lockPath);
  // The smallest size the layout rule allows, once; the window manager keeps to it.
  const talvero::PixelSize min = talvero::MinimumClientSize(Metrics());
  setMinimumSize(min.width, min.height + menuBar()->sizeHint().height());
  resize(1000, 700);
}

MainWin::~MainWin() {
  Form_Terminate();
  talvero::TheWindowFactory().SetParent(nullptr);
  delete qhelp_;
  delete splash_;
}

bool MainWin::ServiceMode() const { return Item("AA_SetConfig")->isEnabled(); }

bool MainWin::Form_Load(const std::string& commandLine) {
  if (!lock_->Acquire()) {
    talvero::ThePrompter().Message({"Cannot load program again.", "Talvero is already open!",
                                    talvero::Buttons::Ok, talvero::Icon::Exclamation, 0});
    terminated_ = true;  // nothing was started, so nothing is to be stored
    return false;
  }
  splash_->show();
  splash_->raise();
  splash_->activateWindow();  // Ctrl-C on it ends the start-up search
  talvero::TheClock().ProcessEvents();
  if (!InitializeStuff(commandLine)) {
    ExitStatus = 1;
    splash_->hide();
    Form_Terminate();
    return false;
  }
  if (!EndRequested()) InitOldApps();
  splash_->hide();
  if (EndRequested()) {
    Form_Terminate();
    return false;
  }
  loaded_ = true;
  Mon1[0]->setText(" " + splash_->Info->text() + " ");
  return true;
}

void MainWin::RequestEnd() {
  endRequested_ = true;
  if (longOp_) longOp_->RequestStop();
}

void MainWin::ReadUserSettings(const std::string& commandLine, int& savedPort) {
  mainwin::SettingsIO& io = Settings();
  // 1. The port probe.
  PortProbe();
  // 2. Plot colours.
  for (int k = 1; k <= 5; ++k) colours_.Load(k, mainwin::ReadPlotColour(io, k));
  // 3. First run.
  FirstRun = mainwin::ReadFirstRun(io);
  // 4. Initial flags.
  ForceNodeClick = false;
  IONumberBase = 1;
  TreeRefreshing = false;
  ParameterCopyCount = 0;
  Timeouts->setVisible(true);
  // 5. Service mode.
  if (rt::UCase(commandLine).find(kServiceKeyword) == std::string::npos) {
    Item("AA_SetConfig")->setEnabled(false);
    Item("AA_FILE2MEM")->setEnabled(false);
    Timeouts->setVisible(false);
  }
  // 6. Tooltips.
  Help_Tips->setChecked(mainwin::ReadTips(io));
  // 7. The saved port: a port the probe did not find (or one with no menu
  // item at all) starts off-line.
  int n = mainwin::ReadSavedPort(io);
  if (n > 0 && (n > int(COM_.size()) || !COM_[n - 1]->isVisible())) {
    std::string text = "Couldn't open COM" + std::to_string(n) + ". Offline mode selected.";
    const std::string reason =
        n > int(COM_.size()) ? "There is no such port." : probeFailures_[size_t(n - 1)];
    if (!reason.empty()) text += "\n\n" + reason;
    talvero::ThePrompter().Message({text, "Error!", talvero::Buttons::Ok, talvero::Icon::None, 0});
    n = 0;
  }
  io.save("Setup", "COM", std::to_string(n));
  savedPort = n;
  // 8. The link's time-outs and tries.
  Line().SetLinkSettings(mainwin::ReadLinkSettings(io));
}

bool MainWin::InitializeStuff(const std::string& commandLine) {
  // COMn may be mapped to a device in section "Ports" (after TALVERO_COMn).
  mainwin::SettingsIO io = Settings();
  talvero::SetPortResolver([io](int port) { return io.get("Ports", "COM" + std::to_string(port), ""); });
  int n = 0;
  ReadUserSettings(commandLine, n);
  // 9, 10. The library database: the program cannot work without it.
  if (!OpenLibrary()) return false;
  // 11, 12. Slots and selection.
  AppOpen.fill(false);
  AxisSelected = AppSelected = ProgramNodeSelected = ActiveProgramShown = EventViewShown = false;
  // 13. The tree's pictures come with the tree itself.
  // 14. The step editor's lists.
  if (EditStepInitHook) EditStepInitHook();
  // 15.
  SelKey.clear();
  // 16. The watch list.
  for (int k = 1; k <= 10; ++k) {
    WatchSlot[k].WatchExpr.clear();
    if (QListWidgetItem* it = Watch->item(k - 1)) it->setText(" ");
  }
  // 17.
  ScopeOpen = false;
  // 18. The status timer.
  TStat->start();
  // 19.
  StepNumbers = false;
  SpStepNumbers->setChecked(false);
  // 20. The saved port: off-line, or open and search.
  COM__Click(n - 1);
  return true;
}

void MainWin::InitOldApps() {
  std::string list = Settings().get("OpenApps", "List", "");
  appsRead_ = true;
  if (list.empty()) return;
  for (const std::string& item : mainwin::SplitOpenApps(list)) {
    // Asked to end: what is not reopened yet stays listed.
    if (EndRequested()) {
      unopenedApps_.push_back(item);
      continue;
    }
    std::string path = item + ".APP";
    // Files saved elsewhere may carry the extension in lower case.
    if (!QFileInfo::exists(QString::fromStdString(path)) &&
        QFileInfo::exists(QString::fromStdString(item + ".app")))
      path = item + ".app";
    // A file that went away is said once; it is not stored again at exit.
    if (!QFileInfo::exists(QString::fromStdString(path))) {
      talvero::ThePrompter().Critical("Couldn't reopen the application " + path +
                                      ": the file no longer exists. It is dropped from the "
                                      "applications to reopen.");
      // A box a signal closed was not read: it is said again next time.
      if (EndRequested()) unopenedApps_.push_back(item);
      continue;
    }
    if (!OpenAnApp(path)) unopenedApps_.push_back(item);
  }
  if (EndRequested()) return;
  const std::string apps = TreeKey::AppsRoot().Format();
  Sys->Select(apps);
  Sys_NodeClick(apps);
}

void MainWin::Form_Activate() {
  if (FirstRun) {
    FirstRun = false;
    talvero::ThePrompter().Info(
        "For Help on setting up and programming your drive,\n"
        "pick a topic under the Help Menu in 'Getting Started'.",
        "Getting Started...");
  }
  if (SelKey.empty()) Sys_NodeClick(Sys->SelectedKey());
}

void MainWin::Form_Deactivate() {
  if (talvero::TheWindowFactory().IsVisible("Tune")) SelKey.clear();
}

std::string MainWin::GetDriveNameByNode(int n) const {
  return NodeTables.Valid(n) ? NodeTables.at(n).driveText : std::string();
}

bool MainWin::AxisIsDumb() const { return NodeTables.Valid(CurNode) && NodeTables.at(CurNode).simple; }

std::string MainWin::SerialandVersion(int node, int which) const {
  if (!NodeTables.Valid(node)) return "";
  return which == 1 ? NodeTables.at(node).serialText : NodeTables.at(node).kernelText;
}

std::string MainWin::AxisFamily(int node) const {
  if (CurNode >= 0) return NodeTables.FamilyOf(node);
  const Applic* app = OpenApp(CurApp);
  return app ? app->WhatType(int16_t(-CurNode)) : std::string();
}

bool MainWin::AxisTypeMatch(const std::string& codes, int node) const {
  return talvero::AxisTypeMatch(codes, AxisFamily(node));
}

void MainWin::Form_Terminate() {
  if (terminated_) return;
  terminated_ = true;
  TStat->stop();
  // 1. The library.
  MotorsRS = ParametersRS = StepsRS = ThreadsRS = IORS = nullptr;
  LibraryDB = nullptr;
  if (Library) Library->Close();
  Library.reset();
  // 2. The tool windows.
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.Hide("Tune");
  wf.Hide("Scope");
  // 3, 4. The open applications, stored for the next start.
  if (appsRead_) {
    std::vector<std::string> list;
    for (int s = 1; s <= kSlots; ++s) {
      if (!AppOpen[s]) continue;
      list.push_back(mainwin::StoredAppName(Apps[s]->Path()));
      Apps[s]->AClose();
      AppOpen[s] = false;
    }
    for (const std::string& kept : unopenedApps_)
      if (std::find(list.begin(), list.end(), kept) == list.end()) list.push_back(kept);
    Settings().save("OpenApps", "List", mainwin::JoinOpenApps(list));
  }
  // 5. The port.
  Line().ClosePort();
  talvero::SetPortResolver({});
  qhelp_->hide();
  pop_->hide();
  splash_->hide();
  lock_->Release();
}

void MainWin::File_Exit_Click() { close(); }

void MainWin::closeEvent(QCloseEvent* e) {
  if (longOp_) {
    talvero::ThePrompter().Info(mainwin::LongOperation::kCloseRefused);
    e->ignore();
    return;
  }
  Form_Terminate();
  e->accept();
}

void MainWin::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) QTimer::singleShot(0, this, [this]() { Form_Activate(); });
    else Form_Deactivate();
  }
  QMainWindow::changeEvent(e);
}
