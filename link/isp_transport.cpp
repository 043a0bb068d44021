// The packet transport: the line, framing, reply checks, the try loop and the
// failure bookkeeping that every drive operation shares.
#include "link/isp.h"

#include <string_view>

#include "link/link_text.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port_object.h"
#include "platform/ui/prompter.h"
#include "runtime/int16.h"

namespace {
constexpr uint8_t kStart = 0x5B;
constexpr int kCarriageReturn = 13;

// The packet checksum: the data bytes summed modulo 256.
uint8_t Sum(std::string_view data) {
  uint8_t sum = 0;
  for (char c : data) sum = uint8_t(sum + uint8_t(c));
  return sum;
}
}  // namespace

ISP::ISP() = default;

ISP::ISP(std::unique_ptr<talvero::SerialPort> port) : port_(std::move(port)) {}

ISP::~ISP() { ClosePort(); }

void ISP::SetPort(std::unique_ptr<talvero::SerialPort> port) {
  if (port_) port_->Close();
  handle_ = 0;
  port_ = std::move(port);
}

talvero::SerialPort& ISP::Port() {
  if (!port_) port_ = std::make_unique<talvero::SerialPortObject>();
  return *port_;
}

talvero::PortFailure ISP::LastOpenFailure() const {
  return port_ ? port_->LastFailure() : talvero::PortFailure{};
}

void ISP::OpenPort(int16_t n) {
  if (n <= 0) {
    // Off-line really lets go of the line, so no other program is locked out
    // and a later open does not leak the old one.
    if (port_) port_->Close();
    handle_ = 0;
    return;
  }
  auto& port = Port();
  auto& clock = talvero::TheClock();
  port.SetPortNumber(n);
  port.SetSpeed(19200);
  port.SetDataBits(8);
  port.SetLineSetting(talvero::LineSetting::Parity, 0);
  port.SetLineSetting(talvero::LineSetting::StopBits, 0);
  port.SetLineSetting(talvero::LineSetting::FlowControl, 0);
  port.SetLineSetting(talvero::LineSetting::CarrierWatch, 0);
  if (handle_ > 0) {
    clock.ProcessEvents();
    port.Close();
    clock.ProcessEvents();
  }
  lineGone_ = false;
  lostDevice_.clear();
  handle_ = port.Open();
  clock.ProcessEvents();
  if (handle_ < 0) handle_ = 0;
  sequence_ = 32;
}

void ISP::ClosePort() {
  if (port_) port_->Close();
  handle_ = 0;
}

void ISP::GoSleep(int32_t ms) { talvero::TheClock().SleepMs(ms); }

bool ISP::Unframeable(int node, const std::string& data) {
  return node < 0 || node > 255 || data.size() > kMaxRequestData;
}

void ISP::SendPacket(int node, const std::string& data) {
  if (handle_ <= 0 || Unframeable(node, data)) return;
  if (++sequence_ > 64) sequence_ = 32;
  auto& port = Port();
  port.WriteByte(kStart);
  port.WriteByte(uint8_t(node));
  port.WriteByte(sequence_);
  port.WriteByte(uint8_t(data.size()));
  for (char c : data) port.WriteByte(uint8_t(c));
  port.WriteByte(Sum(data));
  CheckLine();
}

void ISP::CheckLine() {
  if (handle_ <= 0 || !port_ || !port_->LineGone()) return;
  // Off-line at once: every later request fails without waiting on a dead line.
  lostDevice_ = port_->DevicePath();
  port_->Close();
  handle_ = 0;
  lineGone_ = true;
  if (LineGoneHook) LineGoneHook();
}

std::string ISP::ReadBytes(int n) {
  std::string out;
  out.reserve(size_t(n > 0 ? n : 0));
  auto& port = Port();
  for (int i = 0; i < n; ++i) {
    int b = port.ReadByte(i == 0 ? FirstByteTimeout : NextByteTimeout);
    if (b < 0) {
      CheckLine();
      return "";
    }
    heard_ = true;
    out.push_back(char(b));
  }
  return out;
}

std::string ISP::GetPacket(int16_t& expected) {
  if (handle_ <= 0) return "";
  std::string raw;
  if (expected > 0) {
    raw = ReadBytes(expected + 4);
    if (raw.size() != size_t(expected) + 4) raw.clear();
  } else {
    raw = ReadBytes(3);
    if (raw.size() == 3) {
      raw += ReadBytes(uint8_t(raw[2]) + 1);
      expected = int16_t(int(raw.size()) - 4);
    } else {
      raw.clear();
    }
  }
  const bool good = !raw.empty() && expected >= 1 && uint8_t(raw[0]) == kStart &&
                    uint8_t(raw[1]) == sequence_ && uint8_t(raw[2]) == uint8_t(expected) &&
                    Sum(std::string_view(raw).substr(3, size_t(expected))) == uint8_t(raw[3 + expected]);
  if (!good) {
    FlushPackets();
    return "";
  }
  return raw.substr(3, size_t(expected));
}

