// The ASCII terminal against simulated drives: in memory with the fake clock,
// and once end to end over a pseudo-terminal.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "online/adi.h"
#include "online/tests/admin_fixture.h"
#include "platform/serial/serial_port_object.h"
#include "sim/pty_server.h"

namespace {

using online::ADI;
using talvero::Answer;

// The entries of the list as drawn, or as held (control characters as they came).
std::vector<std::string> Entries(const ADI& adi, bool raw = false) {
  std::vector<std::string> out;
  for (int i = 0; i < adi.Results->count(); ++i) {
    const QListWidgetItem* it = adi.Results->item(i);
    out.push_back((raw ? it->data(Qt::UserRole).toString() : it->text()).toStdString());
  }
  return out;
}

// Types the message and Enter, as the user does.
void Send(ADI& adi, const std::string& node, const std::string& message) {
  adi.NODE->setText(QString::fromStdString(node));
  adi.MSG->setText(QString::fromStdString(message));
  QTest::keyClick(adi.MSG, Qt::Key_Return);
}

class AdiTest : public AdminWindowTest {
 protected:
  // Opens the terminal and runs f in it.
  void Terminal(std::function<void(ADI&)> f) {
    WhenShown("ADI", [f](QWidget& w) { f(static_cast<ADI&>(w)); });
    Choose("GoASCII");
  }
  // Text lines the drives were sent, and whether any packet went out meanwhile.
  std::vector<std::string> TextLines(bool* packets = nullptr) {
    std::vector<std::string> out;
    for (const auto& r : sim.Log()) {
      if (r.text) out.push_back("[" + std::to_string(r.node) + "]" + r.data);
      else if (packets) *packets = true;
    }
    return out;
  }
};

TEST_F(AdiTest, ExchangeIsListedWithTheStatusTimerOff) {
  sim.Drive(1).SetValue("VEL", "12.5");
  Click("#1");
  bool packets = false;
  Terminal([&](ADI& adi) {
    EXPECT_FALSE(win->TStat->isActive());
    EXPECT_FALSE(win->AxisSelected) << "the drives root is selected";
    EXPECT_EQ(adi.NODE->text(), "1");
    sim.ClearLog();
    Send(adi, "1", "VEL");
    EXPECT_EQ(Entries(adi), (std::vector<std::string>{"0001 -> [01]VEL", "0001 <- 12.5"}));
    EXPECT_EQ(adi.MSG->text(), "VEL") << "kept for sending again";
    EXPECT_TRUE(adi.MSG->isEnabled());
    EXPECT_EQ(adi.focusWidget(), adi.MSG);
    // Enter in the list sends too; two reply lines carry one counter.
    adi.MSG->setText("WHO");
    QTest::keyClick(adi.Results, Qt::Key_Return);
    // A node with no drive stays silent.
    Send(adi, "7", "VEL");
    EXPECT_EQ(Entries(adi),
              (std::vector<std::string>{"0001 -> [01]VEL", "0001 <- 12.5", "0002 -> [01]WHO",
                                        "0002 <- RHO KV110c", "0002 <- Feed", "0003 -> [07]VEL",
                                        "0003 <- No reply."}));
    EXPECT_EQ(adi.Results->currentRow(), 6) << "the newest entry is selected";
    EXPECT_EQ(adi.Counter(), 3);
    EXPECT_EQ(TextLines(&packets), (std::vector<std::string>{"[1]VEL", "[1]WHO", "[7]VEL"}));
  });
  EXPECT_FALSE(packets) << "only the terminal's text while it is open";
  EXPECT_TRUE(win->TStat->isActive());
  EXPECT_EQ(win->SelKey, "!SY");

  // The next opening starts afresh.
  Terminal([&](ADI& adi) {
    EXPECT_TRUE(adi.Results->count() == 0);
    EXPECT_EQ(adi.MSG->text(), "");
    Send(adi, "01", "VEL");
    EXPECT_EQ(Entries(adi).front(), "0001 -> [01]VEL");
  });
}

TEST_F(AdiTest, TypingAfterASendReplacesTheMessageAndEnterAloneSendsItAgain) {
  Terminal([&](ADI& adi) {
    sim.ClearLog();
    QTest::keyClicks(adi.MSG, "IRMS");
    QTest::keyClick(adi.MSG, Qt::Key_Return);
    EXPECT_EQ(adi.MSG->selectedText(), "IRMS");
    QTest::keyClicks(adi.MSG, "VER");
    QTest::keyClick(adi.MSG, Qt::Key_Return);
    QTest::keyClick(adi.MSG, Qt::Key_Return);
    // Enter in the list sends the kept message too, and leaves it selected.
    QTest::keyClick(adi.Results, Qt::Key_Return);
    QTest::keyClicks(adi.MSG, "WHO");
    QTest::keyClick(adi.MSG, Qt::Key_Return);
    EXPECT_EQ(TextLines(), (std::vector<std::string>{"[1]IRMS", "[1]VER", "[1]VER", "[1]VER", "[1]WHO"}));
    EXPECT_EQ(adi.MSG->text(), "WHO");
  });
}

TEST_F(AdiTest, NodeBoxIsCheckedBeforeAnythingIsSent) {
  Terminal([&](ADI& adi) {
    sim.ClearLog();
    for (const char* bad : {"0", "00", "123", "1a", ""}) {
      SCOPED_TRACE(bad);
      prompter.ExpectMessage("Illegal Node number.", Answer::Ok);
      Send(adi, bad, "VEL");
      EXPECT_EQ(adi.Counter(), 0);
    }
    prompter.ExpectMessage("The message holds a character that a drive cannot store. Nothing was sent.",
                           Answer::Ok);
    Send(adi, "1", "VEL \xE2\x9C\x93");
    EXPECT_EQ(adi.Counter(), 0);
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(adi.Results->count(), 0);
    Send(adi, "5", "VEL");
    Send(adi, "05", "VEL");
    EXPECT_EQ(TextLines(), (std::vector<std::string>{"[5]VEL", "[5]VEL"}));
    EXPECT_EQ(Entries(adi)[0], "0001 -> [05]VEL");
    EXPECT_EQ(Entries(adi)[2], "0002 -> [05]VEL");
  });
}

TEST_F(AdiTest, LineFeedsOfACrLfDriveStayButShowAsSymbols) {
  sim.Drive(1).SetTextLineEnd("\r\n");
  Terminal([&](ADI& adi) {
    Send(adi, "1", "WHO");
    // Each line after the first begins with the LF that ended the one before.
    EXPECT_EQ(Entries(adi, true), (std::vector<std::string>{"0001 -> [01]WHO", "0001 <- RHO KV110c",
                                                            "0001 <- \nFeed", "0001 <- \n"}));
    EXPECT_EQ(Entries(adi)[2], "0001 <- \u240a" "Feed");
  });
}

TEST_F(AdiTest, OffLineTheTerminalDoesNotOpen) {
  win->COM_OL_Click();
  ASSERT_EQ(win->Link.theHandle(), 0);
  prompter.ExpectMessage("No active port selected. Cannot enter ASCII Drive Mode.", Answer::Ok);
  Choose("GoASCII");
  EXPECT_TRUE(win->TStat->isActive());
  EXPECT_FALSE(talvero::TheWindowFactory().IsVisible("ADI"));
  EXPECT_EQ(talvero::TheWindowFactory().Existing("ADI"), nullptr);
}

// A drive that never stops: every read gets the next byte of "NOISE\r".
class BabblingPort : public talvero::testing::SimPort {
 public:
  BabblingPort(talvero::sim::SimLine& line, talvero::FakeClock& clock)
      : SimPort(line, &clock), clock_(clock) {}
  int ReadByte(int32_t timeoutMs) override {
    if (!babbling) return SimPort::ReadByte(timeoutMs);
    clock_.Advance(msPerByte);
    const char c = "NOISE\r"[at_++ % 6];
    return uint8_t(c);
  }
  bool babbling = false;
  int msPerByte = 0;

