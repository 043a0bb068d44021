#include "mainwin/isp_line.h"

#include <cstdint>

#include "platform/serial/port_map.h"

void IspLine::SetLinkSettings(const mainwin::LinkSettings& s) {
  link_.FirstByteTimeout = s.firstByteTimeout;
  link_.NextByteTimeout = s.nextByteTimeout;
  link_.Retries = int16_t(s.retries);
}

std::string IspLine::OpenFailure() {
  talvero::PortFailure f = link_.LastOpenFailure();
  return f.ok() ? std::string() : talvero::DescribePortFailure(f);
}

bool IspLine::ProbePort(int port) {
  const talvero::PortFailure f = talvero::ProbePort(port);
  probeFailure_ = f.ok() ? std::string() : talvero::DescribePortFailure(f);
  return f.ok();
}

std::optional<bool> IspLine::Running(int node) {
  // The link answers a failed query with an empty status word; only its
  // failure counts tell that apart from a stopped drive.
  const bool counts = node >= 0 && size_t(node) < link_.NodeErrorCount.size();
  const int16_t before = link_.ErrorCount;
  const int16_t nodeBefore = counts ? link_.NodeErrorCount[size_t(node)] : 0;
  const uint16_t word = link_.Status(node);
  const bool counted = link_.ErrorCount != before ||
                       (counts && link_.NodeErrorCount[size_t(node)] != nodeBefore);
  const bool saturated = before == INT16_MAX && nodeBefore == ISP::kNodeErrorCap;
  if (counted || saturated) return std::nullopt;
  return ISP::IsRunning(word);
}
