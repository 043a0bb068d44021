#pragma once
// The real main window on its own link, joined in memory to a line of
// simulated drives, with a fake clock, a scripted prompter and settings in
// memory. Every folder whose windows talk to drives builds its tests on it:
//
//   class MyTest : public SimWindowTest {
//     void Install(MainWin& w) override { editing::Install(w); }  // before Form_Load
//   };
//   TEST_F(MyTest, X) {
//     AddDrive(1, Family::RHO, "KV110c", "Feed");
//     ASSERT_TRUE(StartOnLine());          // Form_Load, then COM1 and the search
//     win->Sys_NodeClick("#1");  ...  sim.Requests(1) ...
//   }
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "link/testing/sim_port.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tests/fakes.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/sim_line.h"

class SimWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock.SetEventPump([this]() {
      if (pump) pump();
      QCoreApplication::processEvents();
    });
    clock.SetDate({2026, 12, 9, 4, 14, 5, 33});
    talvero::SetClock(&clock);
    settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
  }
  void TearDown() override {
    win.reset();
    talvero::SetClock(nullptr);
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(prompter.AllShown());
  }

  // What the test's subsystem puts into the window before it loads.
  virtual void Install(MainWin&) {}

  talvero::sim::SimDrive& AddDrive(int node, talvero::sim::Family f, const std::string& model,
                                   const std::string& name) {
    talvero::sim::SimDrive& d = sim.AddDrive(node, f);
    d.SetModel(model);
    d.SetName(name);
    d.SetSerial("S" + std::to_string(node));
    return d;
  }

  // The window made and its subsystem installed, not yet loaded.
  void Build() {
    MainWinEnv env;
    env.settings = settings.io();
    env.libraryPath = libraryPath;
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    win = std::make_unique<MainWin>(std::move(env));
    auto owned = std::make_unique<talvero::testing::SimPort>(sim, &clock);
    port = owned.get();
    win->Link.SetPort(std::move(owned));
    Install(*win);
  }
  // The window loaded off-line; false when it would not start.
  bool Start() {
    Build();
    if (!win->Form_Load("")) return false;
    win->Link.FirstByteTimeout = 40;
    win->Link.NextByteTimeout = 20;
    return true;
  }
  // Loaded, then COM1 chosen: the line checked and the drives searched.
  bool StartOnLine() {
    if (!Start()) return false;
    win->COM__Click(0);
    sim.ClearLog();
    return win->Link.theHandle() > 0;
  }
  // Selects the tree node as a click does.
  void Click(const std::string& key) {
    win->Sys->Select(key);
    win->Sys_NodeClick(key);
  }

  QTemporaryDir dir;
  talvero::FakeClock clock;
  talvero::ScriptedPrompter prompter;
  talvero::sim::SimLine sim;
  talvero::testing::SimPort* port = nullptr;
  MapSettings settings;
  std::function<void()> pump;
  std::string libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
  std::unique_ptr<MainWin> win;
};
