#include "platform/clock/clock.h"

#include <chrono>
#include <thread>

namespace talvero {

int64_t SystemClock::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::SleepMs(int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SystemClock::ProcessEvents() {
  if (pump_) pump_();
}

LocalDateTime SystemClock::Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalDateTime d;
  d.year = tm.tm_year + 1900;
  d.month = tm.tm_mon + 1;
  d.day = tm.tm_mday;
  d.weekday = tm.tm_wday + 1;
  d.hour = tm.tm_hour;
  d.minute = tm.tm_min;
  d.second = tm.tm_sec;
  return d;
}

void FakeClock::SleepMs(int64_t ms) {
  sleeps_.push_back(ms);
  if (ms > 0) now_ += ms;
}

void FakeClock::ProcessEvents() {
  ++pumps_;
  if (pump_) pump_();
}

namespace {
Clock* g_clock = nullptr;
}

SystemClock& TheSystemClock() {
  static SystemClock clock;
  return clock;
}

Clock& TheClock() { return g_clock ? *g_clock : TheSystemClock(); }

void SetClock(Clock* clock) { g_clock = clock; }

}  // namespace talvero
