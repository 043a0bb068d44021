#pragma once
// Puts the memory image commands into the drive menu and the firmware upload
// behind "&Upload New Firmware...". Call before the window loads.
class MainWin;

namespace online {

void InstallMemoryAndFirmware(MainWin& w);

}  // namespace online
