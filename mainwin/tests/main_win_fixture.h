#pragma once
// The real main window over a line of drives in memory, with a scripted
// prompter, a fake clock and settings in memory.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tests/fakes.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"

inline FakeDrive Drive(const std::string& family, const std::string& model, const std::string& name,
                std::vector<std::string> library = {}) {
  return {"!" + family + model, name, "10" + name, "Firmware 4.2\nKernel version: 1.9\n",
          std::move(library)};
}

class MainWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock.SetEventPump([]() { QCoreApplication::processEvents(); });
    talvero::SetClock(&clock);
    line.drives[1] = Drive("RHO", "KV110c", "Feed", {"HOME", "$$SAVE$$", "CUT 2", "~~~~~~~~", "OLD"});
    line.drives[4] = Drive("TAU", "KV110i/d", "Lift");
    line.drives[31] = Drive("PSI", "KS130i/d", "<b>Arm</b> & co");
  }
  void TearDown() override {
    win.reset();
    talvero::SetClock(nullptr);
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(prompter.AllShown());
  }
  MainWin& Make() {
    MainWinEnv env;
    env.settings = settings.io();
    env.line = &line;
    env.libraryPath = libraryPath;
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    win = std::make_unique<MainWin>(std::move(env));
    return *win;
  }
  std::vector<std::string> DriveKeys() { return win->Sys->Children("!SY"); }
  std::string Value(const std::string& key) {
    auto it = settings.values.find(key);
    return it == settings.values.end() ? "<none>" : it->second;
  }

  QTemporaryDir dir;
  talvero::FakeClock clock;
  talvero::ScriptedPrompter prompter;
  FakeLine line;
  MapSettings settings;
  std::string libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
  std::unique_ptr<MainWin> win;
};

