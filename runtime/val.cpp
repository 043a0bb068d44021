#include "runtime/val.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <string>

namespace rt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Scan {
  std::size_t start = 0;  // first character of the number (its sign, if any)
  std::size_t end = 0;    // one past its last character; 0 = no number
};

Scan ScanNumber(std::string_view s) {
  Scan r;
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  r.start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return r;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  r.end = i;
  return r;
}

// The decimal exponent of an unsigned number text, roughly: > 0 means at least 1.
long Magnitude(std::string_view num) {
  const std::size_t e = num.find_first_of("Ee");
  const std::string_view mant = num.substr(0, e);
  long exp10 = 0;
  if (e != std::string_view::npos) {
    std::string_view ex = num.substr(e + 1);
    const bool neg = ex.front() == '-';
    if (ex.front() == '+' || ex.front() == '-') ex.remove_prefix(1);
    for (char c : ex) exp10 = std::min(exp10 * 10 + (c - '0'), 100000L);
    if (neg) exp10 = -exp10;
  }
  const std::size_t point = std::min(mant.find('.'), mant.size());
  const std::size_t first = mant.find_first_not_of("0.");
  if (first == std::string_view::npos) return -100000;  // zero
  const long lead = first < point ? long(point - first) : -long(first - point - 1);
  return lead + exp10;
}

}  // namespace

std::size_t LeadingNumberLength(std::string_view text) { return ScanNumber(text).end; }

double Val(std::string_view text) {
  const Scan sc = ScanNumber(text);
  if (sc.end == 0) return 0.0;
  std::string_view num = text.substr(sc.start, sc.end - sc.start);
  bool negative = false;
  if (num[0] == '+' || num[0] == '-') {
    negative = num[0] == '-';
    num.remove_prefix(1);
  }
  double v = 0.0;
  const auto res = std::from_chars(num.data(), num.data() + num.size(), v);
  if (res.ec == std::errc::result_out_of_range) v = Magnitude(num) > 0 ? DBL_MAX : 0.0;
  return negative ? -v : v;
}

}  // namespace rt
