// The status tick and UpdateState on the real window.
#include <QAction>
#include <QToolButton>

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

TEST_F(TickTest, SilentSelectedDriveShowsNoBoxAndTheTreeStillTakesClicks) {
  StartWithThreeDrives();
  Click("SS4");
  EXPECT_EQ(win->AxisStatusNode, 4) << "the state the window holds is the drive's";
  sim.AddFault(FaultRule::Silent(4));
  sim.ClearLog();
  panel->TStat_Timer();
  // Each request gets its full tries.
  EXPECT_EQ(Sent().size(), size_t(2 * win->Link.Retries));
  EXPECT_EQ(Panel(2), "Disabled" + kDot + "Drive OK" + kDot + "Not In Foldback");
  EXPECT_EQ(win->AxisStatusNode, -1) << "a silent drive's state is unknown, not idle";
  Click("SS1");
  EXPECT_EQ(win->CurNode, 1);
  panel->TStat_Timer();
  EXPECT_EQ(sim.Log().back().node, 1);
  EXPECT_EQ(win->AxisStatusNode, 1);
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
