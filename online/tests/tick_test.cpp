// The status tick and UpdateState on the real window.
#include <QAction>
#include <QGroupBox>
#include <QToolButton>
#include <algorithm>

#include "mainwin/stat_strip.h"

#include "online/tests/online_fixture.h"
#include "sim/fault_plan.h"

using talvero::sim::FaultRule;

namespace {
const std::string kDot = " \xC2\xB7 ";
}

class TickTest : public OnlineTest {};

TEST_F(TickTest, AnyShownPopUpStopsTheTickWithNoRequestAndNoChange) {
  StartWithThreeDrives();
  Click("SS1");
  PickWatchLine(0);
  panel->WA_VEL_Click();
  panel->TStat_Timer();
  const std::string line = WatchLine(0), p2 = Panel(2), p3 = Panel(3);
  ASSERT_NE(p2, "");
  sim.Drive(1).SetValue("VEL", "99");
  sim.Drive(1).SetStatusExtraBits(0x0003);

  // The scope's chart menu counts without a scope window: any top-level menu of that name.
  QMenu asPlot;
  asPlot.setObjectName("ASPlot");
  asPlot.addAction("x");
  for (QMenu* m : {win->IOMenu, win->WAMenu, &asPlot}) {
    SCOPED_TRACE(m->objectName().toStdString());
    m->popup(QPoint(10, 10));
    ASSERT_TRUE(m->isVisible());
    sim.ClearLog();
    panel->TStat_Timer();
    panel->UpdateState();
    panel->ShowStatus();
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    EXPECT_EQ(WatchLine(0), line);
    EXPECT_EQ(Panel(2), p2);
    EXPECT_EQ(Panel(3), p3);
    m->hide();
  }
  panel->TStat_Timer();
  EXPECT_EQ(WatchLine(0), "[1] Motor Velocity 99.0 RPM");
  EXPECT_NE(Panel(2), p2);
}

TEST_F(TickTest, NoDriveSelectionEmptiesThePanelsAndHidesTheButtons) {
  StartWithThreeDrives();
  Click("SS1");
  panel->TStat_Timer();
  QToolButton* seven[] = {win->BtnRS, win->BtnPause, win->Btn1, win->SWE_ON, win->SWE_OFF, win->ShowScope, win->Toggle};
  for (QToolButton* b : seven) {
    if (b == win->Btn1) continue;
    EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
  }
  EXPECT_NE(Panel(2), "");
  EXPECT_NE(Panel(3), "");

  // An application axis: a negative node of an open application.
  win->CurNode = -2;
  win->AppSelected = true;
  sim.ClearLog();
  panel->TStat_Timer();
  EXPECT_EQ(Panel(2), "");
  EXPECT_EQ(Panel(3), "");
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  panel->UpdateState();
  for (QToolButton* b : seven) EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
  EXPECT_EQ(win->StepMarkerRow, -1);

  // The root: no axis at all.
  Click("SS1");
  panel->TStat_Timer();
  Click("!SY");
  panel->TStat_Timer();
  EXPECT_EQ(Panel(2), "");
  for (QToolButton* b : seven) EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
}

TEST_F(TickTest, StatusWordsToPanelsFacesAndSingleStep) {
  StartWithThreeDrives();
  Click("SS1");
  struct Case {
    uint16_t extra;
    const char *swe, *fold, *rsti, *hwe;
    std::string panel2, panel3;
    int rs, pause;
    bool step;
  };
  const Case cases[] = {
      {0x0000, "0", "0", "0", "0", "Disabled" + kDot + "Drive OK" + kDot + "Not In Foldback",
       "Reset Input: Off" + kDot + "Enable Input: Off", 1, 1, false},
      {0x0008, "1", "1", "0", "1", "Enabled" + kDot + "Drive OK" + kDot + "In Foldback",
       "Reset Input: Off" + kDot + "Enable Input: On", 0, 1, false},
      {0x0088, "1", "0", "1", "1", "Enabled" + kDot + "Drive OK" + kDot + "Not In Foldback",
       "Reset Input: On" + kDot + "Enable Input: On", 0, 0, true},
      {0x0082, "0", "0", "0", "1", "Disabled" + kDot + "Faulted" + kDot + "Not In Foldback",
       "Reset Input: Off" + kDot + "Enable Input: On", 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panel2 + " / " + c.panel3);
    talvero::sim::SimDrive& d = sim.Drive(1);
    d.SetStatusExtraBits(c.extra);
    d.SetValue("SWE", c.swe);
    d.SetValue("FOLD", c.fold);
    d.SetValue("RSTI", c.rsti);
    d.SetValue("HWE", c.hwe);
    panel->TStat_Timer();
    EXPECT_EQ(Panel(2), c.panel2);
    EXPECT_EQ(Panel(3), c.panel3);
    EXPECT_EQ(OnlinePanel::State(win->BtnRS), c.rs);
    EXPECT_EQ(OnlinePanel::State(win->BtnPause), c.pause);
    EXPECT_EQ(!win->Btn1->isHidden(), c.step);
    EXPECT_EQ(win->Status2Bits, int(win->Link.Status2Bits));
  }
}

