#include "online/model/status_text.h"

#include "runtime/format.h"

namespace talvero::online {

std::string StatusText(const DriveStatusSnapshot& s) {
  const std::string CR = "\r";
  std::string t = "Drive: " + s.driveText + CR + CR;
  t += "Node: " + std::to_string(s.node) + " is";
  t += (s.status & 1u) ? " Enabled" : " Disabled";
  if (s.status & 2u) t += ", Faulted";
  t += (s.status & 8u) ? ", Running" : ", Stopped";
  t += "." + CR + CR;
  if (s.status & 4u) t += "Drive needs to be 'RESET'." + CR + CR;
  t += "Present Faults:" + CR;
  int listed = 0;
  for (const std::string& f : s.faultTexts) {
    t += "     " + f + CR;
    ++listed;
  }
  if (listed == 0) t += "     None" + CR;
  t += CR + "Velocity: " + rt::Format(s.velocity, "#####0.0") + " RPM" + CR;
  t += CR + "'Run Time Fault' Code: " + rt::Format(s.runTimeFault, "#####0") + CR;
  t += CR + "Status as of " + s.when;
  return t;
}

}  // namespace talvero::online
