#pragma once
// The legacy Trim and UCase, as names are stored and compared: blanks only,
// ASCII letters only.
#include <string>
#include <string_view>

namespace talvero {

inline std::string TrimBlanks(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

inline std::string UpperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

}  // namespace talvero