TEST_F(TickTest, TimeoutsCaptionInServiceModeOnly) {
  StartWithThreeDrives();
  win->Timeouts->setText("unchanged");
  panel->TStat_Timer();
  EXPECT_EQ(win->Timeouts->text().toStdString(), "unchanged");  // hidden outside service mode

  win->Timeouts->setVisible(true);
  win->Link.ErrorCount = 0;
  panel->TStat_Timer();
  EXPECT_EQ(win->Timeouts->text().toStdString(), "No timeouts");
  // A silent watched drive: one failed operation in this tick.
  sim.AddFault(FaultRule::Silent(4));
  Click("#4");
  PickWatchLine(0);
  panel->WA_VEL_Click();
  Click("!SY");
  panel->TStat_Timer();
  EXPECT_EQ(win->Timeouts->text().toStdString(), "1 timeout(s)");
}

TEST_F(TickTest, RequestsOfOneTickInOrder) {
  StartWithThreeDrives();
  Click("#7");
  PickWatchLine(3);
  panel->WA_VEL_Click();
  Click("SS1");
  sim.ClearLog();
  panel->TStat_Timer();
  EXPECT_EQ(Sent(), (std::vector<std::string>{"7:+VEL", "1:Q", "1:q"}));

  Click("PP1");  // the active program: its step is read too
  sim.ClearLog();
  panel->TStat_Timer();
  EXPECT_EQ(Sent(), (std::vector<std::string>{"7:+VEL", "1:Q", "1:\x02", "1:q"}));
}

class SilentTickTest : public TickTest {
 protected:
  // Drive 1's status node on the IO tab, watch lines on it (one "~u" item)
  // and one on drive 4; one healthy tick's requests.
  std::vector<std::string> Prepare() {
    StartWithThreeDrives();
    Click("SS1");
    if (win->StatStrip->currentIndex() != 2) win->StatStrip->setCurrentIndex(2);
    PickWatchLine(0);
    panel->WA_VEL_Click();
    PickWatchLine(1);
    panel->WA_FP_Click();
    Click("SS4");
    PickWatchLine(2);
    panel->WA_VEL_Click();
    Click("SS1");
    if (win->StatStrip->currentIndex() != 2) win->StatStrip->setCurrentIndex(2);
    panel->TStat_Timer();
    sim.ClearLog();
    panel->TStat_Timer();
    return Sent();
  }
  struct Counts {
    long long error, node, failed;
  };
  Counts Now() const { return {win->Link.ErrorCount, win->Link.NodeErrorCount[1], (long long)win->Link.FailedOperations}; }
  // Node 1's requests of a healthy tick up to its n-th, that one as often as
  // the link tries, then the other nodes' requests only.
  std::vector<std::string> FailingAt(const std::vector<std::string>& healthy, int n) const {
    std::vector<std::string> out;
    int seen = 0;
    bool failed = false;
    for (const std::string& r : healthy) {
      const bool one = r.rfind("1:", 0) == 0;
      if (!one || !failed) out.push_back(r);
      if (one && !failed && ++seen == n) {
        for (int t = 1; t < win->Link.Retries; ++t) out.push_back(r);
        failed = true;
      }
    }
    return out;
  }
  void ExpectNotAnswering() {
    EXPECT_EQ(Panel(2), "Node 1 does not answer");
    EXPECT_EQ(Panel(3), "");
    for (QToolButton* b : {win->BtnRS, win->BtnPause, win->Btn1, win->SWE_ON, win->SWE_OFF, win->ShowScope, win->Toggle})
      EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
    EXPECT_EQ(win->StatStrip->InputsFrame->title().toStdString(), "Inputs: Node 1 does not answer");
    for (Lamp* l : win->StatStrip->IN) EXPECT_EQ(l->Colour(), Lamp::Unlit());
  }
  void ExpectAnswering() {
    EXPECT_EQ(Panel(2), "Disabled" + kDot + "Drive OK" + kDot + "Not In Foldback");
    EXPECT_NE(Panel(3), "");
    EXPECT_FALSE(win->BtnRS->isHidden());
    EXPECT_EQ(win->StatStrip->InputsFrame->title().toStdString(), "Inputs");
    EXPECT_EQ(WatchLine(0), "[1] Motor Velocity 12.0 RPM");
    EXPECT_EQ(WatchLine(1).rfind("[1] Feedback Position 0.0000 ", 0), 0u) << WatchLine(1);
  }
};

