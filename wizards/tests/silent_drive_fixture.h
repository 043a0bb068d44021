#pragma once
// A read run on a drive that does not answer, at the program's tries and
// time-outs on the fake clock: what it sent the drive, what the link
// counted, and the longest time it let no window event run. Shared by the
// wizards', the scope's and the report's tests; any SimWindowTest fixture
// takes it:  class MyTest : public SilentDriveTest<WizardTest> {};
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "mainwin/tests/sim_window_fixture.h"

template <class Fixture>
class SilentDriveTest : public Fixture {
 protected:
  struct Cost {
    std::vector<std::string> sent;  // the node's requests, each try
    int errors = 0;                 // ErrorCount's rise
    int nodeErrors = 0;             // NodeErrorCount's rise for the node
    uint64_t failed = 0;            // FailedOperations' rise
    int64_t stall = 0;              // ms without a window event
  };

  // before runs on the answering drive; then the node falls silent, known
  // to the window as silent or not yet, and run runs. The drive stays silent.
  Cost Silent(int node, bool known, const std::function<void()>& before, const std::function<void()>& run) {
    MainWin& w = *this->win;
    this->sim.ClearFaults();
    w.Answers.Answered(node);
    before();
    w.Link.Retries = 8;
    w.Link.FirstByteTimeout = 750;
    w.Link.NextByteTimeout = 300;
    this->sim.AddFault(talvero::sim::FaultRule::Silent(node));
    if (known) w.Answers.Failed(node);
    this->sim.ClearLog();
    const ISP& link = w.Link;
    Cost c;
    c.errors = -link.ErrorCount;
    c.nodeErrors = -link.NodeErrorCount[size_t(node)];
    c.failed = link.FailedOperations;
    int64_t last = this->clock.NowMs();
    this->pump = [&]() {
      c.stall = std::max(c.stall, this->clock.NowMs() - last);
      last = this->clock.NowMs();
    };
    run();
    this->pump = nullptr;
    c.stall = std::max(c.stall, this->clock.NowMs() - last);
    c.sent = this->sim.Requests(node);
    c.errors += link.ErrorCount;
    c.nodeErrors += link.NodeErrorCount[size_t(node)];
    c.failed = link.FailedOperations - c.failed;
    return c;
  }

  // One request sent (a full retry cycle, or one try when known silent),
  // each count up by one, and the window never held for more than 2 s.
  static void ExpectOneFailedRequest(const Cost& c, bool known, const std::string& request, const std::string& what) {
    EXPECT_EQ(c.sent, std::vector<std::string>(known ? 1 : 8, request)) << what;
    EXPECT_EQ(c.errors, 1) << what;
    EXPECT_EQ(c.nodeErrors, 1) << what;
    EXPECT_EQ(c.failed, 1u) << what;
    EXPECT_LE(c.stall, 2000) << what << ": the window ran no event for " << c.stall << " ms";
  }
};
