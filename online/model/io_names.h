#pragma once
// The digital inputs and outputs of each drive family: the connector pins of
// each point, how many lamps the panel shows, and the rules that read and
// rewrite the drive's I/O words and force masks.
#include <cstdint>
#include <optional>
#include <string>

namespace talvero::online {

// Connector-pin text of input or output n (0-based); "" when the family,
// model prefix or number has none. The prefix is the first two characters of
// the drive's text, compared case-sensitively.
std::string INname(const std::string& family, const std::string& prefix, int n);
std::string OUTname(const std::string& family, const std::string& prefix, int n);

struct IOCount {
  int inputs = 0, outputs = 0;
};
// The lamps the panel shows for a drive.
IOCount IOCounts(const std::string& family, const std::string& prefix);

// How many inputs the toggle button may pulse; 0 = none.
int ToggleInputs(const std::string& family);

// A word the drive reports: its leading number, a half to the even
// neighbour, saturated to 32 bits; 0 when none.
int32_t ReadWord(const std::string& text);

// Which legend swatch a point shows: forced off wins over forced on, and
// either over the point's state.
enum class Swatch { Off, On, ForcedOff, ForcedOn };
Swatch SwatchFor(int32_t state, int32_t forcedOff, int32_t forcedOn, int point);

enum class Force { Off, On, None };
struct ForceMasks {
  int32_t forcedOff, forcedOn;
};
ForceMasks ApplyForce(Force f, int32_t forcedOff, int32_t forcedOn, int point);

// The toggle set-up answer read as a 1-based input number of 1..count;
// nullopt when out of range. A blank answer is the caller's to catch.
std::optional<int> ToggleAnswer(const std::string& answer, int count);

}  // namespace talvero::online
