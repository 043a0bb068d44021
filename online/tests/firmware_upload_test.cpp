// The firmware upload on the real window over the in-memory line: what the
// flash loader gets, the boxes, and the panel put back at every end.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <optional>

#include "mainwin/pop.h"
#include "online/firmware_upload.h"
#include "online/model/firmware_flash.h"
#include "online/tests/memory_window_fixture.h"
#include "platform/files/tests/file_kinds.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;
using talvero::sim::FaultRule;

class FirmwareTest : public MemoryWindowTest {
 protected:
  void SetUp() override {
    MemoryWindowTest::SetUp();
    AddDrive(1, Family::RHO, "KV110c", "Feed");
    AddDrive(2, Family::TAU, "KV110i/d", "Lift");
    AddDrive(3, Family::PHI, "KZ220", "Press");
    AddDrive(5, Family::PSI, "KS130i/d", "Arm");
    StartWithDrives();
    each = [this]() {
      if (win->Pop()->isVisible()) texts.push_back(win->Pop()->PS2->text().toStdString());
      if (onEach) onEach();
    };
  }
  std::string File(size_t size, unsigned seed = 1) {
    const std::string path = Path("fw" + std::to_string(size) + ".BIN");
    image = Random(size, seed);
    WriteFile(path, image);
    return path;
  }
  void ExpectWarningAndFile(const std::string& path) {
    prompter.ExpectMessage(online::FirmwareWarning().text, Answer::Yes, "Firmware Update Warnings")
        .ExpectOpenFile(path);
  }
  void ExpectSuccessBoxes() {
    prompter.ExpectMessage("Programmed OK.\nClick to Reset and Reload Software...", Answer::Ok, "Firmware Upload...")
        .ExpectMessage(online::FirmwareResetWarning().text, Answer::Ok, "WARNING");
  }
  void Upload() { win->SpUpload->trigger(); }
  std::string Flash(int node) {
    const std::vector<uint8_t>& f = sim.Drive(node).FlashImage();
    return std::string(f.begin(), f.end());
  }
  // The flash packets and the restart, one letter each after F or R: "SDDE" + "F".
  std::string Sequence(int node) {
    std::string s;
    for (const std::string& d : sim.Requests(node))
      if (d.size() >= 2 && (d[0] == 'F' || d[0] == 'R')) s.push_back(d[0] == 'R' ? 'R' : d[1]);
    return s;
  }
  void ExpectPanelBack() {
    EXPECT_TRUE(win->TStat->isActive());
    EXPECT_FALSE(win->Watch->isHidden());
    EXPECT_EQ(win->MousePointer(), 0);
    EXPECT_FALSE(win->Pop()->isVisible());
    EXPECT_TRUE(win->isEnabled());
    EXPECT_TRUE(win->Pop()->Stop->isEnabled());
    EXPECT_EQ(win->RunningOperation(), nullptr);
  }

  // The last byte count the progress window showed.
  std::string LastCount() const {
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
      if (it->find(" bytes of ") != std::string::npos) return *it;
    return "";
  }

  std::string image;
  std::vector<std::string> texts;  // the progress window's line at each step
  std::function<void()> onEach;
};

TEST_F(FirmwareTest, AWholeImageIsProgrammedWithTheLineToItselfAndCannotBeStoppedOnceErasing) {
  const std::string path = File(131072);
  ExpectWarningAndFile(path);
  ExpectSuccessBoxes();
  bool stopSeenDisabled = false, timerSeenOff = false;
  onEach = [&]() {
    if (!texts.empty() && texts.back() == "65536 bytes of 131072") {
      stopSeenDisabled = !win->Pop()->Stop->isEnabled();
      timerSeenOff = !win->TStat->isActive() && win->Watch->isHidden() && win->MousePointer() == 11;
      QKeyEvent ctrlC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
      QCoreApplication::sendEvent(win->Pop(), &ctrlC);
    }
  };
  Upload();
  EXPECT_EQ(Flash(1), image);
  EXPECT_EQ(Sequence(1), "S" + std::string(1024, 'D') + "E" + "R");
  EXPECT_EQ(Sent(1, "R"), std::vector<std::string>{"RF"});
  EXPECT_TRUE(stopSeenDisabled);
  EXPECT_TRUE(timerSeenOff);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "128 bytes of 131072"), texts.end());
  EXPECT_EQ(LastCount(), "131072 bytes of 131072");
  // Nothing polled the drive from the start packet to the restart.
  const std::string codes = Codes();
  const size_t fs = codes.find('F'), rf = codes.find('R');
  ASSERT_NE(rf, std::string::npos);
  EXPECT_EQ(codes.substr(fs, rf - fs).find_first_of("Qq"), std::string::npos);
  // The search after the restart, the root selected.
  EXPECT_EQ(win->Sys->SelectedKey(), "!SY");
  EXPECT_NE(std::find(clock.Sleeps().begin(), clock.Sleeps().end(), 2000), clock.Sleeps().end());
  ExpectPanelBack();
}

