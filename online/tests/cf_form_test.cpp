// "Set Axis Configuration..." through the configuration dialog, and its
// special functions, against simulated drives.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>

#include "online/cf_form.h"
#include "online/model/capture_text.h"
#include "online/tests/admin_fixture.h"
#include "platform/files/replacing_file.h"
#include "platform/files/tests/file_kinds.h"

namespace {

using online::CF_Form;
using talvero::Answer;
using talvero::sim::FaultRule;

std::vector<std::string> ReadRequests() {
  std::vector<std::string> r{"I\x05"};
  for (int i = 0; i < 10; ++i) r.push_back("=CONFIG(" + std::to_string(i) + ")");
  return r;
}

std::string SetConfig(int k, const std::string& text) { return std::string("\x10") + char(k) + text; }

class CfFormTest : public AdminWindowTest {
 protected:
  void SetUp() override {
    AdminWindowTest::SetUp();
    // Bit 11 of CONFIG(0) and bit 4 of CONFIG(6) have no box.
    const std::pair<int, const char*> words[] = {{0, "2081"}, {1, "0"}, {2, "300"}, {3, "300"},
                                                 {4, "5"},    {5, "6"}, {6, "18"},  {7, "3"},
                                                 {8, "5"},    {9, "-5"}};
    for (const auto& [i, v] : words) sim.Drive(1).SetValue("CONFIG(" + std::to_string(i) + ")", v);
    sim.Drive(1).SetSerial("S1");
    Click("#1");
    sim.ClearLog();
  }
  // Opens the dialog on drive 1 and runs f in it.
  void Configure(std::function<void(CF_Form&)> f) {
    WhenShown("CF_Form", [f](QWidget& w) { f(static_cast<CF_Form&>(w)); });
    Choose("AA_SetConfig");
  }
  std::string Word(int i) { return *sim.Drive(1).Value("CONFIG(" + std::to_string(i) + ")"); }
};

TEST_F(CfFormTest, SetConfigurationWritesTheSerialThenTheTenWordsInOrder) {
  Configure([&](CF_Form& f) {
    std::vector<int> ticked;
    for (int i = 0; i < 16; ++i)
      if (f.CF_Check[size_t(i)]->isChecked()) ticked.push_back(i);
    EXPECT_EQ(ticked, (std::vector<int>{0, 3, 9, 10}));
    EXPECT_EQ(f.CF_Box[0]->text(), "0");
    EXPECT_EQ(f.CF_Box[1]->text(), "300");
    EXPECT_EQ(f.CF_Box[2]->text(), "") << "CONFIG(4) and CONFIG(5) differ";
    EXPECT_EQ(f.CF_Box[3]->text(), "5");
    EXPECT_EQ(f.SerialNumber->text(), "S1");
    EXPECT_TRUE(f.CF_OK->isEnabled());
    EXPECT_EQ(Sent(1), ReadRequests()) << "read when it opens, once";
    f.CF_Check[0]->setChecked(false);
    f.CF_Box[2]->setText("12.5");
    f.SerialNumber->setText("SN-77");
    f.CF_OK->click();
  });
  std::vector<std::string> expected = ReadRequests();
  expected.push_back("\x1FSN-77");
  const char* words[] = {"2080", "0", "300", "300", "12", "12", "18", "3", "5", "-5"};
  for (int k = 0; k < 10; ++k) expected.push_back(SetConfig(k, words[k]));
  EXPECT_EQ(Sent(1), expected);
  EXPECT_EQ(Word(0), "2080") << "bit 11 kept, bit 0 cleared";
  EXPECT_EQ(Word(4), "12");
  EXPECT_EQ(Word(9), "-5");
  EXPECT_EQ(sim.Drive(1).Serial(), "SN-77");
  EXPECT_FALSE(talvero::TheWindowFactory().IsVisible("CF_Form"));
}

TEST_F(CfFormTest, ExitConfigureAndClosingSendNothing) {
  Configure([](CF_Form& f) { f.CF_Cancel->click(); });
  Configure([](CF_Form& f) { f.close(); });
  std::vector<std::string> twice = ReadRequests();
  for (const std::string& r : ReadRequests()) twice.push_back(r);
  EXPECT_EQ(Sent(1), twice);
  EXPECT_EQ(sim.Drive(1).Serial(), "S1");
}

TEST_F(CfFormTest, EmptySerialNumberIsNotSentAndAnUnstorableOneIsRefused) {
  Configure([&](CF_Form& f) {
    f.SerialNumber->setText("S\xE2\x9C\x93");
    prompter.ExpectMessage(
        "The serial number holds a character that a drive cannot store. Nothing was sent.", Answer::Ok);
    f.CF_OK->click();
    EXPECT_TRUE(f.isVisible()) << "the dialog stays for a correction";
    f.SerialNumber->setText("");
    f.CF_OK->click();
  });
  const std::vector<std::string> sent = Sent(1);
  ASSERT_EQ(sent.size(), 21u);
  EXPECT_EQ(sent[11], SetConfig(0, "2081"));
  EXPECT_EQ(sim.Drive(1).Serial(), "S1");
}

TEST_F(CfFormTest, AFailedReadTurnsSetConfigurationOff) {
  // Reading stops at the first unanswered request; a real 0 (CONFIG(1)) is no failure.
  const struct {
    const char* lost;
    size_t requests;
  } cases[] = {{"I\x05", 1}, {"=CONFIG(4)", 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lost);
    sim.ClearLog();
    sim.AddFault(FaultRule::Missing(1, c.lost, -1));
    prompter.ExpectMessage(CF_Form::kReadFailed, Answer::Ok);
    Configure([&](CF_Form& f) {
      EXPECT_FALSE(f.CF_OK->isEnabled());
      f.CF_OK->click();
      EXPECT_TRUE(f.isVisible());
      f.CF_Cancel->click();
    });
    sim.ClearFaults();
    std::vector<std::string> sent;
    for (const std::string& r : Sent(1))
      if (sent.empty() || sent.back() != r) sent.push_back(r);  // the retries
    EXPECT_EQ(sent.size(), c.requests);
    for (const std::string& r : Sent(1)) EXPECT_NE(r[0], '\x10');
  }
  // The next opening reads afresh and can set the configuration again.
  sim.ClearLog();
  Configure([](CF_Form& f) {
    EXPECT_TRUE(f.CF_OK->isEnabled());
    f.CF_OK->click();
  });
  EXPECT_EQ(Sent(1).size(), 11u + 1u + 10u);
}

TEST_F(CfFormTest, TheWordsStopAtTheFirstTheDriveDoesNotAnswer) {
  sim.AddFault(FaultRule::Missing(1, SetConfig(3, ""), -1));
  sim.AddFault(FaultRule::Missing(1, SetConfig(7, ""), -1));
  prompter.ExpectMessage(
      "Node 1 does not answer: configuration words 3 to 9 were not set. Check the configuration and set it "
      "again.",
      Answer::Ok);
  Configure([](CF_Form& f) { f.CF_OK->click(); });
  // Word 3 had all its tries; the later ones were not sent.
  std::vector<std::string> expected = ReadRequests();
  expected.push_back("\x1FS1");
  for (const auto& [k, word] : {std::pair{0, "2081"}, {1, "0"}, {2, "300"}}) expected.push_back(SetConfig(k, word));
  for (int t = 0; t < 8; ++t) expected.push_back(SetConfig(3, "300"));
  EXPECT_EQ(Sent(1), expected);
  EXPECT_EQ(Word(8), "5");
}

TEST_F(CfFormTest, SpecialFunctionsAskWhereThereIsNoUndo) {
  Configure([&](CF_Form& f) {
    sim.ClearLog();
    f.DoSpec->click();  // nothing chosen
    EXPECT_TRUE(sim.Log().empty());
    f.Spec->setCurrentIndex(0);
    f.DoSpec->click();
    EXPECT_EQ(Sent(1), std::vector<std::string>{"ZA"});
    f.Spec->setCurrentIndex(1);
    const std::string clear =
        "The fault history of this drive will be cleared...there is NO UNDO!   Continue ?";
    prompter.ExpectMessage(clear, Answer::Cancel);
    f.DoSpec->click();
    prompter.ExpectMessage(clear, Answer::Ok);
    f.DoSpec->click();
    EXPECT_EQ(Sent(1), (std::vector<std::string>{"ZA", "ZB"}));
    EXPECT_TRUE(f.isVisible());
    f.Spec->setCurrentIndex(3);
    prompter.ExpectMessage("Are you really sure you want to initialize this axis ?", Answer::Ok);
    prompter.ExpectMessage(
        "ALL programs, parameters and events will be lost...there is NO UNDO!   Continue ?",
        Answer::Cancel);
    f.DoSpec->click();
    EXPECT_TRUE(f.isVisible());
    f.CF_Cancel->click();
  });
  EXPECT_EQ(sim.Drive(1).Specials(), (std::vector<std::string>{"A", "B"}));

  // D: confirmed, it closes the dialog with nothing to send and searches again.
  sim.ClearLog();
  clock.ClearSleeps();
  prompter.ExpectMessage("Are you really sure you want to initialize this axis ?", Answer::Ok);
  prompter.ExpectMessage(
      "ALL programs, parameters and events will be lost...there is NO UNDO!   Continue ?", Answer::Ok);
  Configure([&](CF_Form& f) {
    EXPECT_EQ(f.Spec->currentIndex(), 3) << "the choice is kept between openings";
    f.DoSpec->click();
  });
  const std::vector<std::string> sent = Sent(1);
  ASSERT_GT(sent.size(), 12u);
  EXPECT_EQ(sent[11], "ZD");
  EXPECT_EQ(sent[12], "\x01") << "the search follows";
  for (const std::string& r : sent) EXPECT_NE(r[0], '\x10');
  EXPECT_NE(std::find(clock.Sleeps().begin(), clock.Sleeps().end(), 500), clock.Sleeps().end());
  EXPECT_EQ(Word(0), "2081") << "initialising keeps the factory configuration";
}

class CaptureTest : public CfFormTest {
 protected:
  void SetUp() override {
    CfFormTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    // The status timer, as the panel fills it: each tick polls the drive.
    win->TStatTickHook = [this]() { win->Link.Status(1); };
    pump = [this]() {
      if (win->TStat->isActive()) win->TStat_Timer();
    };
  }
  void TearDown() override {
    QDir::setCurrent(before);
    CfFormTest::TearDown();
  }
  // Chooses "C - Capture Data" and performs it.
  void Capture(std::function<void(CF_Form&)> after = {}) {
    Configure([&](CF_Form& f) {
      sim.ClearLog();
      f.Spec->setCurrentIndex(2);
      f.DoSpec->click();
      if (after) after(f);
      f.CF_Cancel->click();
    });
  }
  std::string File() {
    std::ifstream in(dir.filePath("CAPTURE.TXT").toStdString(), std::ios::binary);
    if (!in) return "(none)";
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  QTemporaryDir dir;
  QString before;
};

TEST_F(CaptureTest, CaptureIsWrittenWithNoStatusPollBetween) {
  std::string bytes(online::kCaptureBytes, '\xFF');
  const std::string mixed("\x0C\x00\xFD\xFF\x00\x00\xFF\x7F\x00\x80\x01\x00\xFF\xFF\x00\x01", 16);
  bytes.replace(16 * 199, 16, mixed);
  sim.Drive(1).SetSpecialCapture(bytes);
  Capture([&](CF_Form& f) {
    EXPECT_TRUE(f.DoSpec->isEnabled());
    EXPECT_TRUE(win->TStat->isActive());
    EXPECT_EQ(win->MousePointer(), 0);
  });
  std::string expected;
  for (int i = 0; i < 199; ++i) expected += "-1 ,-1 ,-1 ,-1 ,-1 ,-1 ,-1 ,-1  \r\n";
  expected += " 12 ,-3 , 0 , 32767 ,-32768 , 1 ,-1 , 256  \r\n";
  EXPECT_EQ(File(), expected);

  // The one capture request; the timer was off from before it until its
  // replies were read, and polls again afterwards.
  const std::vector<std::string> sent = Sent(1);
  const auto zc = std::find(sent.begin(), sent.end(), "ZC");
  ASSERT_NE(zc, sent.end());
  EXPECT_EQ(zc - sent.begin(), 0) << "no poll just before the capture";
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "ZC"), 1);
  EXPECT_NE(std::find(zc, sent.end(), "Q"), sent.end()) << "the timer runs again";
  EXPECT_NE(std::find(clock.Sleeps().begin(), clock.Sleeps().end(), 5000), clock.Sleeps().end());
}

