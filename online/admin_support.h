#pragma once
// What the drive menu, the configuration dialog and the terminal share: the
// drive a command acts on and the two kinds of box they show.
#include <cstddef>
#include <optional>
#include <string>

#include "online/model/drive_text.h"

class MainWin;

namespace online {

// Room for a name or a serial number in a request packet: all but its command byte.
constexpr size_t kMaxDriveTextBytes = 254;

// The selected node when it is a drive found on the line, else nullopt.
std::optional<int> DriveOnLine(const MainWin& win);

// OK only, no icon.
void Inform(const std::string& text, const std::string& title = "Talvero");
// OK and Cancel, question icon, Cancel preselected; true only on OK.
bool ConfirmOk(const std::string& text);

// The two confirmations before a drive is initialised; true when both got OK.
bool ConfirmInitialise();

// Tells the user why typed text cannot go to a drive ("the drive name ...");
// true when it can.
bool AcceptDriveText(const DriveText& text, const std::string& what, size_t maxBytes);

}  // namespace online
