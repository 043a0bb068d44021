#include "reports/model/rtf_text.h"

#include <cstdint>
#include <optional>

#include "runtime/cp1252.h"

namespace reports {
namespace {

// The code point at text[i] and its length; nullopt for a byte that starts
// no valid UTF-8 sequence.
std::optional<char32_t> NextCodePoint(std::string_view text, size_t i, size_t& len) {
  const auto b = uint8_t(text[i]);
  if (b < 0x80) {
    len = 1;
    return b;
  }
  int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
  if (extra < 0 || i + size_t(extra) >= text.size()) return std::nullopt;
  char32_t cp = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto c = uint8_t(text[i + size_t(k)]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp < 0xE000))
    return std::nullopt;
  len = size_t(extra) + 1;
  return cp;
}

void AppendHexByte(std::string& out, uint8_t b) {
  static const char* kHex = "0123456789abcdef";
  out += "\\'";
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

void AppendUnicode(std::string& out, char32_t cp) {
  auto one = [&out](uint16_t unit) { out += "\\u" + std::to_string(int16_t(unit)) + "?"; };
  if (cp < 0x10000) {
    one(uint16_t(cp));
  } else {
    cp -= 0x10000;
    one(uint16_t(0xD800 + (cp >> 10)));
    one(uint16_t(0xDC00 + (cp & 0x3FF)));
  }
}

bool IsControl(char32_t cp) { return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0); }

}  // namespace

std::string deRTF(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t len = 1;
    const std::optional<char32_t> cp = NextCodePoint(text, i, len);
    if (!cp) {  // a stray byte: Windows-1252 by the house rule
      const std::string utf8 = rt::Cp1252ToUtf8(text.substr(i, 1));
      size_t l2 = 1;
      const std::optional<char32_t> c2 = NextCodePoint(utf8, 0, l2);
      if (c2 && !IsControl(*c2)) AppendHexByte(out, uint8_t(text[i]));
      ++i;
      continue;
    }
    const char32_t c = *cp;
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += char(c);
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\r' || c == '\n') {
      out += char(c);
    } else if (IsControl(c)) {
      // dropped: RTF has no use for them and some readers choke on them
    } else if (c < 0x80) {
      out += char(c);
    } else if (auto b = rt::Utf8ToCp1252(text.substr(i, len)); b && b->size() == 1) {
      AppendHexByte(out, uint8_t((*b)[0]));
    } else {
      AppendUnicode(out, c);
    }
    i += len;
  }
  return out;
}

std::string deRTF1252(std::string_view bytes) { return deRTF(rt::Cp1252ToUtf8(bytes)); }

std::string PadTo(std::string_view s, int n) {
  int chars = 0;  // characters, not bytes, so a "²" in a label keeps the column
  for (char c : s) chars += (uint8_t(c) & 0xC0) != 0x80;
  std::string out(s);
  if (chars < n) out.append(size_t(n - chars), ' ');
  return out;
}

}  // namespace reports
