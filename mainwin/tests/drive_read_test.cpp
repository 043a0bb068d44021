// One read of several requests to one drive (mainwin/drive_read.h) on the
// real window's link, against simulated drives at nodes 1 and 4.
#include "mainwin/drive_read.h"

#include <QTimer>

#include "mainwin/tests/sim_window_fixture.h"
#include "sim/fault_plan.h"

namespace {

using talvero::sim::FaultRule;

class DriveReadTest : public SimWindowTest {
 protected:
  void SetUp() override {
    SimWindowTest::SetUp();
    AddDrive(1, talvero::sim::Family::RHO, "KV110c", "Feed");
    AddDrive(4, talvero::sim::Family::TAU, "KV110i", "Lift");
    ASSERT_TRUE(StartOnLine());
    win->TStat->stop();
  }
  // Three values of drive 1 in one read; how many of them were answered.
  int ReadThree(mainwin::DriveRead& read) {
    int answered = 0;
    for (const char* name : {"VEL", "POS", "KP"})
      if (read.Ask([&]() { win->Link.ValueOf(1, name); })) ++answered;
    return answered;
  }
  // Runs f once, at the first time window events run.
  void AtFirstPump(std::function<void()> f) {
    pump = [this, f, done = false]() mutable {
      if (done) return;
      done = true;
      f();
    };
  }
};

TEST_F(DriveReadTest, AFailedRequestEndsTheReadAndASilentDriveGetsOneTry) {
  sim.AddFault(FaultRule::Silent(1));
  for (const bool known : {false, true}) {
    SCOPED_TRACE(known ? "known silent" : "silent for the first time");
    sim.ClearLog();
    const uint64_t failed = win->Link.FailedOperations;
    const int16_t nodeErrors = win->Link.NodeErrorCount[1];
    const int pumps = clock.EventPumps();
    mainwin::DriveRead read(*win, 1);
    EXPECT_EQ(ReadThree(read), 0);
    EXPECT_EQ(sim.Requests(1), std::vector<std::string>(known ? 1 : 8, "=VEL"));
    // Window events between the tries; before the one try of a drive known silent.
    EXPECT_EQ(clock.EventPumps() - pumps, known ? 1 : 7);
    EXPECT_EQ(win->Link.FailedOperations, failed + 1);
    EXPECT_EQ(win->Link.NodeErrorCount[1], nodeErrors + 1);
    EXPECT_TRUE(read.Failed());
    EXPECT_TRUE(win->Answers.Silent(1));
    EXPECT_EQ(read.NotAnswering(), "Node 1 does not answer");
  }
}

TEST_F(DriveReadTest, ARequestFailedBetweenTheTriesIsNotThisReads) {
  // Drive 1 loses its first reply; meanwhile a request to silent drive 4 fails.
  sim.AddFault(FaultRule::Missing(1, "=VEL", 1));
  sim.AddFault(FaultRule::Silent(4));
  AtFirstPump([this]() { win->Link.ValueOf(4, "VEL"); });
  mainwin::DriveRead read(*win, 1);
  EXPECT_EQ(ReadThree(read), 3);
  EXPECT_FALSE(read.Failed());
  EXPECT_EQ(sim.Requests(1), (std::vector<std::string>{"=VEL", "=VEL", "=POS", "=KP"}));
  EXPECT_FALSE(win->Answers.Silent(1));
}

TEST_F(DriveReadTest, TheDriveFoundSilentBetweenTheTriesEndsTheRequest) {
  // As the status tick does when its own request finds the drive silent.
  sim.AddFault(FaultRule::Silent(1));
  AtFirstPump([this]() { win->Answers.Failed(1); });
  const uint64_t failed = win->Link.FailedOperations;
  mainwin::DriveRead read(*win, 1);
  EXPECT_EQ(ReadThree(read), 0);
  EXPECT_EQ(sim.Requests(1), std::vector<std::string>{"=VEL"});
  EXPECT_EQ(win->Link.FailedOperations, failed + 1);
}

}  // namespace
