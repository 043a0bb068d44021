#pragma once
// The drive menu's administration commands: firmware information, clock,
// configuration, name, calibration, initialisation and user variables.
#include <string>

class MainWin;

namespace online {

// Takes the drive menu items AA_Firm, AA_SDT, AA_SetConfig, AA_DriveName,
// AA_Cal, AA_Zap and AA_KillUV from the window's menu command hook (other
// items go on to the hook installed before) and registers the configuration
// dialog "CF_Form" with the window factory.
void InstallDriveMenu(MainWin& win);

// Runs the command of a drive menu item; false for an item that is not one of them.
bool RunDriveMenuCommand(MainWin& win, const std::string& item);

}  // namespace online