 private:
  talvero::FakeClock& clock_;
  size_t at_ = 0;
};

TEST_F(AdiTest, ADriveThatKeepsTalkingIsReadWithinBounds) {
  auto owned = std::make_unique<BabblingPort>(sim, clock);
  BabblingPort* babbler = owned.get();
  win->Link.SetPort(std::move(owned));
  win->Link.OpenPort(1);
  ASSERT_GT(win->Link.theHandle(), 0);
  const struct {
    int msPerByte;
    size_t replies;
  } cases[] = {
      {0, 256},   // at most 256 lines
      {10, 167},  // 60 ms a line: 10 s after 167 lines
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.msPerByte);
    Terminal([&](ADI& adi) {
      babbler->babbling = true;
      babbler->msPerByte = c.msPerByte;
      const int64_t start = clock.NowMs();
      Send(adi, "1", "VEL");
      babbler->babbling = false;
      const std::vector<std::string> entries = Entries(adi);
      ASSERT_EQ(entries.size(), c.replies + 2);
      EXPECT_EQ(entries[1], "0001 <- NOISE");
      EXPECT_EQ(entries.back(), "0001 <- (further replies not read)");
      EXPECT_LT(clock.NowMs() - start, 10100);
      EXPECT_TRUE(adi.MSG->isEnabled());
    });
  }
}

// The terminal over a real serial line: the simulated drives on a pseudo-terminal.
class AdiLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    talvero::sim::SimDrive& d = sim.AddDrive(3, talvero::sim::Family::PHI);
    d.SetModel("KZ220");
    d.SetName("Press");
    ASSERT_TRUE(server.Start()) << server.Error();
    setenv("TALVERO_COM1", server.SlavePath().c_str(), 1);
    talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
    settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
    MainWinEnv env;
    env.settings = settings.io();
    env.libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    win = std::make_unique<MainWin>(std::move(env));
    online::InstallTerminal(*win);
    ASSERT_TRUE(win->Form_Load(""));
    win->Link.FirstByteTimeout = 40;
    win->Link.NextByteTimeout = 20;
    win->Link.OpenPort(1);  // the line alone, without a search
  }
  void TearDown() override {
    win.reset();
    talvero::TheSystemClock().SetEventPump(nullptr);
    unsetenv("TALVERO_COM1");
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
  }
  QTemporaryDir dir;
  talvero::ScriptedPrompter prompter;
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server{sim};
  MapSettings settings;
  std::unique_ptr<MainWin> win;
};

TEST_F(AdiLineTest, WhoOverThePseudoTerminal) {
  ASSERT_GT(win->Link.theHandle(), 0);
  std::vector<std::string> entries;
  WhenShown("ADI", [&](QWidget& w) {
    Send(static_cast<ADI&>(w), "3", "WHO");
    entries = Entries(static_cast<ADI&>(w));
  });
  win->GoASCII->trigger();
  EXPECT_EQ(entries, (std::vector<std::string>{"0001 -> [03]WHO", "0001 <- PHI KZ220",
                                               "0001 <- Press"}));
  EXPECT_TRUE(win->TStat->isActive());
}

}  // namespace

