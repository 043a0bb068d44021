#pragma once
// The least time bytes take on the line at 19200 baud, 10 bits a byte.
#include <cstddef>

namespace benchwire {

constexpr double kByteMs = 10.0 * 1000.0 / 19200.0;

// A request frame is 5 bytes around its data, a reply 4.
constexpr double WireMs(std::size_t requestData, std::size_t replyData) {
  return double(5 + requestData + 4 + replyData) * kByteMs;
}

}  // namespace benchwire
