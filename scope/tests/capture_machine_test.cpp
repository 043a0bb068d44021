// The capture sequence against a simulated drive, with a host that records
// what the window would show and a fake clock.
#include "scope/model/capture_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <functional>

#include "link/failure_watch.h"
#include "link/isp.h"
#include "link/testing/sim_port.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/sim_line.h"

namespace scope {
namespace {

using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

struct FakeHost : CaptureHost {
  void Schedule(int ms) override {
    pending = true;
    due = ms;
  }
  void CancelSchedule() override { pending = false; }
  CaptureChoice Choice() override { return choice; }
  bool FreeRun() override { return freeRun; }
  bool Repeat() override { return repeat; }
  void SetBusy(bool b) override { busy = b; }
  void StateChanged(CaptureState s) override {
    states.push_back(s);
    if (onState) onState(s);
  }
  void Plot(const Trace& u, const Trace& l) override {
    ++plots;
    upper = u;
    lower = l;
    if (onPlot) onPlot();
  }
  bool Ask(const std::function<void()>& request) override {
    const FailureWatch watch(*link);
    request();
    if (betweenTries) std::exchange(betweenTries, nullptr)();  // the window runs once
    return !watch.Failed();
  }

  bool pending = false;
  int due = 0;
  CaptureChoice choice{"0.1", 5, 2};
  bool freeRun = false, repeat = false, busy = false;
  std::vector<CaptureState> states;
  std::function<void(CaptureState)> onState;
  std::function<void()> onPlot;
  int plots = 0;
  Trace upper, lower;
  ISP* link = nullptr;
  std::function<void()> betweenTries;  // what the window does while a request waits
};

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    talvero::SetClock(&clock);
    sim.AddDrive(1, talvero::sim::Family::RHO).SetCapturePolls(3);
    link.SetPort(std::make_unique<talvero::testing::SimPort>(sim, &clock));
    link.OpenPort(1);
    link.FirstByteTimeout = 40;
    link.NextByteTimeout = 20;
    machine.SetNode(1);
    host.link = &link;
  }
  void TearDown() override {
    talvero::SetClock(nullptr);
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(prompter.AllShown());
  }
  // The timer's ticks until nothing is scheduled, the clock moved as they wait.
  void Run(int limit = 200) {
    while (host.pending && limit-- > 0) {
      host.pending = false;
      clock.Advance(host.due);
      machine.Tick();
    }
    ASSERT_GT(limit, 0) << "the capture never ended";
  }
  // Ticks until the machine is in the state (or idle).
  void RunTo(CaptureState s) {
    for (int i = 0; i < 200 && host.pending && machine.State() != s; ++i) {
      host.pending = false;
      clock.Advance(host.due);
      machine.Tick();
    }
    ASSERT_EQ(machine.State(), s);
  }
  std::vector<std::string> Requests() { return sim.Requests(1); }

  talvero::FakeClock clock;
  talvero::ScriptedPrompter prompter;
  talvero::sim::SimLine sim;
  ISP link;
  FakeHost host;
  CaptureMachine machine{link, host};
};

const std::string kReadOut[] = {std::string("\x0D\x00", 2), std::string("\x0C\x00", 2), "+UU",
                                std::string("\x0D\x01", 2), std::string("\x0C\x01", 2), "+UU"};

TEST_F(CaptureTest, CapturesGoOutInTheOrderOfTheSequence) {
  struct Case {
    bool freeRun;
    const char* timebase;
    int upper, lower;
    std::string start;
  } cases[] = {
      {false, "0.1", 5, 2, std::string("\x18\x01\x05\x02", 4)},
      {true, "0.3", 5, 2, std::string("\x0B\x03\x05\x02", 4)},
      {false, "25.0", 0, 14, std::string("\x18\xFA\x00\x0E", 4)},
  };
  for (const Case& c : cases) {
    sim.ClearLog();
    host.choice = {c.timebase, c.upper, c.lower};
    host.freeRun = c.freeRun;
    machine.HandleCaptureKey(13);
    EXPECT_EQ(machine.State(), CaptureState::Armed);
    EXPECT_EQ(host.due, 100);
    EXPECT_TRUE(Requests().empty()) << "armed sends nothing";
    Run();
    std::vector<std::string> want = {c.start, "Q", "Q", "Q", "Q"};  // three unfinished polls
    want.insert(want.end(), std::begin(kReadOut), std::end(kReadOut));
    EXPECT_EQ(Requests(), want) << c.timebase;  // no stop request on a normal end
    EXPECT_EQ(machine.State(), CaptureState::Idle);
    EXPECT_FALSE(host.busy);
  }
  EXPECT_EQ(host.plots, 3);
}

