#pragma once
// The main window with the drive menu's commands and the terminal installed,
// on a line of two simulated drives (node 1 RHO, node 4 TAU), in service mode.
#include <QAction>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "mainwin/tests/sim_window_fixture.h"
#include "online/adi.h"
#include "online/drive_menu.h"
#include "platform/ui/qt/window_factory.h"

// Runs f once the named window shows (inside its modal loop); whatever f
// leaves open is closed afterwards, so a failing check cannot hang the test.
inline void WhenShown(const std::string& name, std::function<void(QWidget&)> f) {
  auto* poll = new QTimer;
  poll->setInterval(0);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, name, f]() {
    QWidget* w = talvero::TheWindowFactory().Existing(name);
    if (!w || !w->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    f(*w);
    if (w->isVisible()) w->close();
  });
  poll->start();
}

class AdminWindowTest : public SimWindowTest {
 protected:
  void Install(MainWin& w) override {
    // What was there before keeps the items that are not the drive menu's.
    w.MenuCommandHook = [this](const std::string& item) { passedOn.push_back(item); };
    online::InstallDriveMenu(w);
    online::InstallTerminal(w);
  }
  void SetUp() override {
    SimWindowTest::SetUp();
    AddDrive(1, talvero::sim::Family::RHO, "KV110c", "Feed");
    AddDrive(4, talvero::sim::Family::TAU, "KV110i/d", "Lift");
    ASSERT_TRUE(StartOnLine());
    win->Item("AA_SetConfig")->setEnabled(true);  // service mode
    win->Item("AA_FILE2MEM")->setEnabled(true);
  }

  void Choose(const std::string& item) { win->Item(item)->trigger(); }

  void WhenShown(const std::string& name, std::function<void(QWidget&)> f) {
    ::WhenShown(name, std::move(f));
  }

  // The requests to the node since the log was last cleared, as data.
  std::vector<std::string> Sent(int node) { return sim.Requests(node); }

  std::vector<std::string> passedOn;
};
