#include <gtest/gtest.h>

#include "platform/clock/clock.h"

namespace talvero {
namespace {

TEST(FakeClock, SleepAdvancesTimeAndIsLogged) {
  FakeClock c;
  SetClock(&c);
  TheClock().SleepMs(20);
  TheClock().SleepMs(0);
  TheClock().SleepMs(-5);
  EXPECT_EQ(c.NowMs(), 20);
  EXPECT_EQ(c.Sleeps(), (std::vector<int64_t>{20, 0, -5}));
  int pumped = 0;
  c.SetEventPump([&] { ++pumped; });
  TheClock().ProcessEvents();
  EXPECT_EQ(pumped, 1);
  SetClock(nullptr);
  EXPECT_EQ(&TheClock(), &TheSystemClock());
}

TEST(SystemClock, SleepWaitsAtLeastTheTime) {
  SystemClock c;
  int64_t t0 = c.NowMs();
  c.SleepMs(15);
  EXPECT_GE(c.NowMs() - t0, 15);
  LocalDateTime d = c.Now();
  EXPECT_GE(d.year, 2000);
  EXPECT_TRUE(d.weekday >= 1 && d.weekday <= 7);
}

}  // namespace
}  // namespace talvero
