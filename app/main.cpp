// The program: the main window with the user's settings, the real prompter,
// help and event pump, and every subsystem installed into its hooks.
#include <QApplication>
#include <QStringList>

#include "editing/editor.h"
#include "listbox/legacy_faces.h"
#include "mainwin/main_win.h"
#include "mainwin/startup_settings.h"
#include "mainwin/user_settings.h"
#include "online/adi.h"
#include "online/drive_menu.h"
#include "online/memory_and_firmware.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "platform/help/help_service.h"
#include "platform/ui/qt/help_viewer.h"
#include "platform/ui/qt/qt_prompter.h"
#include "scope/install.h"
#include "wizards/install.h"
#include "reports/install.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Talvero");
  tivolen::InstallLegacyFaces();

  talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
  talvero::QtPrompter prompter;
  talvero::SetPrompter(&prompter);

  MainWinEnv env;
  env.settings = mainwin::UserSettings();
  MainWin win(std::move(env));
  // Each subsystem fills the window's hooks before it loads.
  online::InstallDriveMenu(win);
  online::InstallTerminal(win);
  scope::Install(win);
  wizards::Install(win);
  editing::Install(win);
  online::InstallMemoryAndFirmware(win);
  new OnlinePanel(win);  // owned by the window
  reports::Install(win);
  prompter.SetFallbackParent(&win);
  talvero::InstallQtHelpDisplay(talvero::TheHelp(), &win);

  std::vector<std::string> args;
  for (const QString& a : QCoreApplication::arguments()) args.push_back(a.toStdString());
  if (!win.Form_Load(mainwin::CommandLine(args))) return win.ExitStatus;
  win.show();
  int rc = app.exec();
  win.Form_Terminate();
  talvero::SetPrompter(nullptr);
  return rc;
}
