#include "link/fault_word.h"

#include "runtime/rounding.h"
#include "runtime/val.h"

uint32_t DriveWord(std::string_view text) {
  const double v = rt::RoundHalfEven(rt::Val(text));
  // NaN fails both tests.
  if (!(v >= -2147483648.0 && v < 4294967296.0)) return 0;
  return uint32_t(int64_t(v));
}

std::vector<int> FaultCodes(uint32_t word) {
  std::vector<int> codes;
  for (int i = 0; i < 30; ++i)
    if (word & (1u << i)) codes.push_back(i);
  return codes;
}
