#include "runtime/cstr.h"

#include <cmath>

#include "runtime/decimal_digits.h"

namespace rt {
namespace {

std::string CStrDigits(double v, int significant) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
  const DecimalDigits d = ToDecimalDigits(v, significant);
  if (d.digits.empty()) return "0";
  std::string out = d.negative ? "-" : "";
  const int exp10 = d.pointPos - 1;
  if (exp10 < -4 || exp10 >= significant) {
    out += d.digits[0];
    if (d.digits.size() > 1) out += "." + d.digits.substr(1);
    const int e = exp10 < 0 ? -exp10 : exp10;
    out += exp10 < 0 ? "E-" : "E+";
    if (e < 10) out += '0';
    out += std::to_string(e);
  } else if (d.pointPos <= 0) {
    out += "0." + std::string(-d.pointPos, '0') + d.digits;
  } else if (std::size_t(d.pointPos) >= d.digits.size()) {
    out += d.digits + std::string(d.pointPos - d.digits.size(), '0');
  } else {
    out += d.digits.substr(0, d.pointPos) + "." + d.digits.substr(d.pointPos);
  }
  return out;
}

}  // namespace

std::string CStrSingle(float v) { return CStrDigits(v, 7); }
std::string CStrDouble(double v) { return CStrDigits(v, 15); }

}  // namespace rt
