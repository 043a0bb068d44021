#pragma once
// The legacy runtime's conversions of a number to a whole number.
#include <cstdint>

namespace rt {

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// NaN and infinities come back unchanged.
double RoundHalfEven(double v);

// RoundHalfEven, then saturated to the type's range; NaN gives 0.
int32_t CLng(double v);
int16_t CInt(double v);

// A double as a single: saturated to the single's range instead of the
// undefined conversion; NaN stays NaN.
float CSng(double v);

// Int rounds down (Int(-2.5) = -3), Fix toward zero (Fix(-2.5) = -2).
double Int(double v);
double Fix(double v);

}  // namespace rt
