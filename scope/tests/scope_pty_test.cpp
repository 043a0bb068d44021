// One capture end to end: the program's own serial port on a pseudo-terminal
// with a simulated drive, the real clock, timer and event loop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include "mainwin/main_win.h"
#include "mainwin/tests/pty_window_env.h"
#include "platform/clock/clock.h"
#include "platform/ui/qt/window_factory.h"
#include "platform/ui/scripted_prompter.h"
#include "scope/install.h"
#include "scope/scope.h"
#include "scope/scope_chart.h"
#include "scope/scope_status_bar.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

TEST(ScopePty, EnterCapturesFromADriveOnASerialLine) {
  talvero::sim::SimLine sim;
  sim.AddDrive(1, talvero::sim::Family::RHO).SetCapturePolls(3);
  PtyWindowEnv line(sim);
  ASSERT_TRUE(line.Start()) << line.server.Error();
  auto win = std::make_unique<MainWin>(line.Env());
  scope::Install(*win);
  ASSERT_TRUE(win->Form_Load(""));
  win->Link.OpenPort(1);
  ASSERT_GT(win->Link.theHandle(), 0);
  win->CurNode = 1;
  win->ShowScope_Click();
  auto* s = qobject_cast<scope::Scope*>(talvero::TheWindowFactory().Existing("Scope"));
  ASSERT_NE(s, nullptr);
  s->UPD_Click(5);
  s->LPD_Click(2);

  QElapsedTimer t;
  t.start();
  QTest::keyClick(s, Qt::Key_Return);
  EXPECT_EQ(s->SB->Text(4), "Cancel");
  while (s->SB->Text(4) != "Capture" && t.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_EQ(s->SB->Text(4), "Capture");
  EXPECT_GE(t.elapsed(), 100 + 3 * 50) << "the arming wait and three poll waits";
  EXPECT_EQ(s->graph->Model().Count(), 250);
  EXPECT_EQ(s->graph->Title(), "Feedback Velocity (system-rev/sec)");
  EXPECT_EQ(s->graph2->Title(), "Target Velocity (system-rev/sec)");
  const std::vector<std::string> want = {std::string("\x0B\x01\x05\x02", 4), "Q", "Q", "Q", "Q",
                                         std::string("\x0D\x00", 2), std::string("\x0C\x00", 2), "+UU",
                                         std::string("\x0D\x01", 2), std::string("\x0C\x01", 2), "+UU"};
  EXPECT_EQ(sim.Requests(1), want);
  EXPECT_EQ(line.prompter.Failures(), std::vector<std::string>{});

  talvero::TheWindowFactory().Destroy("Scope");
  win.reset();
  talvero::TheSystemClock().SetEventPump(nullptr);
  unsetenv("TALVERO_COM1");
}

}  // namespace
