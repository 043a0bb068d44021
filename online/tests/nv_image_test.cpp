// Saving a drive's memory into an image file and writing one back, on the
// real window over the in-memory line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolButton>
#include <cstdio>
#include <functional>
#include <optional>

#include "mainwin/long_operation.h"
#include "online/model/nv_transfer.h"
#include "online/tests/memory_window_fixture.h"
#include "platform/files/tests/file_kinds.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;
using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

class NvImageTest : public MemoryWindowTest {
 protected:
  void SetUp() override {
    MemoryWindowTest::SetUp();
    AddDrive(1, Family::RHO, "KV110c", "Feed");
    AddDrive(4, Family::TAU, "KV110i/d", "Lift");
    StartWithDrives();
  }
  // The block count the bar shows, 0 while it shows none.
  int BlocksShown() const {
    if (!win->Prog->isTextVisible()) return 0;
    return win->Prog->format().section(' ', 1, 1).toInt();
  }
  QToolButton* StopButton() const { return win->findChild<QToolButton*>("NvStop"); }
  void Save() { win->MenuCommandHook("AA_MEM2FILE"); }
  void Restore() { win->MenuCommandHook("AA_FILE2MEM"); }
  void ExpectQuestions() {
    prompter.ExpectMessage(online::NvRestoreQuestion(0).text, Answer::Yes, "NV Upload Warning")
        .ExpectMessage(online::NvRestoreQuestion(1).text, Answer::Yes, "NV UPload Warning")
        .ExpectMessage(online::NvRestoreQuestion(2).text, Answer::Yes, "NV Upload Warning");
  }
  void ExpectWindowAsBefore() {
    EXPECT_EQ(win->Prog->value(), 0);
    EXPECT_FALSE(win->Prog->isTextVisible());
    EXPECT_EQ(StopButton(), nullptr);
    EXPECT_EQ(win->MousePointer(), 0);
    EXPECT_EQ(win->RunningOperation(), nullptr);
  }
  QStringList FilesInDir() const {
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    files.removeAll("talvero.lock");
    return files;
  }
};

TEST_F(NvImageTest, SaveCopiesTheMemoryExactlyOverALongerFileWhileTheTimerPolls) {
  const std::string path = Path("drive.SNA");
  WriteFile(path, std::string(200000, 'x'));
  prompter.ExpectSaveFile(path);
  std::vector<std::pair<int, int>> seen;  // (blocks shown, bar value) at each block's step
  each = [&]() {
    if (BlocksShown() > 0 && (seen.empty() || seen.back().first != BlocksShown()))
      seen.push_back({BlocksShown(), win->Prog->value()});
  };
  Save();

  EXPECT_EQ(ReadFile(path), Memory(1)) << "exactly 131072 bytes, nothing of the old tail";
  ASSERT_EQ(prompter.Dialogs().size(), 1u);
  const talvero::FileDialog& d = prompter.Dialogs()[0];
  EXPECT_EQ(d.title, "Save NV memory to...");
  EXPECT_EQ(d.defaultExt, "SNA");
  EXPECT_EQ(d.fileName, "*.SNA");
  EXPECT_TRUE(d.confirmOverwrite);

  const std::vector<std::string> reads = Sent(1, "\x12");
  ASSERT_EQ(reads.size(), 1024u);
  EXPECT_EQ(reads.front(), "\x12" "0");
  EXPECT_EQ(reads[1], "\x12" "128");
  EXPECT_EQ(reads.back(), "\x12" "130944");
  EXPECT_TRUE(Sent(4, "").empty());

  // The bar after block n: its address over 512, 255 first after the block at 130560.
  ASSERT_EQ(seen.size(), 1023u);
  for (const auto& [n, value] : seen) EXPECT_EQ(value, std::min(255, (n - 1) * 128 / 512)) << n;
  EXPECT_EQ(seen[1019], (std::pair<int, int>{1020, 254}));
  EXPECT_EQ(seen[1020], (std::pair<int, int>{1021, 255}));

  // The tick ran between blocks and its polls went to the line among them.
  const std::string codes = Codes();
  const size_t first = codes.find('\x12'), last = codes.rfind('\x12');
  const std::string between = codes.substr(first, last - first);
  EXPECT_GE(std::count(between.begin(), between.end(), 'Q'), 10);
  EXPECT_GE(std::count(between.begin(), between.end(), 'q'), 10);
  ExpectWindowAsBefore();
  EXPECT_EQ(FilesInDir(), QStringList{"drive.SNA"});
}

