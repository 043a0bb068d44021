#pragma once
// CStr of the legacy Single and Double: a number as plain text.
#include <string>

namespace rt {

// At most 7 (Single) or 15 (Double) significant digits, no trailing zeros, a leading "-"
// when negative, no blanks, "0" for zero. Exponent form when the decimal exponent is below
// -4 or not below the digit count: "1E-05", "1.5E+07", "-2.5E-06", "1E+100".
// Values the legacy runtime could not hold print as "NaN", "Inf" and "-Inf".
std::string CStrSingle(float v);
std::string CStrDouble(double v);

}  // namespace rt