void ISP::FlushPackets() {
  if (handle_ <= 0) return;
  // A line that never goes quiet (a babbling device, a wrong speed) must not
  // hold the program: stop after a few first-byte time-outs' worth of time or
  // a few kilobytes, whichever comes first.
  auto& clock = talvero::TheClock();
  const int64_t start = clock.NowMs();
  const int64_t limitMs = int64_t(kFlushTimeOuts) * (FirstByteTimeout > 0 ? FirstByteTimeout : 1);
  size_t drained = 0;
  while (!ReadBytes(4).empty()) {
    drained += 4;
    if (drained >= kFlushByteLimit || clock.NowMs() - start >= limitMs) break;
  }
}

void ISP::SendString(const std::string& text) {
  const auto bytes = Outgoing(text);
  if (!bytes) return;
  auto& port = Port();
  for (char c : *bytes) port.WriteByte(uint8_t(c));
  port.WriteByte(kCarriageReturn);
}

std::string ISP::GetString() {
  std::string out;
  // Bounded like the flush, for a line that talks without ever ending a line.
  while (out.size() < kStringByteLimit) {
    std::string b = ReadBytes(1);
    if (b.empty() || b[0] == char(kCarriageReturn)) break;
    out += b;
  }
  return linktext::FromDrive(out);
}

bool ISP::CheckForNodalDrives() {
  if (handle_ > 0) {
    for (int i = 0; i < 5; ++i) Port().WriteString("AT\r");
  }
  GoSleep(50);
  std::string reply = handle_ > 0 ? Port().ReadString(128, 250) : std::string();
  talvero::MessageBox box;
  box.title = "Error!";
  box.buttons = talvero::Buttons::Ok;
  box.icon = talvero::Icon::Critical;
  if (reply.find("OK") != std::string::npos) {
    box.text = "It appears a MODEM is out on the selected COM port, not a drive!\n\n"
               "Select the correct COM port.";
    talvero::ThePrompter().Message(box);
    return false;
  }
  if (reply.find("AT") != std::string::npos) {
    box.text = "It appears a drive at Node 0 or a MODEM is\nout on the selected COM port!\n\n"
               "Select a correct COM port or choose a \nnon-zero Node number.";
    talvero::ThePrompter().Message(box);
    return false;
  }
  return true;
}

void ISP::isBad(int node) {
  ++FailedOperations;
  ErrorCount = rt::SaturatingIncrement(ErrorCount);
  if (node < 0 || node > 255) return;
  int16_t& count = NodeErrorCount[size_t(node)];
  count = rt::SaturatingIncrement(count, kNodeErrorCap);
  AxisHadTimeOuts = count >= kNodeErrorsForTimeOuts;
}

std::string ISP::Transact(int node, const std::string& data, int32_t pauseMs, int16_t expected,
                          int tries, const std::function<bool()>& stop) {
  // Refused before anything is framed: it could not be sent as one packet.
  LastReplyDamaged = false;
  if (Unframeable(node, data)) return "";
  // Only the bytes read for this request count: the pause and the stop check
  // let window events run, and a timer's own request may come and go there.
  bool heard = false;
  // A copy: the hook may be replaced while it runs (window events run there).
  const std::function<bool(int)> gate = BeforeRetry;
  for (int t = 1; t <= tries; ++t) {
    if (t > 1 && stop && stop()) break;
    if (t > 1 && gate && !gate(node)) break;
    SendPacket(node, data);
    if (pauseMs > 0) GoSleep(pauseMs);
    int16_t len = expected;
    heard_ = false;
    std::string reply = GetPacket(len);
    heard = heard || heard_;
    if (!reply.empty()) return reply;
  }
  LastReplyDamaged = heard;
  return "";
}

std::optional<std::string> ISP::Outgoing(const std::string& text) {
  auto bytes = linktext::ToDrive(text);
  // Not a line failure: counted only so callers see the operation failed.
  if (!bytes) ++FailedOperations;
  return bytes;
}

std::string ISP::Ask(int node, const std::string& data, int32_t pauseMs, int16_t expected, int tries) {
  std::string reply = Transact(node, data, pauseMs, expected, tries);
  if (reply.empty()) isBad(node);
  return reply;
}

bool ISP::Ack(int node, const std::string& data, int32_t pauseMs, int tries) {
  return !Ask(node, data, pauseMs, 1, tries).empty();
}
