#include "online/model/status_text.h"

#include "runtime/format.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace talvero::online {

std::vector<int> FaultCodes(uint32_t bits) {
  std::vector<int> codes;
  for (int i = 0; i < 30; ++i)
    if (bits & (1u << i)) codes.push_back(i);
  return codes;
}

uint32_t FaultBits(const std::string& text) {
  // Fault words are at most 30 bits; a stray negative reading shows no faults.
  const double v = rt::RoundHalfEven(rt::Val(text));
  if (!(v > 0)) return 0;
  if (v >= 4294967296.0) return 0x3FFFFFFFu;
  return uint32_t(v) & 0x3FFFFFFFu;
}

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
