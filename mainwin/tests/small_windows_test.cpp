#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "mainwin/pop.h"
#include "mainwin/qhelp.h"
#include "mainwin/splash.h"
#include "platform/clock/clock.h"

namespace {

TEST(POP, FirstSearchReportsOnTheSplashThenThePopUpTakesOver) {
  talvero::FakeClock clock;
  talvero::SetClock(&clock);
  QWidget main;
  Splash splash;
  POP pop(&main, &splash);

  pop.StatOn("Searching for Drives...");
  EXPECT_TRUE(pop.isHidden());
  EXPECT_TRUE(main.isEnabled());
  pop.Stat("at Node 1 of 31");
  EXPECT_EQ(splash.KOV->text(), "Searching for Drives...at Node 1 of 31\n(Control-C ends search)");
  pop.SetClicked();
  EXPECT_TRUE(pop.Clicked());
  EXPECT_EQ(splash.KOV->text(), "Ending search...");
  int pumps = clock.EventPumps();
  pop.Stat("at Node 2 of 31");
  EXPECT_GT(clock.EventPumps(), pumps);  // where a key press gets through
  pop.StatOff();
  EXPECT_TRUE(pop.PopupMode());
  EXPECT_TRUE(pop.isHidden());

  pop.StatOn("Searching for Drives...");
  EXPECT_FALSE(pop.Clicked());
  EXPECT_TRUE(pop.isVisible());
  EXPECT_TRUE(pop.isEnabled());
  EXPECT_FALSE(main.isEnabled());
  EXPECT_EQ(pop.PS1->text(), "\nSearching for Drives...");
  EXPECT_EQ(pop.PS2->text(), "");
  pop.Stat("at Node 4 of 31");
  EXPECT_EQ(pop.PS2->text(), "at Node 4 of 31");
  pop.POP_Form_KeyPress(65);
  EXPECT_FALSE(pop.Clicked());
  pop.POP_Form_KeyPress(3);
  EXPECT_TRUE(pop.Clicked());
  pop.Stat("at Node 5 of 31");
  EXPECT_EQ(pop.PS2->text(), "at Node 4 of 31");
  pop.StatOff();
  EXPECT_TRUE(pop.isHidden());
  EXPECT_TRUE(main.isEnabled());
  main.setEnabled(false);
  pop.StatOff();  // a second one only enables and hides again
  EXPECT_TRUE(main.isEnabled());
  EXPECT_TRUE(pop.isHidden());
  talvero::SetClock(nullptr);
}

TEST(QHelp, TipsShowOnTheSecondMoveAndHideAfterSixTicks) {
  bool tipsOn = false;
  QHelp tip([&]() { return tipsOn; });
  QPoint cursor(400, 300);
  tip.CursorPos = [&]() { return cursor; };

  tip.TT("click to use KOVscope");
  EXPECT_TRUE(tip.isHidden()) << "tips are off";
  tipsOn = true;

  tip.TT("");  // the pointer crossed the background
  EXPECT_TRUE(tip.Skip());
  tip.TT("click to use KOVscope");
  EXPECT_TRUE(tip.isHidden());
  EXPECT_FALSE(tip.Skip());
  tip.TT("click to use KOVscope");
  ASSERT_TRUE(tip.isVisible());
  EXPECT_EQ(tip.Helptxt->text(), " click to use KOVscope ");
  EXPECT_EQ(tip.geometry().right() + 1, cursor.x() - 4);
  EXPECT_EQ(tip.y(), cursor.y() + 4);
  EXPECT_GT(tip.width(), tip.Helptxt->width());

  // The same text again leaves the window where it is; another text follows the pointer.
  cursor = QPoint(600, 350);
  tip.TT("click to use KOVscope");
  EXPECT_EQ(tip.y(), 304);
  tip.TT("Run the program");
  EXPECT_EQ(tip.y(), 354);
  EXPECT_EQ(tip.geometry().right() + 1, 596);

  for (int i = 0; i < 5; ++i) tip.TTtimer_Timer();
  EXPECT_TRUE(tip.isVisible());
  tip.TT("Run the program");  // a refresh restarts the countdown
  EXPECT_EQ(tip.Countdown(), 6);
  for (int i = 0; i < 6; ++i) tip.TTtimer_Timer();
  EXPECT_TRUE(tip.isHidden());
  EXPECT_TRUE(tip.Skip());
  tip.TTtimer_Timer();  // a tick at 0 does nothing
  EXPECT_EQ(tip.Countdown(), 0);
  tip.TT("Run the program");
  EXPECT_TRUE(tip.isHidden());
}

}  // namespace
