#pragma once
// The real main window with the online panel installed, over the in-memory
// line of simulated drives (mainwin/tests/sim_window_fixture.h). The status
// timer is stopped: tests call the tick themselves. Pop-ups are recorded,
// never shown.
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <string>
#include <vector>

#include "mainwin/edit_list_box.h"
#include "mainwin/tests/sim_window_fixture.h"
#include "online/online_panel.h"

class OnlineTest : public SimWindowTest {
 protected:
  void Install(MainWin& w) override {
    panel = new OnlinePanel(w);
    panel->PopUp = [this](QMenu* m, const QPoint&) { popups.push_back(m->objectName().toStdString()); };
  }

  // Drives at nodes 1, 4 and 7, on line, the timer stopped and the log empty.
  void StartWithThreeDrives() {
    AddDrive(1, talvero::sim::Family::RHO, "KV110c", "Feed  Axis");
    AddDrive(4, talvero::sim::Family::TAU, "KV110i", "Lift");
    AddDrive(7, talvero::sim::Family::PSI, "KS130i", "Table");
    ASSERT_TRUE(StartOnLine());
    win->TStat->stop();
    sim.ClearLog();
  }

  // Every request's data in order, with its node: "1:Q".
  std::vector<std::string> Sent() const {
    std::vector<std::string> out;
    for (const auto& r : sim.Log()) out.push_back(std::to_string(r.node) + ":" + r.data);
    return out;
  }

  // Selects line `line` of Watch, as a click does.
  void PickWatchLine(int line) { win->Watch->setCurrentRow(line); }
  std::string WatchLine(int line) const { return win->Watch->item(line)->text().toStdString(); }
  std::string Panel(int i) const { return win->Mon1[size_t(i - 1)]->text().toStdString(); }

  OnlinePanel* panel = nullptr;
  std::vector<std::string> popups;
};
