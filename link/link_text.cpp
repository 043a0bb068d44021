#include "link/link_text.h"

#include <cctype>
#include <charconv>

namespace linktext {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string UpperCase(const std::string& s) {
  std::string out = s;
  for (char& ch : out) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) c = c - 0x20;
    else if (c == 0x9A || c == 0x9C || c == 0x9E) c = c - 0x10;
    else if (c == 0xFF) c = 0x9F;
    ch = static_cast<char>(c);
  }
  return out;
}

double LeadingNumber(const std::string& s) {
  size_t i = 0, n = s.size();
  while (i < n && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  size_t start = i;
  size_t digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  size_t end = i;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    size_t j = i + 1;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    if (expDigits > 0) end = j;
  }
  // from_chars: the decimal point is "." whatever the locale says.
  double value = 0.0;
  std::from_chars(s.data() + start, s.data() + end, value);
  return negative ? -value : value;
}

}  // namespace linktext
