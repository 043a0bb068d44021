#pragma once
// What a benchmark of the main window sets up before it builds the window:
// the offscreen platform (unless one is chosen), user files in a temporary
// folder, the application, the real clock's event pump and a prompter that
// counts any message box as a fault of the run; and settings kept in a map.
// Then the window on the line, and one drive's node opened on its link.
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "bench/line_options.h"
#include "link/isp.h"
#include "mainwin/main_win.h"
#include "mainwin/startup_settings.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"

namespace benchwire {

// Settings read from and written to `stored` ("Section/Key").
inline mainwin::SettingsIO MapSettings(std::map<std::string, std::string>& stored) {
  return {[&stored](const std::string& s, const std::string& k, const std::string& def) {
            auto it = stored.find(s + "/" + k);
            return it == stored.end() ? def : it->second;
          },
          [&stored](const std::string& s, const std::string& k, const std::string& v) { stored[s + "/" + k] = v; }};
}

class WindowBench {
 public:
  WindowBench(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    app = std::make_unique<QApplication>(argc, argv);
    talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
    prompter = std::make_unique<talvero::ScriptedPrompter>();
  }
  // Settings read from and written to `stored` ("Section/Key").
  mainwin::SettingsIO Settings() { return MapSettings(stored); }
  std::string LockPath() const { return (config.path() + "/talvero.lock").toStdString(); }

  // The window off-line at start-up, `install` run before it loads; then the
  // line at COM1 opened with short time-outs, so the search of the empty
  // nodes takes seconds, and the status timer stopped. Null when it did not
  // load or the line did not open.
  std::unique_ptr<MainWin> OpenOnLine(const std::function<void(MainWin&)>& install) {
    stored["Setup/COM"] = "0";
    stored["Help/GS"] = "1";
    MainWinEnv env;
    env.settings = Settings();
    env.lockPath = LockPath();
    auto win = std::make_unique<MainWin>(std::move(env));
    install(*win);
    if (!win->Form_Load("")) {
      std::fprintf(stderr, "the window did not load\n");
      return nullptr;
    }
    win->TStat->stop();
    win->Link.FirstByteTimeout = 60;
    win->Link.NextByteTimeout = 30;
    win->COM__Click(0);
    win->TStat->stop();
    if (win->Link.theHandle() <= 0) {
      std::fprintf(stderr, "the line did not open\n");
      return nullptr;
    }
    return win;
  }

  QTemporaryDir config;
  std::unique_ptr<QApplication> app;
  std::unique_ptr<talvero::ScriptedPrompter> prompter;
  std::map<std::string, std::string> stored;
};

// Opens COM1 on the window's link and enters the drive at node as the
// search would; false (with the reason printed) when no drive answers.
inline bool OpenNode(MainWin& win, int node, const std::string& linePath) {
  ISP& link = win.Link;
  link.OpenPort(1);
  const std::string identity = link.WhoAmI(node);
  if (link.theHandle() <= 0 || identity.size() < 4) {
    std::fprintf(stderr, "no drive answers at node %d on %s\n", node, linePath.c_str());
    return false;
  }
  talvero::DriveEntry& entry = win.NodeTables.at(node);
  entry.driveText = identity;
  entry.family = identity.substr(1, 3);
  return true;
}

}  // namespace benchwire
