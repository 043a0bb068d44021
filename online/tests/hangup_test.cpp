// Each long operation of the drive menu when the line hangs up part-way: it
// ends at its next request with its own box, and then the one "is gone" box
// puts the program off line.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <functional>

#include "mainwin/long_operation.h"
#include "online/firmware_upload.h"
#include "online/model/firmware_flash.h"
#include "online/model/nv_transfer.h"
#include "online/nv_image.h"
#include "online/tests/memory_window_fixture.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;

class HangUpTest : public MemoryWindowTest {
 protected:
  void SetUp() override {
    MemoryWindowTest::SetUp();
    AddDrive(1, Family::RHO, "KV110c", "Feed");
    AddDrive(4, Family::TAU, "KV110i/d", "Lift");
    StartWithDrives();
  }
  // How many of node 1's requests begin with prefix.
  size_t Count(const std::string& prefix) { return Sent(1, prefix).size(); }
};

TEST_F(HangUpTest, ALongOperationEndsAtItsNextRequestWithItsOwnBoxThenTheLineIsGone) {
  const std::string image = Random(online::kNvImageSize, 5);
  const std::string imagePath = Path("image.SNA");
  WriteFile(imagePath, image);
  const std::string firmwarePath = Path("fw.BIN");
  WriteFile(firmwarePath, Random(8192, 6));

  struct Case {
    const char* name;
    std::function<void(talvero::ScriptedPrompter&)> expectStart;  // the questions and file before the first block
    std::string prefix;  // the operation's requests
    size_t after;        // how many of them the drive answers before the line hangs up
    std::string ownBox;  // part of the operation's own failure box
    std::function<void(MainWin&)> start;
  } cases[] = {
      {"memory image save", [&](talvero::ScriptedPrompter& p) { p.ExpectSaveFile(Path("saved.SNA")); }, "\x12", 300,
       "Read failed.", [](MainWin& w) { w.MenuCommandHook("AA_MEM2FILE"); }},
      {"memory image restore",
       [&](talvero::ScriptedPrompter& p) {
         p.ExpectMessage(online::NvRestoreQuestion(0).text, Answer::Yes, "")
             .ExpectMessage(online::NvRestoreQuestion(1).text, Answer::Yes, "")
             .ExpectMessage(online::NvRestoreQuestion(2).text, Answer::Yes, "")
             .ExpectOpenFile(imagePath);
       },
       "\x14", 300, "Write failed at block ", [](MainWin& w) { w.MenuCommandHook("AA_FILE2MEM"); }},
      {"firmware upload",
       [&](talvero::ScriptedPrompter& p) {
         p.ExpectMessage(online::FirmwareWarning().text, Answer::Yes, "").ExpectOpenFile(firmwarePath);
       },
       "FD", 20, online::kFirmwareLineLost, [](MainWin& w) { w.SpUpload->trigger(); }},
      {"firmware upload before the start",
       [&](talvero::ScriptedPrompter& p) {
         p.ExpectMessage(online::FirmwareWarning().text, Answer::Yes, "").ExpectOpenFile(firmwarePath);
       },
       "FS", 0, online::kFirmwareLineLostUnstarted, [](MainWin& w) { w.SpUpload->trigger(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // On line again with drive 1 selected, as the last case left it off line.
    if (win->Link.theHandle() == 0) win->COM__Click(0);
    ASSERT_GT(win->Link.theHandle(), 0);
    Click("#1");
    sim.ClearLog();
    bool hungUp = false;
    int64_t hungUpAt = 0;
    each = [&]() {
      if (!hungUp && Count(c.prefix) >= c.after) {
        hungUp = true;
        hungUpAt = clock.NowMs();
        port->HangUp();
      }
    };
    c.expectStart(prompter);
    prompter.ExpectMessageContaining(c.ownBox, Answer::Ok)
        .ExpectMessage("COM1 (/dev/ttySIM0) is gone: the device was removed or switched off. Off-line mode selected.",
                       Answer::Ok, "Error!");
    c.start(*win);
    each = nullptr;
    ASSERT_TRUE(hungUp);
    EXPECT_EQ(Count(c.prefix), c.after) << "nothing more reached the drive";
    // At most the one wait that notices; no retry delays on a dead line.
    EXPECT_LE(clock.NowMs() - hungUpAt, 1000);
    EXPECT_FALSE(port->isOpen);
    EXPECT_EQ(win->RunningOperation(), nullptr);
    // The gone box waits for the operation's own; it comes from the event loop.
    QElapsedTimer wait;
    wait.start();
    while (!prompter.AllShown() && wait.elapsed() < 3000) QCoreApplication::processEvents();
    EXPECT_TRUE(prompter.AllShown());
    EXPECT_TRUE(prompter.Failures().empty()) << ::testing::PrintToString(prompter.Shown());
    EXPECT_TRUE(win->COM_OL->isChecked());
    EXPECT_EQ(win->Link.theHandle(), 0);
    EXPECT_FALSE(win->Sys->Exists("#1"));
  }
}

TEST_F(HangUpTest, OnTheLineChosenAgainAnUploadRefusedOnceAtItsStartIsProgrammed) {
  const std::string path = Path("fw.BIN");
  const std::string image = Random(1024, 7);
  WriteFile(path, image);
  port->HangUp();
  prompter.ExpectMessage("COM1 (/dev/ttySIM0) is gone: the device was removed or switched off. Off-line mode selected.",
                         Answer::Ok, "Error!");
  win->Link.Status(1);  // the request that notices
  QElapsedTimer wait;
  wait.start();
  while (!prompter.AllShown() && wait.elapsed() < 3000) QCoreApplication::processEvents();
  ASSERT_TRUE(prompter.AllShown());

  win->COM__Click(0);
  ASSERT_GT(win->Link.theHandle(), 0);
  Click("#1");
  sim.ClearLog();
  sim.AddFault(talvero::sim::FaultRule::Missing(1, "FS", 1));
  prompter.ExpectMessage(online::FirmwareWarning().text, Answer::Yes, "")
      .ExpectOpenFile(path)
      .ExpectMessage(online::FirmwareProgrammedBox().text, Answer::Ok, "")
      .ExpectMessage(online::FirmwareResetWarning().text, Answer::Ok, "");
  win->SpUpload->trigger();
  EXPECT_EQ(Count("FS"), 2u);
  const std::vector<uint8_t>& flash = sim.Drive(1).FlashImage();
  EXPECT_TRUE(std::string(flash.begin(), flash.end()) == image) << "the image is not in the drive's flash";
}

}  // namespace