TEST_F(CaptureTest, PollsWaitFiftyMillisecondsAndTheStatesFollowTheSequence) {
  std::vector<int> waits;
  machine.HandleCaptureKey(13);
  for (int i = 0; host.pending && i < 20; ++i) {
    waits.push_back(host.due);
    host.pending = false;
    machine.Tick();
  }
  EXPECT_FALSE(host.pending) << "a one-shot capture that does not end";
  EXPECT_EQ(waits, (std::vector<int>{100, 0, 0, 50, 50, 50, 0}));
  EXPECT_EQ(host.states, (std::vector<CaptureState>{CaptureState::Armed, CaptureState::Starting,
                                                    CaptureState::Polling, CaptureState::Reading,
                                                    CaptureState::Idle}));
}

TEST_F(CaptureTest, TracesTakeTimeFromTheTimebaseAndValuesFromScaleAndOffset) {
  std::string block0(250, '\0'), block1(250, '\0');
  for (int k = 0; k < 250; ++k) {
    block0[k] = char(k);
    block1[k] = char(255 - k);
  }
  sim.Drive(1).SetCaptureBlock(0, block0);
  sim.Drive(1).SetCaptureBlock(1, block1);
  sim.Drive(1).SetScaleText(0, "0,-3");  // a scale of 0 plots the raw values
  sim.Drive(1).SetScaleText(1, "2.5,1.5");
  sim.Drive(1).SetValue("UU", "5");
  host.choice = {"25.0", 5, 9};
  machine.HandleCaptureKey(13);
  Run();
  ASSERT_EQ(host.plots, 1);
  const Trace& u = host.upper;
  const Trace& l = host.lower;
  ASSERT_EQ(u.x.size(), 250u);
  EXPECT_DOUBLE_EQ(u.x[0], 0);
  EXPECT_NEAR(u.x[249], 24.9, 1e-12);
  EXPECT_NEAR(u.x[1] - u.x[0], 0.1, 1e-12);
  EXPECT_DOUBLE_EQ(u.y[0], -3);
  EXPECT_DOUBLE_EQ(u.y[200], 197);
  EXPECT_DOUBLE_EQ(l.y[0], 255 / 2.5 + 1.5);
  EXPECT_DOUBLE_EQ(l.y[249], 6 / 2.5 + 1.5);
  EXPECT_EQ(u.title, "Feedback Velocity (system-rev/sec)");
  EXPECT_EQ(u.suffix, " (system-rev/sec)");
  EXPECT_EQ(l.title, "PID Reference");
  EXPECT_EQ(l.suffix, "");

  host.choice = {"0.1", 5, 2};
  machine.HandleCaptureKey(13);
  Run();
  EXPECT_NEAR(host.upper.x[1], 0.0004, 1e-15);
  EXPECT_NEAR(host.upper.x[249], 0.0996, 1e-12);
  EXPECT_DOUBLE_EQ(host.upper.seconds, 0.1);
}

TEST_F(CaptureTest, EscInEveryState) {
  const std::string start("\x18\x01\x05\x02", 4);
  std::vector<std::string> finished = {start, "Q", "Q", "Q", "Q"};
  finished.insert(finished.end(), std::begin(kReadOut), std::end(kReadOut));
  struct Case {
    CaptureState at;
    std::vector<std::string> sent;  // the whole conversation
    int plots;
  } cases[] = {
      // Armed: disarmed at once, nothing sent.
      {CaptureState::Armed, {}, 0},
      // Starting: the start request is never sent.
      {CaptureState::Starting, {}, 0},
      // Polling: the next tick stops the drive.
      {CaptureState::Polling, {start, std::string("\x0E")}, 0},
      // The finishing poll is in, the read not yet: still read and plotted,
      // no stop, and the series ends.
      {CaptureState::Reading, finished, 1},
  };
  host.repeat = true;
  for (const Case& c : cases) {
    sim.ClearLog();
    host.plots = 0;
    machine.HandleCaptureKey(13);
    if (c.at != CaptureState::Armed) RunTo(c.at);
    machine.HandleCaptureKey(27);
    EXPECT_EQ(machine.State(), c.at == CaptureState::Armed ? CaptureState::Idle : CaptureState::Aborting);
    if (c.at != CaptureState::Armed) machine.HandleCaptureKey(13);  // Enter while aborting does nothing
    Run();
    EXPECT_EQ(machine.State(), CaptureState::Idle);
    EXPECT_EQ(Requests(), c.sent);
    EXPECT_EQ(host.plots, c.plots);
    EXPECT_FALSE(host.busy);
  }
  machine.HandleCaptureKey(27);  // Esc while idle does nothing
  EXPECT_EQ(machine.State(), CaptureState::Idle);
  EXPECT_FALSE(host.pending);
}