TEST_F(CaptureTest, ShortCaptureWritesNoFileAndRestoresEverything) {
  FaultRule cut = FaultRule::Missing(1, "ZC", 1);
  cut.reply = 50;  // replies 51 to 200 never come
  sim.AddFault(cut);
  prompter.ExpectMessage("Failed to capture data; got 800 bytes of 3200", Answer::Ok,
                         "Talvero: Special Capture...");
  Capture([&](CF_Form& f) {
    EXPECT_TRUE(f.DoSpec->isEnabled());
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(win->TStat->isActive());
    EXPECT_EQ(win->MousePointer(), 0);
    EXPECT_EQ(win->RunningOperation(), nullptr);
  });
  EXPECT_EQ(File(), "(none)");
}

TEST_F(CaptureTest, ALineThatHangsUpEndsTheCaptureWithItsBoxThenTheLineIsGone) {
  sim.Drive(1).SetSpecialCapture(std::string(online::kCaptureBytes, '\x11'));
  uint64_t startIn = 0;
  bool hungUp = false;
  int64_t hungUpAt = 0;
  port->beforeIo = [&]() {
    const std::vector<std::string> sent = Sent(1);
    if (hungUp || std::find(sent.begin(), sent.end(), "ZC") == sent.end()) return;
    if (startIn == 0) startIn = port->bytesIn;
    if (port->bytesIn - startIn >= 1000) {  // part of the way through the replies
      hungUp = true;
      hungUpAt = clock.NowMs();
      port->HangUp();
    }
  };
  prompter.ExpectMessageContaining("Failed to capture data; got ", Answer::Ok)
      .ExpectMessage("COM1 (/dev/ttySIM0) is gone: the device was removed or switched off. Off-line mode selected.",
                     Answer::Ok, "Error!");
  Capture([&](CF_Form& f) {
    EXPECT_TRUE(hungUp);
    EXPECT_LE(clock.NowMs() - hungUpAt, 1000) << "no waiting on a dead line";
    EXPECT_FALSE(port->isOpen);
    EXPECT_TRUE(f.DoSpec->isEnabled());
    EXPECT_EQ(win->MousePointer(), 0);
    EXPECT_EQ(win->RunningOperation(), nullptr);
  });
  port->beforeIo = nullptr;
  EXPECT_EQ(File(), "(none)");
  // The gone box waits for the capture's own; it comes from the event loop.
  QElapsedTimer wait;
  wait.start();
  while (!prompter.AllShown() && wait.elapsed() < 3000) QCoreApplication::processEvents();
  EXPECT_TRUE(prompter.AllShown());
  EXPECT_TRUE(win->COM_OL->isChecked());
  EXPECT_FALSE(win->Sys->Exists("#1"));
}

