#include "link/link_text.h"

namespace linktext {

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

}  // namespace linktext
