#pragma once
// What an end-to-end test of the window over a pseudo-terminal sets up
// before the window: the simulated line served as COM1, the real clock's
// event pump, a scripted prompter, settings in memory (no first-run
// greeting, no port opened at start-up) and the lock in a temporary folder.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "mainwin/main_win.h"
#include "mainwin/tests/fakes.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

struct PtyWindowEnv {
  explicit PtyWindowEnv(talvero::sim::SimLine& sim) : server(sim) {}

  // Serves the line unpaced and points COM1 at it; false (server.Error()
  // says why) when it did not start.
  bool Start() {
    if (!server.Start()) return false;
    setenv("TALVERO_COM1", server.SlavePath().c_str(), 1);
    talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
    settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
    return true;
  }
  // The window's surroundings, with the library the build ships.
  MainWinEnv Env() {
    MainWinEnv env;
    env.settings = settings.io();
    env.libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    return env;
  }

  talvero::sim::PtyServer server;
  talvero::ScriptedPrompter prompter;
  QTemporaryDir dir;
  MapSettings settings;
};