TEST_F(FirmwareTest, TheFileDecidesTheBlocksSent) {
  struct Case {
    size_t size;
    std::optional<Answer> remainder;  // the answer to the remainder question
    int blocks;                       // -1 = nothing sent
    const char* lastText;
    const char* rest = "The last 104 bytes of the file do not fill";
  } cases[] = {
      {1000, Answer::Yes, 7, "896 bytes of 896"},
      {1000, Answer::No, -1, ""},
      {129, Answer::Yes, 1, "128 bytes of 128", "The last byte of the file does not fill"},
      {256, std::nullopt, 2, "256 bytes of 256"},
      {100, std::nullopt, -1, ""},
      {0, std::nullopt, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    sim.ClearLog();
    const std::string path = File(c.size, unsigned(c.size));
    ExpectWarningAndFile(path);
    if (c.remainder)
      prompter.ExpectMessage(std::string(c.rest) + " a block of 128 and will not be sent. Continue?", *c.remainder);
    if (c.size < 128)
      prompter.ExpectMessage(path + " holds " + std::to_string(c.size) +
                                 " bytes, less than one block of 128: it is no firmware. Nothing was sent to the drive.",
                             Answer::Ok);
    if (c.blocks >= 0) ExpectSuccessBoxes();
    Click("#1");
    Upload();
    if (c.blocks < 0) {
      EXPECT_EQ(Sequence(1), "");
    } else {
      EXPECT_EQ(Sequence(1), "S" + std::string(size_t(c.blocks), 'D') + "ER");
      EXPECT_EQ(Flash(1), image.substr(0, size_t(c.blocks) * 128));
      EXPECT_EQ(LastCount(), c.lastText);
    }
    ExpectPanelBack();
  }
}

TEST_F(FirmwareTest, AFileThatIsNoFirmwareIsRefusedAtOnceAndNothingSent) {
  const std::string at = Path("odd.BIN");
  std::vector<FileNotToSend> cases = FilesNotToSend(at);
  cases.push_back({"1 MiB and one block", [&] { WriteFile(at, std::string((1 << 20) + 128, 'f')); return at; }, ""});
  for (const FileNotToSend& c : cases) {
    SCOPED_TRACE(c.name);
    sim.ClearLog();
    const std::string path = c.make();
    const std::string size = c.name == std::string("2 GiB sparse") ? "2147483648" : "1048704";
    ExpectWarningAndFile(path);
    prompter.ExpectMessage(
        (c.reason.empty() ? path + " holds " + size + " bytes; a drive's flash takes at most 1048576."
                          : "Couldn't read " + path + ": " + c.reason + ".") +
            " Nothing was sent to the drive.",
        Answer::Ok);
    const talvero::testing::Stopwatch watch;
    Upload();
    EXPECT_LT(watch.Seconds(), 1.0);
    EXPECT_TRUE(prompter.AllShown());
    EXPECT_EQ(Sequence(1), "");
    ExpectPanelBack();
    Remove(at);
  }
}

TEST_F(FirmwareTest, TheEraseWaitFollowsTheFamily) {
  const std::string path = File(128);
  for (auto [node, erase] : {std::pair{1, 4000}, {2, 4000}, {3, 20000}, {5, 20000}}) {
    SCOPED_TRACE(node);
    Click("#" + std::to_string(node));
    clock.ClearSleeps();
    ExpectWarningAndFile(path);
    ExpectSuccessBoxes();
    Upload();
    // The start packet's own pause, then the erase wait.
    const std::vector<int64_t>& s = clock.Sleeps();
    const auto start = std::find(s.begin(), s.end(), 40);
    ASSERT_NE(start, s.end());
    EXPECT_EQ(*(start + 1), erase);
    EXPECT_EQ(std::count(s.begin(), s.end(), 4000) + std::count(s.begin(), s.end(), 20000), 1);
    EXPECT_EQ(Flash(node), image);
  }
}

TEST_F(FirmwareTest, RefusedStartsAndBlocksAreRetriedAndBounded) {
  const std::string block5 = "FD" + Random(1024, 5).substr(4 * 128, 128);
  // A drive that began to erase is left without whole firmware; one that
  // acknowledged no start may be untouched.
  const std::string erased =
      "Failed to program after 30 attempts.\nThe drive's flash is left erased or partly programmed: the drive "
      "needs a new firmware upload before it can run.";
  const std::string unstarted =
      "Failed to program after 30 attempts.\nThe drive acknowledged no start: if it no longer answers as "
      "before, its flash was erased and the drive needs a new firmware upload.";
  struct Case {
    const char* name;
    std::vector<FaultRule> faults;
    std::string sequence;  // expected flash packets and restart
    std::string gaveUp;    // the box of a give-up; "" when programmed
  } cases[] = {
      {"two silent starts", {FaultRule::Missing(1, "FS", 2)}, "SSS" + std::string(8, 'D') + "ER", ""},
      {"block 5 refused once", {FaultRule::Missing(1, block5, 1)},
       "S" + std::string(5, 'D') + "E" + "S" + std::string(8, 'D') + "ER", ""},
      {"a silent end", {FaultRule::Missing(1, "FE", 1)}, "S" + std::string(8, 'D') + "E" + "S" + std::string(8, 'D') + "ER",
       ""},
      {"thirty silent starts", {FaultRule::Missing(1, "FS", -1)}, std::string(30, 'S'), unstarted},
      {"block 5 refused forever", {FaultRule::Missing(1, block5, -1)}, [] {
         std::string s;
         for (int i = 0; i < 30; ++i) s += "SDDDDDE";
         return s;
       }(), erased},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.ClearFaults();
    sim.ClearLog();
    for (const FaultRule& f : c.faults) sim.AddFault(f);
    const std::string path = File(1024, 5);
    Click("#1");
    ExpectWarningAndFile(path);
    if (c.gaveUp.empty()) ExpectSuccessBoxes();
    else prompter.ExpectMessage(c.gaveUp, Answer::Ok, "Firmware Upload...");
    Upload();
    EXPECT_EQ(Sequence(1), c.sequence);
    if (c.gaveUp.empty()) {
      EXPECT_EQ(Flash(1), image);
    }
    ExpectPanelBack();
  }
}

TEST_F(FirmwareTest, StoppingWhileTheDriveRefusesToStartChangesNothing) {
  sim.AddFault(FaultRule::Missing(1, "FS", -1));
  const std::string path = File(1024);
  ExpectWarningAndFile(path);
  prompter.ExpectBox({"Firmware update stopped; the drive was not changed."}, Answer::Ok);
  int delays = 0;
  onEach = [&]() {
    if (!texts.empty() && texts.back() == "Delaying..." && ++delays == 3) win->Pop()->Stop->click();
  };
  Upload();
  EXPECT_EQ(Sequence(1), "SSS");
  ExpectPanelBack();
}

TEST_F(FirmwareTest, NoCancelOrNoDriveLeaveThePanelUntouched) {
  win->TStat->stop();
  // The timer as the user left it stays so: off here.
  prompter.ExpectMessage(online::FirmwareWarning().text, Answer::No, "Firmware Update Warnings");
  Upload();
  prompter.ExpectMessage(online::FirmwareWarning().text, Answer::Yes, "Firmware Update Warnings")
      .ExpectOpenFile(std::nullopt);
  Upload();
  EXPECT_FALSE(win->TStat->isActive());
  win->TStat->start();
  Click("!SY");
  online::SpUpload_Click(*win);  // nothing asked: no drive is selected
  EXPECT_TRUE(sim.Log().empty() || Sequence(1).empty());
  EXPECT_TRUE(win->TStat->isActive());
  EXPECT_FALSE(win->Watch->isHidden());
  EXPECT_EQ(win->MousePointer(), 0);
  EXPECT_EQ(win->RunningOperation(), nullptr);
}

}  // namespace
