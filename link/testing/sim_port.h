#pragma once
// A serial port joined in memory to a line of simulated drives: what the link
// writes goes straight to the drives, their answers become readable at once.
// With a fake clock a read that times out moves the clock on instead of
// waiting, and a drive's delayed answer arrives when the clock gets there.
// The tests of every window that talks to drives use it through
// mainwin/tests/sim_window_fixture.h.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"
#include "sim/sim_line.h"

namespace talvero::testing {

class SimPort : public SerialPort {
 public:
  // Without a clock, waits cost nothing and delays are ignored.
  explicit SimPort(sim::SimLine& line, FakeClock* clock = nullptr) : line_(line), clock_(clock) {}

  void SetPortNumber(int n) override { portNumber = n; }
  void SetSpeed(int baud) override { speed = baud; }
  void SetDataBits(int) override {}
  void SetLineSetting(LineSetting, int) override {}
  int32_t Open() override;
  void Close() override;
  int ReadByte(int32_t timeoutMs) override;
  void WriteByte(uint8_t byte) override;
  void WriteString(const std::string& bytes) override;
  std::string ReadString(int maxLen, int32_t timeoutMs) override;
  PortFailure LastFailure() const override { return failure_; }
  bool LineGone() const override { return gone_; }
  std::string DevicePath() const override { return device; }

  // The device goes away, as an unplugged adapter does: queued bytes are
  // lost and every read and write fails until the next Open.
  void HangUp() {
    gone_ = true;
    input_.clear();
  }
  // Runs before each write of a byte and each read on the open line: a test
  // hangs the line up part-way through an operation that runs no event loop.
  std::function<void()> beforeIo;
  // DevicePath's answer.
  std::string device = "/dev/ttySIM0";

  // Set to make the next opens fail with this reason.
  PortFailureReason refuseOpen = PortFailureReason::None;
  int portNumber = 0, speed = 0;
  int opens = 0, closes = 0;
  bool isOpen = false;
  uint64_t bytesOut = 0, bytesIn = 0;

 private:
  struct Pending {
    int64_t at;  // clock time the byte is on the line
    uint8_t byte;
  };
  int64_t Now() const { return clock_ ? clock_->NowMs() : 0; }
  // The next byte that arrives within the wait, the clock moved to it.
  int Take(int32_t timeoutMs);

  sim::SimLine& line_;
  FakeClock* clock_;
  std::deque<Pending> input_;
  PortFailure failure_;
  bool gone_ = false;
};

}  // namespace talvero::testing