TEST_F(SilentTickTest, ASilentSelectedDriveCostsOneFailedRequestPerTickAndShowsNoReading) {
  struct Case {
    const char* name;
    int answered;  // node 1's requests answered before it falls silent
    bool velocityShown;
  };
  const Case cases[] = {{"from the first request", 0, false},
                        {"after the status read", 8, true},
                        {"in the watch pass", 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    sim.ClearFaults();
    SetUp();
    const std::vector<std::string> healthy = Prepare();
    sim.Drive(1).SetValue("VEL", "12");
    sim.AddFault(FaultRule::SilentFrom(1, c.answered));
    sim.ClearLog();
    const Counts before = Now();
    panel->TStat_Timer();
    EXPECT_EQ(Sent(), FailingAt(healthy, c.answered + 1));
    const Counts after = Now();
    EXPECT_EQ(after.error - before.error, 1);
    EXPECT_EQ(after.node - before.node, 1);
    EXPECT_EQ(after.failed - before.failed, 1);
    ExpectNotAnswering();
    EXPECT_EQ(WatchLine(0), c.velocityShown ? "[1] Motor Velocity 12.0 RPM" : "[1] Motor Velocity ");
    EXPECT_EQ(WatchLine(2), "[4] Motor Velocity 0.0 RPM");

    // While it stays silent: one try of its first request, nothing more.
    sim.ClearLog();
    panel->TStat_Timer();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"1:+VEL", "4:+VEL"}));
    EXPECT_EQ(Now().error - after.error, 1);
    EXPECT_EQ(WatchLine(0), "[1] Motor Velocity ");
    EXPECT_EQ(WatchLine(1), "[1] Feedback Position ");
    ExpectNotAnswering();
    win->StatStrip->setCurrentIndex(0);  // General
    panel->ShowStatus();
    EXPECT_EQ(panel->StatusText(), "Node 1 does not answer.");
    win->StatStrip->setCurrentIndex(2);
  }
}

TEST_F(SilentTickTest, BackAfterTwoTicksTheNextTickIsWholeAndShowsTheDrive) {
  const std::vector<std::string> healthy = Prepare();
  sim.Drive(1).SetValue("VEL", "12");
  win->StatStrip->setCurrentIndex(0);  // General: it follows the drive's return too
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "", win->Link.Retries + 1));
  panel->TStat_Timer();
  EXPECT_EQ(Panel(2), "Node 1 does not answer");
  EXPECT_EQ(panel->StatusText(), "Node 1 does not answer.");
  panel->TStat_Timer();
  EXPECT_EQ(Panel(2), "Node 1 does not answer");
  sim.ClearLog();
  panel->TStat_Timer();
  std::vector<std::string> sent = Sent();
  // The tab's own refresh follows the tick's requests.
  ASSERT_GE(sent.size(), healthy.size() - 6);
  win->StatStrip->setCurrentIndex(2);
  panel->TStat_Timer();
  ExpectAnswering();
  EXPECT_NE(panel->StatusText().find("Node: 1"), std::string::npos) << panel->StatusText();
}

TEST_F(SilentTickTest, AClickWhileTheTickWaitsOnASilentDriveRunsBeforeItsNextRequest) {
  Prepare();
  sim.AddFault(FaultRule::Silent(1));
  sim.ClearLog();
  size_t sentWhenClicked = 0;
  int clicks = 0;
  pump = [&]() {
    if (clicks++ == 0) {
      sentWhenClicked = sim.Log().size();
      Click("SS4");  // the user picks another drive while the tick waits
    }
  };
  panel->TStat_Timer();
  pump = nullptr;
  ASSERT_EQ(clicks > 0, true);
  EXPECT_EQ(sentWhenClicked, 1u) << "the click ran after the first failed try";
  EXPECT_EQ(win->CurNode, 4);
  // The tick gave up its pass over node 1: nothing written for it afterwards.
  const auto log = sim.Log();
  for (size_t i = sentWhenClicked; i < log.size(); ++i) EXPECT_NE(log[i].node, 1) << i;
  panel->TStat_Timer();
  EXPECT_EQ(Panel(2).rfind("Node 4", 0), std::string::npos);
  EXPECT_NE(Panel(2), "");
}

