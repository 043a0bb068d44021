#pragma once
// The special capture's bytes as the text file "CAPTURE.TXT": one CR LF line
// per 16-byte block, eight signed 16-bit little-endian values each. Qt-free.
#include <cstddef>
#include <string>
#include <string_view>

namespace online {

constexpr size_t kCaptureBytes = 3200;
constexpr const char* kCaptureFile = "CAPTURE.TXT";

// Each value is its sign (a blank or "-"), its digits and a blank; values 1-7
// are followed by ",", value 8 by one more blank. A partial last block is left out.
std::string CaptureText(std::string_view bytes);

}  // namespace online
