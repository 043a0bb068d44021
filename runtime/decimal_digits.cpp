#include "runtime/decimal_digits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rt {

DecimalDigits ToDecimalDigits(double value, int significant) {
  DecimalDigits d;
  d.negative = value < 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
  // buf is "d.ddddde[+-]xx"
  std::string mant;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') mant += *p;
  const int exp10 = *p == 'e' ? std::atoi(p + 1) : 0;
  while (!mant.empty() && mant.back() == '0') mant.pop_back();
  if (mant.empty()) return d;  // zero (also -0.0, which prints without a sign)
  d.digits = mant;
  d.pointPos = exp10 + 1;
  return d;
}

void RoundToPlaces(DecimalDigits& d, int places) {
  const long keep = long(d.pointPos) + places;  // digits that survive
  if (keep >= long(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    long i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.pointPos;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

}  // namespace rt