TEST_F(SilentTickTest, OnAHealthyLineTheWindowsEventsRunBetweenEveryTwoPacketsOfTheTick) {
  const std::vector<std::string> healthy = Prepare();
  ASSERT_GE(healthy.size(), 4u);
  std::vector<size_t> sentAtPump;  // packets on the line at each turn of the event loop
  pump = [&]() { sentAtPump.push_back(sim.Log().size()); };
  sim.ClearLog();
  panel->TStat_Timer();
  pump = nullptr;
  EXPECT_EQ(Sent(), healthy);
  for (size_t k = 1; k < healthy.size(); ++k)
    EXPECT_NE(std::count(sentAtPump.begin(), sentAtPump.end(), k), 0)
        << "no events between " << healthy[k - 1] << " and " << healthy[k];

  // A click there runs at once, and the tick asks the drive left nothing more.
  sim.ClearLog();
  bool clicked = false;
  pump = [&]() {
    if (sim.Log().size() == 1 && !clicked) {
      clicked = true;
      Click("SS4");
    }
  };
  panel->TStat_Timer();
  pump = nullptr;
  EXPECT_EQ(win->CurNode, 4);
  const std::vector<std::string> sent = Sent();
  ASSERT_FALSE(sent.empty());
  std::vector<std::string> laterToNode1;
  for (size_t i = 1; i < sent.size(); ++i)
    if (sent[i].rfind("1:", 0) == 0) laterToNode1.push_back(sent[i]);
  EXPECT_EQ(laterToNode1, std::vector<std::string>{});
}

class MarkerTest : public OnlineTest {
 protected:
  void Install(MainWin& w) override {
    OnlineTest::Install(w);
    // The program view: ten rows, no pictures.
    w.EditPgmHook = [&w]() {
      for (int i = 0; i < 10; ++i) w.EditList->AddItem("row " + std::to_string(i));
    };
  }
  // Which marker each row carries: "." none, "m" empty, "c" current, "b" bad.
  std::string Marks() const {
    std::string s;
    for (int r = 0; r < win->EditList->ListCount(); ++r) {
      const tivolen::PicturePtr p = win->EditList->ListPicture(r);
      if (!p) s += '.';
      else if (p == win->StepImages.Picture("step-mt")) s += 'm';
      else if (p == win->StepImages.Picture("step-cur")) s += 'c';
      else if (p == win->StepImages.Picture("step-bad")) s += 'b';
      else s += '?';
    }
    return s;
  }
};

TEST_F(MarkerTest, TheStepMarkerFollowsTheDrive) {
  StartWithThreeDrives();
  talvero::sim::SimDrive& d = sim.Drive(1);
  d.SetCurrentStep(2);
  Click("PP1");  // the click's UpdateState draws at once
  EXPECT_EQ(Marks(), "..c.......");

  d.SetCurrentStep(5);
  panel->UpdateState();
  EXPECT_EQ(Marks(), "..m..c....");

  d.SetValue("RERR", "3");  // a run fault, same step
  panel->UpdateState();
  EXPECT_EQ(Marks(), "..m..b....");
  panel->UpdateState();  // nothing changed: nothing drawn
  EXPECT_EQ(Marks(), "..m..b....");

  // Away and back: drawn again at once though the step did not move.
  d.SetValue("RERR", "0");
  Click("SS1");
  Click("PP1");
  EXPECT_EQ(Marks(), ".....c....");

  // A step beyond the list draws nothing; the old marker is cleared.
  d.SetCurrentStep(40);
  panel->UpdateState();
  EXPECT_EQ(Marks(), ".....m....");
  EXPECT_EQ(win->StepMarkerRow, 40);

  // A failed step read only clears.
  d.SetCurrentStep(3);
  panel->UpdateState();
  EXPECT_EQ(Marks(), "...c.m....");
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "\x02"));
  panel->UpdateState();
  EXPECT_EQ(Marks(), "...m.m....");
  EXPECT_EQ(win->StepMarkerRow, -1);
}

TEST_F(TickTest, ALineThatHangsUpIsClosedToldOnceAndCanBeChosenAgain) {
  StartWithThreeDrives();
  Click("SS1");
  PickWatchLine(0);
  panel->WA_VEL_Click();
  const int opensBefore = port->opens;
  port->HangUp();
  prompter.ExpectMessage("COM1 (/dev/ttySIM0) is gone: the device was removed or switched off. Off-line mode selected.",
                         talvero::Answer::Ok, "Error!");
  panel->TStat_Timer();  // the request that notices, then the event loop tells
  EXPECT_EQ(win->Link.theHandle(), 0);
  EXPECT_FALSE(port->isOpen) << "the dead line is let go of at once";
  panel->TStat_Timer();
  QCoreApplication::processEvents();
  EXPECT_TRUE(prompter.AllShown());
  EXPECT_TRUE(win->COM_OL->isChecked());
  EXPECT_EQ(settings.values["Setup/COM"], "0");
  EXPECT_FALSE(win->Sys->Exists("#1"));

  // The device back under the same name: the port chosen again opens it anew.
  win->COM__Click(0);
  EXPECT_EQ(port->opens, opensBefore + 1);
  EXPECT_GT(win->Link.theHandle(), 0);
  EXPECT_TRUE(win->Sys->Exists("#1"));
  EXPECT_TRUE(win->COM_[0]->isChecked());
}
