#pragma once
// A link on a scripted line, with the fake clock installed.
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "link/isp.h"
#include "link/tests/scripted_port.h"
#include "platform/clock/clock.h"

namespace linktest {

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() {
    talvero::SetClock(&clock);
    clock.SetDate({2026, 12, 9, 4, 14, 5, 33});  // a Wednesday
    auto owned = std::make_unique<ScriptedPort>(clock);
    port = owned.get();
    isp = std::make_unique<ISP>(std::move(owned));
    isp->Retries = 2;
  }
  ~LinkTest() override {
    isp.reset();
    talvero::SetClock(nullptr);
  }
  void Open(int16_t n = 1) {
    isp->OpenPort(n);
    clock.ClearSleeps();
  }
  // Sleeps the link asked for since the last reset.
  std::vector<int64_t> Sleeps() const { return clock.Sleeps(); }

  talvero::FakeClock clock;
  ScriptedPort* port = nullptr;
  std::unique_ptr<ISP> isp;
};

inline std::string Show(bool b) { return b ? "True" : "False"; }
inline std::string Show(float f) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", double(f));
  return buf;
}
inline std::string Show(long long v) { return std::to_string(v); }

}  // namespace linktest
