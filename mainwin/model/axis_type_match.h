#pragma once
#include <string_view>

namespace talvero {

// True when the selected axis' family code occurs in codes (callers pass one
// code such as "PSI"). An axis with no family code matches nothing: it must
// not pass for a stepper or any other family.
bool AxisTypeMatch(std::string_view codes, std::string_view familyCode);

}  // namespace talvero
