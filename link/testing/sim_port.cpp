#include "link/testing/sim_port.h"

namespace talvero::testing {

int32_t SimPort::Open() {
  ++opens;
  if (refuseOpen != PortFailureReason::None) {
    failure_ = {refuseOpen, "COM" + std::to_string(portNumber), ""};
    isOpen = false;
    return -1;
  }
  failure_ = {};
  gone_ = false;
  isOpen = true;
  input_.clear();
  line_.ResetFraming();
  return 7;
}

void SimPort::Close() {
  if (isOpen) ++closes;
  isOpen = false;
  input_.clear();
}

void SimPort::WriteByte(uint8_t byte) {
  if (beforeIo && isOpen && !gone_) beforeIo();
  if (!isOpen || gone_) return;
  ++bytesOut;
  const int64_t now = Now();
  for (const sim::Output& o : line_.Feed(std::string(1, char(byte)))) {
    const int64_t at = now + (clock_ ? o.delayMs : 0);
    for (char c : o.bytes) input_.push_back({at, uint8_t(c)});
  }
}

void SimPort::WriteString(const std::string& bytes) {
  for (char c : bytes) WriteByte(uint8_t(c));
}

int SimPort::Take(int32_t timeoutMs) {
  const int64_t now = Now();
  if (!input_.empty() && input_.front().at <= now + timeoutMs) {
    if (clock_ && input_.front().at > now) clock_->Advance(input_.front().at - now);
    const uint8_t b = input_.front().byte;
    input_.pop_front();
    ++bytesIn;
    return b;
  }
  if (clock_ && timeoutMs > 0) clock_->Advance(timeoutMs);
  return -1;
}

int SimPort::ReadByte(int32_t timeoutMs) {
  if (beforeIo && isOpen && !gone_) beforeIo();
  if (!isOpen || gone_) return -1;
  return Take(timeoutMs);
}

std::string SimPort::ReadString(int maxLen, int32_t timeoutMs) {
  std::string out;
  if (beforeIo && isOpen && !gone_) beforeIo();
  if (!isOpen || gone_) return out;
  while (int(out.size()) < maxLen) {
    const int b = Take(out.empty() ? timeoutMs : 0);
    if (b < 0) break;
    out.push_back(char(b));
  }
  return out;
}

}  // namespace talvero::testing
