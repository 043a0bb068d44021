#include "online/model/status_panels.h"

#include "mainwin/drive_read.h"

namespace talvero::online {
namespace {
const char* const kDot = " \xC2\xB7 ";  // the middle dot between two blanks
}

std::string TimeoutsCaption(long long count) {
  return count == 0 ? std::string("No timeouts") : std::to_string(count) + " timeout(s)";
}

std::string StatusPanel2(uint16_t status, int status2) {
  std::string s = (status & 1u) ? "Enabled" : "Disabled";
  s += kDot;
  s += (status & 2u) ? "Faulted" : "Drive OK";
  s += kDot;
  s += (status2 & 1) ? "In Foldback" : "Not In Foldback";
  return s;
}

std::string StatusPanel3(int status2) {
  std::string s = "Reset Input: ";
  s += (status2 & 2) ? "On" : "Off";
  s += kDot;
  s += "Enable Input: ";
  s += (status2 & 4) ? "On" : "Off";
  return s;
}

std::string NotAnswering(int node) { return mainwin::DriveRead::NotAnswering(node); }

}  // namespace talvero::online