// A target that can't take the capture is refused before the drive is asked,
// so the drive's one capture is never read into nothing; a write that still
// fails offers another name.
TEST_F(CaptureTest, AFileInTheWayIsNamedWithTheReasonAndLeftWhole) {
  sim.Drive(1).SetSpecialCapture(std::string(online::kCaptureBytes, '\xFF'));
  const std::string path = dir.filePath("CAPTURE.TXT").toStdString();
  const std::string other = dir.filePath("elsewhere.txt").toStdString();
  const std::string old(1000, 'o');
  const std::string refused = ". Nothing was read from the drive.";
  const std::string offer = ". Save it under another name?";
  struct Case {
    const char* name;
    std::function<void()> make;
    std::string box;  // "" = written
    bool asked;       // the drive was asked for its capture
    std::function<void()> after;
  } cases[] = {
      {"folder", [&] { ASSERT_TRUE(QDir(dir.path()).mkdir("CAPTURE.TXT")); }, "it is a folder" + refused, false,
       [&] { EXPECT_TRUE(QFileInfo(dir.filePath("CAPTURE.TXT")).isDir()); }},
      {"fifo", [&] { ASSERT_TRUE(talvero::testing::MakeFifo(path)); }, "it is a pipe (fifo), not a file" + refused,
       false, [&] { EXPECT_TRUE(QFileInfo(dir.filePath("CAPTURE.TXT")).exists()); }},
      {"full disk", [&] { std::ofstream(path) << old; }, "the disk is full" + offer, true,
       [&] { EXPECT_EQ(File(), old); }},
      {"symbolic link", [&] {
         std::ofstream(other) << old;
         ASSERT_TRUE(QFile::link("elsewhere.txt", dir.filePath("CAPTURE.TXT")));
       }, "", true,
       [&] {
         EXPECT_TRUE(QFileInfo(dir.filePath("CAPTURE.TXT")).isSymLink()) << "the link is kept";
         EXPECT_EQ(File().size(), 6800u) << "what it points at holds the capture";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    if (!c.box.empty())
      prompter.ExpectMessage("The capture could not be written to " + path + ": " + c.box, Answer::No,
                             "Talvero: Special Capture...");
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    const talvero::testing::Stopwatch watch;
    {
      std::optional<talvero::testing::FileSizeLimit> full;
      if (c.name == std::string("full disk")) full.emplace(4096);
      Capture();
    }
    EXPECT_LT(watch.Seconds(), 2.0);
    EXPECT_TRUE(prompter.AllShown());
    const std::vector<std::string> sent = Sent(1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "ZC"), c.asked ? 1 : 0);
    c.after();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before)
        << "no temporary left";
    QDir(dir.filePath("CAPTURE.TXT")).removeRecursively();
    QFile::remove(dir.filePath("CAPTURE.TXT"));
    QFile::remove(QString::fromStdString(other));
  }
}

