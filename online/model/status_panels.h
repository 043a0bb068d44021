#pragma once
// The texts the status tick writes: the service menu's time-out count and
// panels 2 and 3 of the status bar.
#include <cstdint>
#include <string>

namespace talvero::online {

// "No timeouts", or the count and " timeout(s)".
std::string TimeoutsCaption(long long count);
// "Enabled · Drive OK · Not In Foldback" and the like.
std::string StatusPanel2(uint16_t status, int status2);
// "Reset Input: Off · Enable Input: On" and the like.
std::string StatusPanel3(int status2);
// "Node n does not answer": what the panel shows in place of a reading.
std::string NotAnswering(int node);

}  // namespace talvero::online