TEST_F(NvImageTest, AFailedReadLeavesTheTargetAsItWas) {
  struct Case {
    const char* name;
    std::optional<std::string> before;  // the target's content, nullopt = no file
    int goodReads;                      // blocks the drive answers before it falls silent
  } cases[] = {
      {"new file, first read fails", std::nullopt, 0},
      {"old file, first read fails", std::string(5000, 'o'), 0},
      {"old image, read 700 fails", Random(online::kNvImageSize, 3), 700},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path("failed.SNA");
    QFile::remove(QString::fromStdString(path));
    if (c.before) WriteFile(path, *c.before);
    sim.ClearFaults();
    sim.ClearLog();
    if (c.goodReads == 0) sim.AddFault(FaultRule::Missing(1, "\x12", -1));
    else sim.AddFault(FaultRule::Missing(1, "\x12" + std::to_string(c.goodReads * 128), -1));
    prompter.ExpectSaveFile(path).ExpectBox({"Read failed."}, Answer::Ok);
    Save();
    EXPECT_EQ(QFile::exists(QString::fromStdString(path)), c.before.has_value());
    if (c.before) {
      EXPECT_EQ(ReadFile(path), *c.before);
    }
    EXPECT_EQ(FilesInDir().size(), c.before ? 1 : 0) << "no partial file left behind";
    ExpectWindowAsBefore();
  }
}

