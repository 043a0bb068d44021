#pragma once
// What the main window needs of the link to run the port menu and the
// search; the program's link stands behind it, tests may put a fake there.
#include <optional>
#include <string>

#include "mainwin/drive_search.h"
#include "mainwin/startup_settings.h"

class DriveLine : public mainwin::DriveQueries {
 public:
  virtual void SetLinkSettings(const mainwin::LinkSettings& s) = 0;
  // Port n; 0 goes off-line and closes the port.
  virtual void OpenPort(int port) = 0;
  virtual long theHandle() = 0;
  // Why the last open failed, in words for the user; "" when it did not fail.
  virtual std::string OpenFailure() = 0;
  // The modem / node-0 check; it shows its own messages.
  virtual bool CheckForNodalDrives() = 0;
  virtual void ClosePort() = 0;
  // Whether port n can be opened now; leaves it closed.
  virtual bool ProbePort(int port) = 0;
  // Why the last probe failed, in words for the user; "" when it did not or cannot tell.
  virtual std::string ProbeFailure() { return ""; }

  // Whether the drive's program runs; nullopt when the drive did not answer.
  // A line that cannot tell answers nullopt, which counts as running.
  virtual std::optional<bool> Running(int /*node*/) { return std::nullopt; }
  // The drive's program library and its edit buffer; a line that cannot
  // reach them refuses, so nothing is deleted.
  virtual bool LoadTEB(int /*node*/, const std::string& /*name*/) { return false; }
  virtual bool SaveTEB(int /*node*/, const std::string& /*name*/) { return false; }
  virtual bool DeletePgm(int /*node*/, const std::string& /*name*/) { return false; }
};