TEST_F(CaptureTest, EscWhileReadingStillPlotsButEndsTheSeries) {
  host.repeat = true;
  host.onPlot = [&]() { machine.HandleCaptureKey(27); };
  machine.HandleCaptureKey(13);
  Run();
  EXPECT_EQ(host.plots, 1);
  EXPECT_EQ(machine.State(), CaptureState::Idle);
  const auto sent = Requests();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("\x0E")), 0);
}

TEST_F(CaptureTest, RepeatSeriesReadsTheMenusAgainAndEndsOnOneShotOrEsc) {
  host.repeat = true;
  machine.HandleCaptureKey(13);
  RunTo(CaptureState::RepeatWait);
  EXPECT_EQ(host.due, 250);
  EXPECT_FALSE(host.busy) << "settings open between captures";
  host.choice = {"1.0", 3, 4};  // changed between captures
  machine.Tick();
  RunTo(CaptureState::RepeatWait);
  host.repeat = false;  // back to 1-Shot
  Run();
  EXPECT_EQ(machine.State(), CaptureState::Idle);
  EXPECT_EQ(host.plots, 3);
  std::vector<std::string> starts;
  for (const auto& r : Requests())
    if (r[0] == '\x18') starts.push_back(r);
  EXPECT_EQ(starts, (std::vector<std::string>{std::string("\x18\x01\x05\x02", 4), std::string("\x18\x0A\x03\x04", 4),
                                              std::string("\x18\x0A\x03\x04", 4)}));

  // Esc in the wait: no further start.
  host.repeat = true;
  machine.HandleCaptureKey(13);
  RunTo(CaptureState::RepeatWait);
  sim.ClearLog();
  machine.HandleCaptureKey(27);
  EXPECT_EQ(machine.State(), CaptureState::Idle);
  EXPECT_FALSE(host.pending);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(CaptureTest, AFailedOrShortBlockOnEitherTracePlotsNothing) {
  const char* kText = "Unable to properly acquire data...plot data may be invalid.";
  for (const std::string& cmd : {std::string("\x0D\x00", 2), std::string("\x0D\x01", 2)}) {
    sim.ClearFaults();
    sim.AddFault(FaultRule::Kind(FaultKind::ShortReply, 1, cmd));
    prompter.ExpectMessage(kText, talvero::Answer::Ok, "KOVscope");
    host.repeat = true;
    machine.HandleCaptureKey(13);
    Run();
    EXPECT_EQ(machine.State(), CaptureState::Idle);
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(host.plots, 0);
  }
  // Only the failing block's trace is asked once the first one fails.
  const auto r = Requests();
  EXPECT_EQ(r.back().substr(0, 1), "\x0D");
}

TEST_F(CaptureTest, TheFirstRequestThatFailsAllItsTriesEndsTheCaptureAndNothingMoreIsSent) {
  link.Retries = 3;
  struct Case {
    CaptureState from;    // the drive falls silent as the machine gets there
    std::string failing;  // the request that fails its three tries
    const char* box;
  } cases[] = {
      {CaptureState::Starting, std::string("\x18\x01\x05\x02", 4), "Node 1 does not answer...capture stopped."},
      {CaptureState::Polling, "Q", "Node 1 does not answer...capture stopped."},
      // A scale or a unit the drive did not give is never plotted with a default.
      {CaptureState::Reading, std::string("\x0D\x00", 2), "Unable to properly acquire data...plot data may be invalid."},
  };
  for (const Case& c : cases) {
    sim.ClearFaults();
    machine.HandleCaptureKey(13);
    RunTo(c.from);
    sim.ClearLog();
    sim.AddFault(FaultRule::Silent(1));
    const uint64_t failed = link.FailedOperations;
    prompter.ExpectMessage(c.box, talvero::Answer::Ok, "KOVscope");
    Run();
    EXPECT_EQ(machine.State(), CaptureState::Idle);
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(Requests(), std::vector<std::string>(3, c.failing)) << "no stop, no further poll or read";
    EXPECT_EQ(link.FailedOperations, failed + 1);
  }
  EXPECT_EQ(host.plots, 0);
  for (const char* cmd : {"\x0C", "+UU"}) {
    sim.ClearFaults();
    sim.AddFault(FaultRule::Missing(1, cmd, -1));
    prompter.ExpectMessage("Unable to properly acquire data...plot data may be invalid.", talvero::Answer::Ok,
                           "KOVscope");
    machine.HandleCaptureKey(13);
    Run();
    EXPECT_EQ(host.plots, 0) << cmd;
  }
}

TEST_F(CaptureTest, FreeRunGivesUpAfterTwiceTheTimebaseAndFiveSecondsButATriggerWaits) {
  sim.Drive(1).SetCapturePolls(1000000);
  host.freeRun = true;
  const struct {
    const char* timebase;
    int64_t giveUpMs;  // twice the timebase and five seconds
  } cases[] = {{"0.1", 5200}, {"25.0", 55000}};
  for (const auto& c : cases) {
    host.choice = {c.timebase, 5, 2};
    // It answered every poll: it is not called silent.
    prompter.ExpectMessage("The drive did not finish the capture...capture stopped.", talvero::Answer::Ok, "KOVscope");
    const int64_t t0 = clock.NowMs();
    machine.HandleCaptureKey(13);
    for (int i = 0; i < 5000 && host.pending && clock.NowMs() - t0 < c.giveUpMs - 150; ++i) {
      host.pending = false;
      clock.Advance(host.due);
      machine.Tick();
    }
    EXPECT_EQ(machine.State(), CaptureState::Polling) << c.timebase << ": still polling near the limit";
    Run(5000);
    EXPECT_EQ(machine.State(), CaptureState::Idle);
    EXPECT_GE(clock.NowMs() - t0, c.giveUpMs) << c.timebase;
    EXPECT_LT(clock.NowMs() - t0, c.giveUpMs + 400) << c.timebase;
    EXPECT_EQ(sim.Requests(1).back(), "\x0E");
  }

  host.freeRun = false;
  machine.HandleCaptureKey(13);
  for (int i = 0; i < 1000; ++i) {
    host.pending = false;
    clock.Advance(host.due);
    machine.Tick();
  }
  EXPECT_EQ(machine.State(), CaptureState::Polling) << "a triggered capture waits for its trigger";
  machine.HandleCaptureKey(27);
  Run();
  EXPECT_EQ(machine.State(), CaptureState::Idle);
}

// The window runs while a request waits for its next try: an Esc or a hide
// taken then is heard when the request ends, and the capture never starts
// again behind it.
TEST_F(CaptureTest, AnEscOrAHideWhileARequestWaitsIsHeardOnceItEnds) {
  const std::string start("\x18\x01\x05\x02", 4), stop("\x0E", 1);
  struct Case {
    CaptureState at;
    bool hide;
    std::vector<std::string> sent;
  } cases[] = {
      {CaptureState::Starting, false, {start, stop}},  // the drive captures: it is told to stop
      {CaptureState::Polling, false, {"Q", stop}},
      {CaptureState::Starting, true, {start}},
      {CaptureState::Polling, true, {"Q", stop}},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.hide ? "hide" : "Esc") +
                             (c.at == CaptureState::Starting ? " while starting" : " while polling");
    machine.HandleCaptureKey(13);
    RunTo(c.at);
    sim.ClearLog();
    host.betweenTries = [&]() {
      if (c.hide) machine.Abort();
      else machine.HandleCaptureKey(27);
    };
    Run();
    EXPECT_EQ(machine.State(), CaptureState::Idle) << what;
    EXPECT_FALSE(host.busy) << what;
    EXPECT_EQ(Requests(), c.sent) << what;
  }
  EXPECT_EQ(host.plots, 0);
}

TEST_F(CaptureTest, AbortEndsQuietlyFromAnyState) {
  machine.HandleCaptureKey(13);
  RunTo(CaptureState::Polling);
  sim.ClearLog();
  machine.Abort();
  EXPECT_EQ(machine.State(), CaptureState::Idle);
  EXPECT_FALSE(host.pending);
  EXPECT_EQ(Requests(), std::vector<std::string>{"\x0E"});
  machine.HandleCaptureKey(13);
  machine.Abort();
  EXPECT_EQ(machine.State(), CaptureState::Idle);
  EXPECT_EQ(Requests(), std::vector<std::string>{"\x0E"});
}

}  // namespace
}  // namespace scope
