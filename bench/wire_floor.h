#pragma once
// The least time bytes take on the line at 19200 baud, 10 bits a byte.
#include <algorithm>
#include <cstddef>

namespace benchwire {

constexpr double kByteMs = 10.0 * 1000.0 / 19200.0;

// A request frame is 5 bytes around its data, a reply 4.
constexpr double WireMs(std::size_t requestData, std::size_t replyData) {
  return double(5 + requestData + 4 + replyData) * kByteMs;
}

// One request and its reply at the least: the request's bytes, then its fixed
// pause or the reply's bytes, whichever is longer (the reply arrives during
// the pause).
constexpr double RequestMs(std::size_t requestData, std::size_t replyData, double pauseMs) {
  return double(5 + requestData) * kByteMs + std::max(pauseMs, double(4 + replyData) * kByteMs);
}

}  // namespace benchwire
