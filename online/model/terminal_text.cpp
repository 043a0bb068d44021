#include "online/model/terminal_text.h"

#include <cstdio>

namespace online {

std::optional<int> TerminalNode(std::string_view text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n == 0) return std::nullopt;
  return n;
}

std::string TerminalLine(int node, std::string_view message) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "[%02d]", node);
  return buf + std::string(message);
}

std::string CounterText(int counter) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d ", counter);
  return buf;
}

int NextCounter(int counter) { return counter >= kTerminalCounterMax ? kTerminalCounterMax : counter + 1; }

std::string VisibleControls(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) {
      // U+2400 + c (U+2421 for DEL), three bytes in UTF-8: E2 90 xx.
      const unsigned code = c == 0x7F ? 0x21 : c;
      out += char(0xE2);
      out += char(0x90);
      out += char(0x80 | code);
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace online
