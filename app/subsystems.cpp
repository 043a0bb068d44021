#include "app/subsystems.h"

#include "editing/editor.h"
#include "mainwin/main_win.h"
#include "online/adi.h"
#include "online/drive_menu.h"
#include "online/memory_and_firmware.h"
#include "online/online_panel.h"
#include "reports/install.h"
#include "scope/install.h"
#include "wizards/install.h"

namespace app {

void InstallSubsystems(MainWin& win) {
  // Each subsystem fills the window's hooks before it loads.
  online::InstallDriveMenu(win);
  online::InstallTerminal(win);
  scope::Install(win);
  wizards::Install(win);
  editing::Install(win);
  online::InstallMemoryAndFirmware(win);
  new OnlinePanel(win);  // owned by the window
  reports::Install(win);
}

}  // namespace app
