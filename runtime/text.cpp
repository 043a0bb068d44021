#include "runtime/text.h"

namespace rt {
namespace {

// The character at s[i] in upper or lower case, as the legacy runtime cases
// text on a Windows-1252 system: a-z and the code page's letters (é -> É,
// ÿ -> Ÿ, š -> Š), in UTF-8. Each case of a letter takes as many bytes as
// the other, so a text keeps its length. Writes the bytes to out and returns
// how many the character takes.
size_t Cased(std::string_view s, size_t i, bool upper, char out[2]) {
  const auto c = static_cast<unsigned char>(s[i]);
  out[0] = s[i];
  if (c < 0x80) {
    if (upper && c >= 'a' && c <= 'z') out[0] = char(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') out[0] = char(c - 'A' + 'a');
    return 1;
  }
  if ((c != 0xC3 && c != 0xC5) || i + 1 >= s.size()) return 1;
  const auto d = static_cast<unsigned char>(s[i + 1]);
  unsigned lead = c, next = d;
  if (c == 0xC3) {
    if (upper && d >= 0xA0 && d <= 0xBE && d != 0xB7) next = d - 0x20;  // à..þ, not ÷
    if (upper && d == 0xBF) lead = 0xC5, next = 0xB8;                    // ÿ -> Ÿ
    if (!upper && d >= 0x80 && d <= 0x9E && d != 0x97) next = d + 0x20;  // À..Þ, not ×
  } else {
    struct Pair { unsigned char lower, upper; };
    static constexpr Pair kPairs[] = {{0xA1, 0xA0}, {0x93, 0x92}, {0xBE, 0xBD}};  // š œ ž
    for (const Pair& p : kPairs) {
      if (upper && d == p.lower) next = p.upper;
      if (!upper && d == p.upper) next = p.lower;
    }
    if (!upper && d == 0xB8) lead = 0xC3, next = 0xBF;  // Ÿ -> ÿ
  }
  out[0] = char(lead);
  out[1] = char(next);
  return 2;
}

std::string Case(std::string_view s, bool upper) {
  std::string out;
  out.reserve(s.size());
  char bytes[2];
  for (size_t i = 0; i < s.size();) {
    const size_t n = Cased(s, i, upper, bytes);
    out.append(bytes, n);
    i += n;
  }
  return out;
}

}  // namespace

std::string UCase(std::string_view s) { return Case(s, true); }

std::string LCase(std::string_view s) { return Case(s, false); }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  char ca[2], cb[2];
  for (std::size_t i = 0; i < a.size();) {
    const size_t n = Cased(a, i, true, ca);
    if (Cased(b, i, true, cb) != n || std::string_view(ca, n) != std::string_view(cb, n)) return false;
    i += n;
  }
  return true;
}

std::string LTrim(std::string_view s) {
  const std::size_t i = s.find_first_not_of(' ');
  return i == std::string_view::npos ? std::string() : std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
  const std::size_t i = s.find_last_not_of(' ');
  return i == std::string_view::npos ? std::string() : std::string(s.substr(0, i + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string Replace(std::string_view text, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(text);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(find, from)) != std::string_view::npos; from = at + find.size()) {
    out.append(text.substr(from, at - from));
    out.append(with);
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace rt
