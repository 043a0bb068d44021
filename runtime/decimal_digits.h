#pragma once
// A double as the legacy runtime sees it for printing: its decimal text with a fixed number
// of significant digits, so rounding afterwards works on that text and not on the binary.
#include <string>

namespace rt {

struct DecimalDigits {
  bool negative = false;
  std::string digits;  // significant digits, no leading or trailing zeros; "" for zero
  int pointPos = 0;    // value = 0.digits * 10^pointPos
};

// value must be finite; significant is 1..17.
DecimalDigits ToDecimalDigits(double value, int significant);

// Rounds d half away from zero so that it keeps `places` digits behind the point.
void RoundToPlaces(DecimalDigits& d, int places);

}  // namespace rt
