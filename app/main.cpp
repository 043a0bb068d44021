// The program: the main window with the user's settings, the real prompter,
// help and event pump, and every subsystem installed into its hooks.
#include <QStringList>

#include "app/guarded_run.h"
#include "app/subsystems.h"
#include "listbox/legacy_faces.h"
#include "mainwin/main_win.h"
#include "mainwin/signal_end.h"
#include "mainwin/startup_settings.h"
#include "mainwin/user_settings.h"
#include "platform/clock/clock.h"
#include "platform/help/help_service.h"
#include "platform/ui/qt/help_viewer.h"
#include "platform/ui/qt/qt_prompter.h"

int main(int argc, char** argv) {
  app::GuardedApplication application(argc, argv);
  QApplication::setApplicationName("Talvero");
  tivolen::InstallLegacyFaces();

  talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
  talvero::QtPrompter prompter;
  talvero::SetPrompter(&prompter);

  MainWinEnv env;
  env.settings = mainwin::UserSettings();
  MainWin win(std::move(env));
  app::InstallSubsystems(win);
  mainwin::SignalEnd signalEnd(win);
  prompter.SetFallbackParent(&win);
  talvero::InstallQtHelpDisplay(talvero::TheHelp(), &win);

  std::vector<std::string> args;
  for (const QString& a : QCoreApplication::arguments()) args.push_back(a.toStdString());
  const int rc = app::RunWindow(application, win, mainwin::CommandLine(args));
  talvero::SetPrompter(nullptr);
  return rc;
}
