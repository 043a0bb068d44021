#include "online/model/capture_text.h"

#include <cstdint>

namespace online {

std::string CaptureText(std::string_view bytes) {
  constexpr size_t kBlock = 16;
  std::string out;
  out.reserve(bytes.size() / kBlock * 64);
  for (size_t at = 0; at + kBlock <= bytes.size(); at += kBlock) {
    for (size_t j = 0; j < 8; ++j) {
      const int low = uint8_t(bytes[at + 2 * j]);
      const int high = uint8_t(bytes[at + 2 * j + 1]);
      const int v = int(int16_t(uint16_t(high << 8 | low)));
      out += v < 0 ? '-' : ' ';
      out += std::to_string(v < 0 ? -v : v);
      out += ' ';
      out += j < 7 ? "," : " ";
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace online
