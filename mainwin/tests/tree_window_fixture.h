#pragma once
// The main window started with applications made for the test, its view
// fillers and state update recorded.
#include <string>
#include <utility>
#include <vector>

#include "mainwin/tests/main_win_fixture.h"
#include "store/applic.h"
#include "store/library_database.h"

struct AppSpec {
  std::string file;
  std::vector<std::pair<std::string, std::string>> axes;  // name, family
  std::vector<std::string> programs;
};

class TreeWindowTest : public MainWinTest {
 protected:
  // Applications made in the temp folder, opened at start-up, with drives on
  // nodes 1 (RHO), 4 (TAU) and 31 (PSI).
  MainWin& Start(const std::vector<AppSpec>& apps) {
    const std::string base = dir.path().toStdString();
    std::string list;
    auto lib = LibraryDatabase::Open(libraryPath);
    EXPECT_TRUE(lib.ok()) << lib.error;
    for (const AppSpec& a : apps) {
      Applic app;
      EXPECT_TRUE(app.Create(base + "/" + a.file + ".APP").ok());
      for (const auto& [name, family] : a.axes)
        EXPECT_TRUE(app.AddAxis(name, family, (*lib)->ParametersRS.get()).ok());
      for (const std::string& p : a.programs) EXPECT_TRUE(app.AddPgm(p).ok());
      app.AClose();
      list += base + "/" + a.file + ";";
    }
    settings.values = {{"Help/GS", "1"}, {"OpenApps/List", list}};
    MainWin& w = Make();
    EXPECT_TRUE(w.Form_Load(""));
    w.UpdateStateHook = [this]() { ++updates; };
    w.EditParametersHook = [this](const std::string& key) { fills.push_back("par " + key); };
    w.EditPgmHook = [this]() { fills.push_back("pgm " + win->ViewKey); };
    w.ReadEventsHook = [this]() { fills.push_back("events"); };
    w.StatStripClickHook = [this](int) { fills.push_back("status"); };
    return w;
  }
  void Click(const std::string& key) {
    win->Sys->Select(key);
    win->Sys_NodeClick(key);
  }
  std::string App(int slot) { return win->Apps[size_t(slot)]->Name; }

  int updates = 0;
  std::vector<std::string> fills;
};

