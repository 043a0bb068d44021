// The panel end to end: the program's own serial port object against drives
// on a pseudo-terminal, real time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tests/pty_window_env.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/fault_plan.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

using talvero::sim::Family;

TEST(OnlinePty, TickAndEStopOverARealLine) {
  talvero::sim::SimLine sim;
  for (auto [node, family] : {std::pair{1, Family::RHO}, {4, Family::TAU}, {7, Family::PSI}}) {
    talvero::sim::SimDrive& d = sim.AddDrive(node, family);
    d.SetModel("KV110c");
    d.SetName("D" + std::to_string(node));
  }
  sim.Drive(7).SetValue("TPOS", "12.5");
  sim.Drive(7).SetValue("TR", "2");
  sim.Drive(7).SetValue("UU", "4");
  PtyWindowEnv line(sim);
  ASSERT_TRUE(line.Start()) << line.server.Error();
  {
    MainWin win(line.Env());
    OnlinePanel* panel = new OnlinePanel(win);
    ASSERT_TRUE(win.Form_Load(""));
    win.TStat->stop();
    // Unpaced drives answer at once; short time-outs let the empty nodes pass quickly.
    win.Link.FirstByteTimeout = 10;
    win.Link.NextByteTimeout = 10;
    win.Link.Retries = 3;
    win.COM__Click(0);
    win.TStat->stop();
    ASSERT_TRUE(win.NodeTables.HasDrive(7));

    win.Sys->Select("#7");
    win.Sys_NodeClick("#7");
    win.Watch->setCurrentRow(0);
    panel->WA_TP_Click();
    win.Sys->Select("SS1");
    win.Sys_NodeClick("SS1");
    sim.ClearLog();
    panel->TStat_Timer();
    EXPECT_EQ(win.Watch->item(0)->text().toStdString(), "[7] Target Position 6.2500 mm");
    std::vector<std::string> sent;
    for (const auto& r : sim.Log()) sent.push_back(std::to_string(r.node) + ":" + r.data);
    EXPECT_EQ(sent, (std::vector<std::string>{"7:+TPOS", "7:+TR", "7:+UU", "1:Q", "1:q"}));
    EXPECT_EQ(win.Link.ErrorCount, 0);

    // Node 4 stops answering: node 7 still gets its E-stop before 4's retries.
    sim.AddFault(talvero::sim::FaultRule::Silent(4));
    sim.ClearLog();
    panel->BrakeAll_Click();
    sent.clear();
    for (const auto& r : sim.Log())
      if (r.data == "\x1B") sent.push_back(std::to_string(r.node));
    EXPECT_EQ(sent, (std::vector<std::string>{"1", "4", "7", "4", "4"}));
  }
  talvero::TheSystemClock().SetEventPump(nullptr);
  unsetenv("TALVERO_COM1");
  line.server.Stop();
  EXPECT_EQ(line.prompter.Failures(), std::vector<std::string>{});
}

}  // namespace