TEST_F(NvImageTest, ASaveKeepsItsDriveTheWindowOpenAndStopsQuietly) {
  const std::string path = Path("kept.SNA");
  WriteFile(path, "old");
  prompter.ExpectSaveFile(path).ExpectMessage(mainwin::LongOperation::kCloseRefused, Answer::Ok);
  bool clicked = false, closed = false;
  each = [&]() {
    if (BlocksShown() == 10 && !clicked) {
      clicked = true;
      Click("#4");
      EXPECT_FALSE(win->Sys->isEnabled());
      EXPECT_FALSE(win->menuBar()->isEnabled());
    }
    if (BlocksShown() == 20 && !closed) {
      closed = true;
      QCloseEvent close;
      QCoreApplication::sendEvent(win.get(), &close);
      EXPECT_FALSE(close.isAccepted());
    }
    if (BlocksShown() == 30) QTest::keyClick(win.get(), Qt::Key_Escape);  // the Stop button's key
  };
  win->show();
  QApplication::setActiveWindow(win.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
  Save();
  EXPECT_EQ(Sent(1, "\x12").size(), 30u) << "stopped before block 31";
  EXPECT_TRUE(Sent(4, "\x12").empty()) << "every block to the drive taken at the start";
  EXPECT_EQ(win->CurNode, 1);
  EXPECT_EQ(win->Sys->SelectedKey(), "#1");
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(FilesInDir(), QStringList{"kept.SNA"});
  ExpectWindowAsBefore();
  EXPECT_TRUE(win->Sys->isEnabled());
}

TEST_F(NvImageTest, ASaveThatCannotCreateItsFileSaysWhereAndWhy) {
  const std::string path = Path("no such folder/x.SNA");
  prompter.ExpectSaveFile(path).ExpectMessageContaining(path + ": No such file or directory", Answer::Ok);
  Save();
  EXPECT_TRUE(Sent(1, "\x12").empty());
  ExpectWindowAsBefore();
}

TEST_F(NvImageTest, ASaveTargetIsCheckedBeforeTheFirstBlockAndNeverDamaged) {
  namespace kinds = talvero::testing;
  const std::string old = Random(online::kNvImageSize, 5);
  const std::string longName = Path(std::string(250, 'n') + ".SNA");
  const std::string at = Path("t.SNA");
  struct Case {
    const char* name;
    std::function<std::string()> make;  // the path chosen
    std::string reason;                 // "" = saved
    QStringList files;                  // the folder afterwards
    std::function<void(const std::string&)> after;
  } cases[] = {
      {"folder", [&] { EXPECT_TRUE(QDir().mkdir(QString::fromStdString(at))); return at; }, "it is a folder", {},
       [](auto p) { EXPECT_TRUE(QFileInfo(QString::fromStdString(p)).isDir()); }},
      {"fifo", [&] { EXPECT_TRUE(kinds::MakeFifo(at)); return at; }, "it is a pipe (fifo), not a file", {"t.SNA"},
       [](auto) {}},
      {"link to a device", [&] {
         EXPECT_TRUE(kinds::MakeDevice(Path("t.dev")));
         EXPECT_EQ(::symlink("t.dev", at.c_str()), 0);
         return at;
       }, "it is a device, not a file", {"t.SNA", "t.dev"}, [](auto) {}},
      {"254-character name", [&] { return longName; }, "", {QString::fromStdString(std::string(250, 'n') + ".SNA")},
       [&](auto p) { EXPECT_EQ(ReadFile(p), Memory(1)); }},
      {"link to an old image", [&] {
         WriteFile(Path("old.SNA"), old);
         EXPECT_EQ(::symlink("old.SNA", at.c_str()), 0);
         return at;
       }, "", {"old.SNA", "t.SNA"},
       [&](auto p) {
         EXPECT_TRUE(QFileInfo(QString::fromStdString(p)).isSymLink()) << "the link is kept";
         EXPECT_EQ(ReadFile(Path("old.SNA")), Memory(1));
       }},
      {"full disk", [&] { WriteFile(at, old); return at; }, "the disk is full", {"t.SNA"},
       [&](auto p) { EXPECT_EQ(ReadFile(p), old) << "the old image kept whole"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.name == std::string("link to a device") && ::geteuid() != 0) {
      std::printf("%s: only root makes a device to write to\n", c.name);
      continue;
    }
    sim.ClearLog();
    const std::string path = c.make();
    const bool full = c.name == std::string("full disk");
    prompter.ExpectSaveFile(path);
    if (!c.reason.empty())
      prompter.ExpectMessage("Couldn't save the memory image to " + path + ": " + c.reason + ".", Answer::Ok);
    const kinds::Stopwatch watch;
    {
      std::optional<kinds::FileSizeLimit> limit;
      if (full) limit.emplace(50000);  // room for 390 blocks and part of one
      Save();
    }
    if (c.reason.empty() || full) {
      EXPECT_EQ(Sent(1, "\x12").size(), full ? 391u : 1024u);
    } else {
      EXPECT_LT(watch.Seconds(), 1.0);
      EXPECT_TRUE(Sent(1, "\x12").empty()) << "refused before block 0";
    }
    EXPECT_TRUE(prompter.AllShown());
    c.after(path);
    QStringList files = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    files.removeAll("talvero.lock");
    QStringList expected = c.files;
    if (c.name == std::string("folder")) expected = {"t.SNA"};
    files.sort();
    expected.sort();
    EXPECT_EQ(files, expected) << "no temporary left";
    ExpectWindowAsBefore();
    for (const QString& f : files) {
      QDir(dir.filePath(f)).removeRecursively();
      QFile::remove(dir.filePath(f));
    }
  }
}

TEST_F(NvImageTest, ARestoreFileThatIsNoImageIsRefusedAtOnceAndTheDriveStaysStopped) {
  const std::string old = Memory(1);
  const std::string at = Path("odd.SNA");
  for (const FileNotToSend& c : FilesNotToSend(at)) {
    SCOPED_TRACE(c.name);
    sim.ClearLog();
    const std::string path = c.make();
    ExpectQuestions();
    prompter.ExpectOpenFile(path);
    prompter.ExpectMessage((c.reason.empty() ? "odd.SNA is not a memory image: it holds 2147483648 bytes, an image holds 131072."
                                             : "Couldn't read " + path + ": " + c.reason + ".") +
                               " Nothing was written; the drive stays stopped.",
                           Answer::Ok);
    const talvero::testing::Stopwatch watch;
    Restore();
    EXPECT_LT(watch.Seconds(), 1.0);
    EXPECT_TRUE(prompter.AllShown());
    std::vector<std::string> sent;
    for (const std::string& d : sim.Requests(1))
      if (d != "Q" && d != "q") sent.push_back(d);
    EXPECT_EQ(sent, std::vector<std::string>{"\x1B"}) << "the stop alone";
    EXPECT_EQ(Memory(1), old);
    ExpectWindowAsBefore();
    Remove(at);
  }
}

TEST_F(NvImageTest, RestoreRefusalsSendNothingOrOnlyTheStop) {
  const std::string old = Memory(1);
  struct Case {
    const char* name;
    int yes;                            // questions answered Yes before a No (3 = all)
    bool estopSilent;
    std::optional<size_t> fileSize;     // the chosen file's length; nullopt = Cancel
    std::string message;                // "" = none
    std::vector<std::string> requests;  // to node 1
  } cases[] = {
      {"No at question 1", 0, false, 0, "", {}},
      {"No at question 2", 1, false, 0, "", {}},
      {"No at question 3", 2, false, 0, "", {}},
      {"silent E-stop", 3, true, 0, "Couldn't E-stop the axis.", {}},
      {"Cancel", 3, false, std::nullopt, "", {"\x1B"}},
      {"empty file", 3, false, 0,
       "bad.SNA is not a memory image: it holds 0 bytes, an image holds 131072. Nothing was written; "
       "the drive stays stopped.",
       {"\x1B"}},
      {"one byte short", 3, false, 131071,
       "bad.SNA is not a memory image: it holds 131071 bytes, an image holds 131072. Nothing was "
       "written; the drive stays stopped.",
       {"\x1B"}},
      {"one byte long", 3, false, 131073,
       "bad.SNA is not a memory image: it holds 131073 bytes, an image holds 131072. Nothing was "
       "written; the drive stays stopped.",
       {"\x1B"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.ClearFaults();
    sim.ClearLog();
    if (c.estopSilent) sim.AddFault(FaultRule::Missing(1, "\x1B", -1));
    for (int k = 0; k < 3 && k <= c.yes; ++k) {
      const talvero::MessageBox q = online::NvRestoreQuestion(k);
      prompter.ExpectBox(q, k < c.yes ? Answer::Yes : Answer::No);
    }
    const std::string path = Path("bad.SNA");
    if (c.yes == 3 && !c.estopSilent) {
      if (c.fileSize) WriteFile(path, std::string(*c.fileSize, 'z'));
      prompter.ExpectOpenFile(c.fileSize ? std::optional<std::string>(path) : std::nullopt);
    }
    if (!c.message.empty()) prompter.ExpectBox({c.message}, Answer::Ok);
    const size_t dialogs = prompter.Dialogs().size();
    Restore();
    std::vector<std::string> sent;
    for (const std::string& d : sim.Requests(1))
      if (d != "Q" && d != "q") sent.push_back(d);
    if (c.estopSilent) EXPECT_EQ(sent, std::vector<std::string>(size_t(win->Link.Retries), "\x1B"));
    else EXPECT_EQ(sent, c.requests);
    EXPECT_EQ(prompter.Dialogs().size(), dialogs + (c.yes == 3 && !c.estopSilent ? 1 : 0));
    EXPECT_TRUE(prompter.AllShown());
    EXPECT_EQ(Memory(1), old);
    ExpectWindowAsBefore();
  }
  const talvero::FileDialog& d = prompter.Dialogs().back();
  EXPECT_EQ(d.title, "Restore NV memory from...");
  EXPECT_EQ(d.defaultExt, "SNA");
  EXPECT_EQ(d.filter, "*.SNA|*.SNA");
  EXPECT_TRUE(d.mustExist);
}

TEST_F(NvImageTest, ARestoreWritesTheImageRestartsTheDriveAndRebuildsTheTree) {
  const std::string image = Random(online::kNvImageSize, 7);
  const std::string path = Path("good.SNA");
  WriteFile(path, image);
  ExpectQuestions();
  prompter.ExpectOpenFile(path);
  Restore();
  EXPECT_EQ(Memory(1), image);
  const std::vector<std::string> sent = sim.Requests(1);
  const std::vector<std::string> data = Sent(1, "\x14");
  ASSERT_EQ(data.size(), 1024u);
  EXPECT_EQ(data[1023], "\x14" + image.substr(130944));
  EXPECT_EQ(Sent(1, "\x13").back(), "\x13" "130944");
  ASSERT_EQ(Sent(1, "RE").size(), 1u);
  // The restart follows the last block, then a second's wait, then the search.
  const auto last = std::find(sent.begin(), sent.end(), data[1023]);
  const auto restart = std::find(sent.begin(), sent.end(), "RE");
  EXPECT_LT(last, restart);
  const std::vector<int64_t>& sleeps = clock.Sleeps();
  EXPECT_NE(std::find(sleeps.begin(), sleeps.end(), 1000), sleeps.end());
  EXPECT_EQ(win->Sys->SelectedKey(), "!SY");
  EXPECT_FALSE(win->AxisSelected);
  EXPECT_TRUE(win->Sys->Exists("#1") && win->Sys->Exists("#4")) << "the drives found again";
  ExpectWindowAsBefore();
}

TEST_F(NvImageTest, ABlockTheDriveRefusesEndsTheRestoreWithoutARestart) {
  const std::string image = Random(online::kNvImageSize, 9);
  const std::string path = Path("half.SNA");
  WriteFile(path, image);
  // Block 101 (address 12800) fails: its address is lost, so the drive never
  // gets it, or its data's acknowledgement is damaged after the drive wrote it.
  // The box says what the drive may hold in both cases.
  const struct {
    FaultRule fault;
    size_t held;  // bytes of the image the drive then holds
  } cases[] = {
      {FaultRule::Missing(1, "\x13" "12800", -1), 12800},
      {FaultRule::Kind(FaultKind::BadChecksum, 1, "\x14" + image.substr(12800, 128)), 12928},
  };
  for (const auto& c : cases) {
    const std::string old = Memory(1);
    sim.ClearFaults();
    sim.ClearLog();
    sim.AddFault(c.fault);
    ExpectQuestions();
    prompter.ExpectOpenFile(path).ExpectBox(
        {"Write failed at block 101 of 1024: blocks 1 to 100 were written and block 101 may have been. The "
         "drive holds a partly written image and stays stopped; restore a whole image before running it."},
        Answer::Ok);
    Restore();
    EXPECT_EQ(Memory(1).substr(0, c.held), image.substr(0, c.held)) << c.held;
    EXPECT_EQ(Memory(1).substr(c.held), old.substr(c.held)) << c.held;
    EXPECT_TRUE(Sent(1, "R").empty());
    EXPECT_EQ(win->CurNode, 1) << "no refresh: the drive stays selected";
    ExpectWindowAsBefore();
  }
  EXPECT_EQ(online::NvWriteFailed(0).rfind("Write failed at block 1 of 1024: block 1 may have been written. The", 0), 0u);
  EXPECT_EQ(online::NvWriteFailed(1).rfind(
                "Write failed at block 2 of 1024: block 1 was written and block 2 may have been. The", 0),
            0u);
}

TEST_F(NvImageTest, StoppingARestoreAsksAndLeavesTheDriveStopped) {
  const std::string image = Random(online::kNvImageSize, 11);
  const std::string path = Path("stop.SNA");
  WriteFile(path, image);
  ExpectQuestions();
  prompter.ExpectOpenFile(path)
      .ExpectMessage(online::kNvStopQuestion, Answer::No)
      .ExpectMessage(online::kNvStopQuestion, Answer::Yes)
      .ExpectMessage(online::NvRestoreStopped(40), Answer::Ok);
  bool at20 = false, at40 = false;
  each = [&]() {
    bool& once = BlocksShown() == 20 ? at20 : at40;
    if ((BlocksShown() == 20 || BlocksShown() == 40) && !once) {
      once = true;
      StopButton()->click();
    }
  };
  Restore();
  EXPECT_EQ(Sent(1, "\x14").size(), 40u);
  EXPECT_EQ(Memory(1).substr(0, 40 * 128), image.substr(0, 40 * 128));
  EXPECT_TRUE(Sent(1, "R").empty());
  ExpectWindowAsBefore();
}

}  // namespace
