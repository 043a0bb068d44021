// Each copy between a drive and the application when the line hangs up
// part-way: it ends at its next request with its own box, and then the one
// "is gone" box puts the program off line.
#include <QAction>
#include <QElapsedTimer>
#include <functional>

#include "editing/tests/transfers_fixture.h"

namespace {

using editing_test::TransfersTest;
using talvero::Answer;
using talvero::TargetKind;
using talvero::sim::Family;

class CopyHangUpTest : public TransfersTest {};

TEST_F(CopyHangUpTest, ACopyEndsAtItsNextRequestWithItsOwnBoxThenTheLineIsGone) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddAxis("X", "RHO", win->ParametersRS));
    ASSERT_TRUE(app.AddPgm("jog"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 0, "V 5"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 7, "MA 7"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 255, "END"));
  });
  const std::string axisParameters = TreeKey::Make("PA", {-1, 1}).Format();

  struct Case {
    const char* name;
    std::string from;    // the tree key clicked
    std::string item;    // the copy command
    talvero::CopyTarget to;
    std::string prefix;  // the copy's requests
    size_t after;        // how many of them are sent when the line hangs up, the last one's answer lost
    std::string ownBox;
  } cases[] = {
      {"parameters from the drive", "PA1", "PA_Copy", To(TargetKind::AppAxis, 1, 1), "=", 2,
       "Node 1 did not answer; the copy stopped at "},
      {"parameters to the drive", axisParameters, "PA_Copy", To(TargetKind::Drive, 0, 0, 1), ":", 1,
       "Node 1 did not answer; the copy stopped at "},
      {"program to the drive", PR(1, 1), "PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1), "E", 2,
       "Node 1 did not answer; the copy stopped at line 7 of jog."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (win->Link.theHandle() == 0) win->COM__Click(0);  // on line again after the last case
    ASSERT_GT(win->Link.theHandle(), 0);
    Click(c.from);
    sim.ClearLog();
    bool hungUp = false;
    int64_t hungUpAt = 0;
    port->beforeIo = [&]() {
      if (!hungUp && Sent(1, c.prefix).size() >= c.after) {
        hungUp = true;
        hungUpAt = clock.NowMs();
        port->HangUp();
      }
    };
    prompter.ExpectMessageContaining(c.ownBox, Answer::Ok)
        .ExpectMessage("COM1 (/dev/ttySIM0) is gone: the device was removed or switched off. Off-line mode selected.",
                       Answer::Ok, "Error!");
    CopyTo(c.item, c.to);
    port->beforeIo = nullptr;
    ASSERT_TRUE(hungUp);
    EXPECT_EQ(Sent(1, c.prefix).size(), c.after) << "nothing more reached the drive";
    EXPECT_LE(clock.NowMs() - hungUpAt, 1000) << "no retry delays on a dead line";
    EXPECT_FALSE(port->isOpen);
    EXPECT_EQ(win->MousePointer(), 0);
    // The gone box waits for the copy's own; it comes from the event loop.
    QElapsedTimer wait;
    wait.start();
    while (!prompter.AllShown() && wait.elapsed() < 3000) QCoreApplication::processEvents();
    EXPECT_TRUE(prompter.AllShown());
    EXPECT_TRUE(prompter.Failures().empty()) << ::testing::PrintToString(prompter.Shown());
    EXPECT_TRUE(win->COM_OL->isChecked());
    EXPECT_FALSE(win->Sys->Exists("#1"));
  }
}

}  // namespace
