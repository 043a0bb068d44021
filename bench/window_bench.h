#pragma once
// What a benchmark of the main window sets up before it builds the window:
// the offscreen platform (unless one is chosen), user files in a temporary
// folder, the application, the real clock's event pump and a prompter that
// counts any message box as a fault of the run; and settings kept in a map.
#include <QApplication>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "mainwin/startup_settings.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"

namespace benchwire {

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
  mainwin::SettingsIO Settings() {
    return {[this](const std::string& s, const std::string& k, const std::string& def) {
              auto it = stored.find(s + "/" + k);
              return it == stored.end() ? def : it->second;
            },
            [this](const std::string& s, const std::string& k, const std::string& v) { stored[s + "/" + k] = v; }};
  }
  std::string LockPath() const { return (config.path() + "/talvero.lock").toStdString(); }

  QTemporaryDir config;
  std::unique_ptr<QApplication> app;
  std::unique_ptr<talvero::ScriptedPrompter> prompter;
  std::map<std::string, std::string> stored;
};

}  // namespace benchwire