TEST_F(CaptureTest, AWriteThatFailsOffersAnotherNameUntilOneTakesIt) {
  sim.Drive(1).SetSpecialCapture(std::string(online::kCaptureBytes, '\xFF'));
  const std::string path = dir.filePath("CAPTURE.TXT").toStdString();
  const std::string saved = dir.filePath("kept.TXT").toStdString();
  const std::string closed = dir.filePath("gone/x.TXT").toStdString();
  talvero::ReplaceCalls& calls = talvero::TheReplaceCalls();
  const talvero::ReplaceCalls real = calls;
  // The first rename fails, as a disk pulled out would have it.
  static int renames;
  renames = 0;
  calls.rename = [](const char* from, const char* to) {
    if (renames++ == 0) {
      errno = EIO;
      return -1;
    }
    return ::rename(from, to);
  };
  const std::string ask = ". Save it under another name?";
  prompter.ExpectMessage("The capture could not be written to " + path + ": Input/output error" + ask, Answer::Yes,
                         "Talvero: Special Capture...")
      .ExpectSaveFile(closed)
      .ExpectMessage("The capture could not be written to " + closed + ": No such file or directory" + ask,
                     Answer::Yes, "Talvero: Special Capture...")
      .ExpectSaveFile(saved);
  Capture();
  calls = real;
  EXPECT_TRUE(prompter.AllShown());
  EXPECT_EQ(File(), "(none)");
  std::ifstream in(saved, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text, online::CaptureText(std::string(online::kCaptureBytes, '\xFF')));
}

}  // namespace
