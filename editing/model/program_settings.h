#pragma once
// A drive program's settings, read and written one request at a time, so
// that nothing follows a request the drive did not answer: the link's
// GetPgmProp and UpdateSettings, in their order and with their pauses.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/isp.h"

namespace talvero {

// Runs one request; false when it went unanswered, and from then on it sends
// nothing more (mainwin::DriveRead::Ask, or UntilFailure).
using RequestStep = std::function<bool(const std::function<void()>& request)>;

// Each request with the link's own tries, until one fails.
RequestStep UntilFailure(ISP& link);

struct ProgramProps {
  float ratio = 0;
  int16_t units = 0;  // index into a list of unitCount names; 0 outside it
};

// The ratio and units of the active program (name "") or of the one in the
// library edit buffer; nullopt when a request went unanswered.
std::optional<ProgramProps> ReadProgramProps(ISP& link, int node, const std::string& name, int unitCount,
                                             const RequestStep& ask);

// The ratio, the units, then the store (the library program under its name,
// the active one as "$$SAVE$$"); false when a request went unanswered.
bool WriteProgramSettings(ISP& link, int node, const std::string& name, const std::string& ratioText, int units,
                          const RequestStep& ask);

}  // namespace talvero
