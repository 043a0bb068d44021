#pragma once
// The status text of the "General" tab: lines ended by CR (code 13) alone.
#include <cstdint>
#include <string>
#include <vector>

namespace talvero::online {

struct DriveStatusSnapshot {
  std::string driveText;  // the drive's entry of the search's tables
  int node = 0;
  uint16_t status = 0;
  std::vector<std::string> faultTexts;  // one per set fault bit, in code order
  double velocity = 0;
  double runTimeFault = 0;
  std::string when;  // the date and time as the user's locale prints it
};

std::string StatusText(const DriveStatusSnapshot& s);

}  // namespace talvero::online
