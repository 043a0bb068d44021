#include "mainwin/isp_line.h"

#include <cstdint>

#include "link/failure_watch.h"
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
  // failure tally tells that apart from a stopped drive.
  const FailureWatch watch(link_);
  const uint16_t word = link_.Status(node);
  if (watch.Failed()) return std::nullopt;
  return ISP::IsRunning(word);
}
