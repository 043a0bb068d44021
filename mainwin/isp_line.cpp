#include "mainwin/isp_line.h"

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

bool IspLine::ProbePort(int port) { return talvero::ProbePort(port).ok(); }
