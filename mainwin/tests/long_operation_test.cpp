// One long drive operation at a time: it keeps its node and the window's
// selection, and the window will not close under it.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>

#include "mainwin/long_operation.h"
#include "mainwin/tests/sim_window_fixture.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;

class LongOperationTest : public SimWindowTest {};

TEST_F(LongOperationTest, HoldsTheSelectionRefusesASecondAndKeepsTheWindowOpen) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  AddDrive(4, Family::TAU, "KV110i/d", "Lift");
  ASSERT_TRUE(StartOnLine());
  MainWin& w = *win;
  Click("#1");
  ASSERT_EQ(w.CurNode, 1);
  {
    mainwin::LongOperation op(w, w.CurNode);
    ASSERT_TRUE(op);
    EXPECT_EQ(w.RunningOperation(), &op);
    mainwin::LongOperation second(w, 4);
    EXPECT_FALSE(second);
    EXPECT_EQ(w.RunningOperation(), &op) << "a refused operation takes nothing over";

    Click("#4");
    EXPECT_EQ(w.CurNode, 1);
    EXPECT_EQ(w.Sys->SelectedKey(), "#1");
    EXPECT_FALSE(w.Sys->isEnabled());
    EXPECT_FALSE(w.menuBar()->isEnabled());
    EXPECT_FALSE(w.AAMenu->isEnabled());

    prompter.ExpectMessage(mainwin::LongOperation::kCloseRefused, Answer::Ok);
    QCloseEvent close;
    QCoreApplication::sendEvent(&w, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_GT(w.Link.theHandle(), 0) << "a refused close keeps the line";

    EXPECT_FALSE(op.StopRequested());
    op.RequestStop();
    EXPECT_TRUE(op.StopRequested());
  }
  EXPECT_EQ(w.RunningOperation(), nullptr);
  EXPECT_TRUE(w.Sys->isEnabled());
  EXPECT_TRUE(w.menuBar()->isEnabled());
  EXPECT_TRUE(w.AAMenu->isEnabled());
  Click("#4");
  EXPECT_EQ(w.CurNode, 4);
}

TEST_F(LongOperationTest, ALineGoneUnderItIsToldOfAfterItUnlessThePortWasChosenAgain) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  MainWin& w = *win;
  const auto runEvents = [](int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents();
  };
  for (const bool chosenAgain : {false, true}) {
    SCOPED_TRACE(chosenAgain ? "chosen again" : "not chosen again");
    if (w.Link.theHandle() == 0) w.COM__Click(0);
    ASSERT_GT(w.Link.theHandle(), 0);
    const size_t shown = prompter.Shown().size();
    {
      mainwin::LongOperation op(w, 1);
      port->HangUp();
      w.Link.Status(1);  // the operation's request notices
      EXPECT_EQ(w.Link.theHandle(), 0);
      runEvents(300);  // well past the box's retry interval
      EXPECT_EQ(prompter.Shown().size(), shown) << "no box while the operation runs";
    }
    if (chosenAgain) w.COM__Click(0);
    else prompter.ExpectMessage("COM1 (/dev/ttySIM0) is gone: the device was removed or switched off. Off-line mode selected.",
                                Answer::Ok, "Error!");
    runEvents(300);
    EXPECT_TRUE(prompter.AllShown());
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
    EXPECT_EQ(w.Link.theHandle() > 0, chosenAgain);
    EXPECT_EQ(w.COM_[0]->isChecked(), chosenAgain);
    EXPECT_EQ(w.COM_OL->isChecked(), !chosenAgain);
    EXPECT_EQ(w.Sys->Exists("#1"), chosenAgain);
  }
}

}  // namespace
