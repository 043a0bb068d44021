#pragma once
// Every wait, every clock reading and every "let pending window events run"
// goes through here, so tests can run with a fake clock at full speed.
#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

namespace talvero {

struct LocalDateTime {
  int year = 2000;   // four digits
  int month = 1;     // 1..12
  int day = 1;       // 1..31
  int weekday = 1;   // Sunday = 1 .. Saturday = 7
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic milliseconds since an arbitrary origin.
  virtual int64_t NowMs() = 0;
  // Blocks for ms milliseconds; no window events run meanwhile.
  virtual void SleepMs(int64_t ms) = 0;
  // Lets pending window events run (the legacy DoEvents).
  virtual void ProcessEvents() = 0;
  virtual LocalDateTime Now() = 0;
};

// The real clock. ProcessEvents calls the pump the user interface installs.
class SystemClock : public Clock {
 public:
  int64_t NowMs() override;
  void SleepMs(int64_t ms) override;
  void ProcessEvents() override;
  LocalDateTime Now() override;
  void SetEventPump(std::function<void()> pump) { pump_ = std::move(pump); }

 private:
  std::function<void()> pump_;
};

// Time moves only when someone sleeps or calls Advance.
class FakeClock : public Clock {
 public:
  int64_t NowMs() override { return now_; }
  void SleepMs(int64_t ms) override;
  void ProcessEvents() override;
  LocalDateTime Now() override { return date_; }

  void Advance(int64_t ms) { now_ += ms; }
  void SetDate(const LocalDateTime& d) { date_ = d; }
  void SetEventPump(std::function<void()> pump) { pump_ = std::move(pump); }
  const std::vector<int64_t>& Sleeps() const { return sleeps_; }
  void ClearSleeps() { sleeps_.clear(); }
  int EventPumps() const { return pumps_; }

 private:
  int64_t now_ = 0;
  LocalDateTime date_;
  std::vector<int64_t> sleeps_;
  std::function<void()> pump_;
  int pumps_ = 0;
};

// The process-wide clock; the system clock unless a test installs another.
Clock& TheClock();
SystemClock& TheSystemClock();
void SetClock(Clock* clock);  // nullptr restores the system clock

}  // namespace talvero
