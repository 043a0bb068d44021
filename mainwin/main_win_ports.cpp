// The port menu, the tree rebuild and the drive search.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolButton>

#include "mainwin/main_win.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/pop.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tree_branches.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"

void MainWin::PortProbe() {
  for (QAction* a : COM_) {
    a->setEnabled(false);
    a->setVisible(false);
  }
  probeFailures_.fill("");
  for (int i : mainwin::ProbeRange(Settings())) {
    if (Line().ProbePort(i + 1)) {
      COM_[i]->setEnabled(true);
      COM_[i]->setVisible(true);
    } else {
      probeFailures_[size_t(i)] = Line().ProbeFailure();
    }
  }
}

void MainWin::COM__Click(int index) {
  if (index < 0) {
    COM_OL_Click();
    return;
  }
  const int port = index + 1;
  Settings().save("Setup", "COM", std::to_string(port));
  bool known = index < int(COM_.size());
  if (known) Line().OpenPort(port);
  for (QAction* a : COM_) a->setChecked(false);
  openPort_ = 0;
  if (known && Line().theHandle() > 0) {
    openPort_ = port;
    COM_[index]->setChecked(true);
    COM_OL->setChecked(false);
    RefreshTree();
    return;
  }
  std::string text = "Couldn't open COM" + std::to_string(port) + ". Please select another.";
  std::string reason = known ? Line().OpenFailure() : "There is no such port.";
  if (!reason.empty()) text += "\n\n" + reason;
  talvero::ThePrompter().Message({text, "Error!", talvero::Buttons::Ok, talvero::Icon::None, 0});
  COM_OL_Click();
}

void MainWin::COM_OL_Click() {
  openPort_ = 0;
  Settings().save("Setup", "COM", "0");
  Line().OpenPort(0);
  Line().ClosePort();  // off-line lets go of the port, so others may use it
  for (QAction* a : COM_) a->setChecked(false);
  COM_OL->setChecked(true);
  RefreshTree();
}

void MainWin::LineGone() {
  if (!lineGonePending_) return;
  // A long operation ends at its next request with its own message first.
  if (RunningOperation()) {
    QTimer::singleShot(100, this, [this]() { LineGone(); });
    return;
  }
  lineGonePending_ = false;
  if (!Link.LineGone()) return;  // the port was chosen again meanwhile
  const std::string port = "COM" + std::to_string(openPort_ > 0 ? openPort_ : 1);
  const std::string device = Link.LostDevice().empty() ? "" : " (" + Link.LostDevice() + ")";
  talvero::ThePrompter().Message({port + device +
                                      " is gone: the device was removed or switched off. Off-line mode selected.",
                                  "Error!", talvero::Buttons::Ok, talvero::Icon::Exclamation, 0});
  COM_OL_Click();
}

namespace {

// The progress window as the search sees it; the search also stops, as at
// Stop or Control-C, when the program is asked to end.
class SearchUntilEnd : public mainwin::SearchProgress {
 public:
  SearchUntilEnd(POP& pop, const MainWin& w) : pop_(pop), w_(w) {}
  void StatOn(const std::string& caption) override { pop_.StatOn(caption); }
  void Stat(const std::string& text) override { pop_.Stat(text); }
  bool Clicked() override { return pop_.Clicked() || w_.EndRequested(); }

 private:
  POP& pop_;
  const MainWin& w_;
};

// Draws each drive's branch as soon as it is found.
class TreeSearchSink {
 public:
  TreeSearchSink(MainWin& w) : w_(w) {}
  void operator()(int node) {
    w_.BrakeAll->show();
    mainwin::AddDriveBranch(*w_.Sys, node, w_.NodeTables.at(node).driveText, w_.Line());
    w_.Sys->EnsureVisible(TreeKey::Make("#", {node}).Format());
    talvero::TheClock().ProcessEvents();
  }

 private:
  MainWin& w_;
};

}  // namespace

void MainWin::RefreshTree() {
  if (TreeRefreshing) return;
  TreeRefreshing = true;
  SelKey.clear();
  Sys->Clear();
  mainwin::AddRoots(*Sys);
  AppsRootNode = TreeKey::AppsRoot().Format();
  talvero::TheClock().ProcessEvents();
  for (talvero::DriveEntry& e : NodeTables.nodes) e.driveText.clear();
  BrakeAll->hide();
  if (!EndRequested() && Line().CheckForNodalDrives() && Line().theHandle() > 0) {
    SearchUntilEnd progress(*pop_, *this);
    progress.StatOn("Searching for Drives...");
    talvero::TheClock().ProcessEvents();
    std::vector<int> damaged;
    mainwin::SearchNodes(Line(), progress, NodeTables, TreeSearchSink(*this), &damaged);
    // A drive that answered only with damage is not dropped without a word.
    if (!damaged.empty() && !EndRequested())
      talvero::ThePrompter().Message({mainwin::DamagedNodesText(damaged), "Talvero", talvero::Buttons::Ok,
                                      talvero::Icon::Exclamation, 0});
  }
  AxisSelected = false;
  for (int s = 1; s <= kSlots; ++s) {
    if (!AppOpen[s]) continue;
    AddAppBranch(s);
    Sys->EnsureVisible(TreeKey::Make("AP", {s}).Format());
  }
  pop_->StatOff();
  TreeRefreshing = false;
}

void MainWin::RefreshAxisLibrary(int node) { mainwin::RelistDriveLibrary(*Sys, node, Line()); }

void MainWin::SpRef_Click() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  talvero::TheClock().ProcessEvents();
  RefreshTree();
  Sys->Select(TreeKey::SystemRoot().Format());
  Sys_NodeClick(Sys->SelectedKey());
  QApplication::restoreOverrideCursor();
}
