#include "runtime/rounding.h"

#include <cmath>
#include <limits>

namespace rt {

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double f = std::floor(v);
  const double diff = v - f;  // exact for every double
  if (diff < 0.5) return f;
  if (diff > 0.5) return f + 1.0;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

namespace {
template <typename T>
T Saturate(double v, double lo, double hi) {
  if (std::isnan(v)) return 0;
  const double r = RoundHalfEven(v);
  if (r <= lo) return T(lo);
  if (r >= hi) return T(hi);
  return T(r);
}
}  // namespace

int32_t CLng(double v) { return Saturate<int32_t>(v, INT32_MIN, INT32_MAX); }
int16_t CInt(double v) { return Saturate<int16_t>(v, INT16_MIN, INT16_MAX); }

double Int(double v) { return std::floor(v); }
double Fix(double v) { return std::trunc(v); }

float CSng(double v) {
  if (v > double(std::numeric_limits<float>::max())) return std::numeric_limits<float>::max();
  if (v < -double(std::numeric_limits<float>::max())) return -std::numeric_limits<float>::max();
  return float(v);
}

}  // namespace rt
