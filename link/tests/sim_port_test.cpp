// The in-memory line that window tests use: the real link against the
// simulated drives with no pseudo-terminal, and waits that cost only the
// fake clock.
#include <gtest/gtest.h>

#include "link/failure_watch.h"
#include "link/isp.h"
#include "link/testing/sim_port.h"
#include "platform/clock/clock.h"
#include "sim/sim_line.h"

namespace {

using talvero::sim::Family;
using talvero::sim::FaultRule;

class InMemoryLine : public ::testing::Test {
 protected:
  void SetUp() override {
    talvero::SetClock(&clock);
    line.AddDrive(1, Family::RHO);
    line.AddDrive(4, Family::TAU);
    auto owned = std::make_unique<talvero::testing::SimPort>(line, &clock);
    port = owned.get();
    isp.SetPort(std::move(owned));
    isp.Retries = 3;
    isp.FirstByteTimeout = 40;
    isp.NextByteTimeout = 20;
    isp.OpenPort(1);
  }
  void TearDown() override { talvero::SetClock(nullptr); }

  talvero::FakeClock clock;
  talvero::sim::SimLine line;
  ISP isp;
  talvero::testing::SimPort* port = nullptr;
};

TEST_F(InMemoryLine, DrivesAnswerAndSilentNodesCostTheirTimeOuts) {
  ASSERT_GT(isp.theHandle(), 0);
  EXPECT_EQ(isp.WhoAmI(4).substr(0, 4), "!TAU");
  EXPECT_TRUE(isp.SetDriveName(1, "Feed"));
  EXPECT_EQ(isp.GetDriveName(1), "Feed");

  const int64_t before = clock.NowMs();
  FailureWatch watch(isp);
  EXPECT_EQ(isp.GetDriveName(9), "");
  EXPECT_TRUE(watch.Failed());
  // Each of the three tries waits a first byte.
  EXPECT_GE(clock.NowMs() - before, 3 * 40);
  EXPECT_EQ(line.Requests(9).size(), 3u);
}

TEST_F(InMemoryLine, ClosedOrRefusedPortsCarryNothing) {
  isp.OpenPort(0);
  EXPECT_EQ(port->closes, 1);
  EXPECT_EQ(isp.WhoAmI(1), "");
  port->refuseOpen = talvero::PortFailureReason::Busy;
  isp.OpenPort(1);
  EXPECT_LE(isp.theHandle(), 0);
  EXPECT_EQ(isp.LastOpenFailure().reason, talvero::PortFailureReason::Busy);
  EXPECT_TRUE(line.Requests(1).size() <= 2u);
}

}  // namespace
