// The main window on its own link, against simulated drives on a
// pseudo-terminal mapped to COM1.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>

#include "mainwin/main_win.h"
#include "mainwin/pop.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tests/fakes.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port_object.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;

class LineSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto add = [&](int node, Family f, const char* model, const char* name) {
      talvero::sim::SimDrive& d = sim.AddDrive(node, f);
      d.SetModel(model);
      d.SetName(name);
      d.SetSerial("S" + std::to_string(node));
      return &d;
    };
    add(1, Family::RHO, "KV110c", "Feed");
    talvero::sim::SimDrive* lift = add(4, Family::TAU, "KV110i/d", "Lift");
    lift->Programs().Save(talvero::sim::Buffer::Library, "HOME");
    lift->Programs().Save(talvero::sim::Buffer::Library, "PICK");
    add(31, Family::PSI, "KS130i/d", "Arm");
    ASSERT_TRUE(server.Start()) << server.Error();
    setenv("TALVERO_COM1", server.SlavePath().c_str(), 1);
    talvero::TheSystemClock().SetEventPump([this]() {
      if (pump) pump();
      QCoreApplication::processEvents();
    });
    settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
    ASSERT_TRUE(Start());
    // Short time-outs, below what the settings allow, so empty nodes pass quickly.
    win->Link.FirstByteTimeout = 40;
    win->Link.NextByteTimeout = 20;
  }
  void TearDown() override {
    win.reset();
    talvero::TheSystemClock().SetEventPump(nullptr);
    unsetenv("TALVERO_COM1");
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(prompter.AllShown());
  }
  // A window on its own link with the settings as they are; false when it would not start.
  bool Start() {
    MainWinEnv env;
    env.settings = settings.io();
    env.libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    win = std::make_unique<MainWin>(std::move(env));
    return win->Form_Load("");
  }
  // The nodes the link asked who they are, in order.
  std::vector<int> IdentityRequests() {
    std::vector<int> nodes;
    for (const auto& r : sim.Log())
      if (!r.text && r.data == std::string(1, '\x01')) nodes.push_back(r.node);
    std::vector<int> unique;
    for (int n : nodes)
      if (unique.empty() || unique.back() != n) unique.push_back(n);
    return unique;
  }

  QTemporaryDir dir;
  talvero::ScriptedPrompter prompter;
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server{sim};
  MapSettings settings;
  std::function<void()> pump;
  std::unique_ptr<MainWin> win;
};

TEST_F(LineSearchTest, FindsTheDrivesOnTheLineAndListsTheirPrograms) {
  MainWin& w = *win;
  w.COM__Click(0);
  EXPECT_TRUE(w.COM_[0]->isChecked());
  EXPECT_EQ(settings.values["Setup/COM"], "1");
  EXPECT_EQ(w.Sys->Children("!SY"), (std::vector<std::string>{"#1", "#4", "#31"}));
  EXPECT_EQ(w.GetDriveNameByNode(4), "KV110i/d Lift (Node 4)");
  EXPECT_EQ(w.NodeTables.at(31).family, "PSI");
  EXPECT_EQ(w.SerialandVersion(1, 1), "Serial # S1");
  EXPECT_EQ(w.SerialandVersion(1, 2).rfind("Kernel version: ", 0), 0u);
  EXPECT_EQ(w.Sys->Children("PL4"), (std::vector<std::string>{"LE4,0", "LE4,1"}));
  EXPECT_EQ(w.Sys->Text("LE4,1"), "PICK");
  EXPECT_TRUE(w.Sys->Children("PL1").empty());
  EXPECT_EQ(IdentityRequests().size(), 31u);

  // A program stored later shows after re-listing that drive alone.
  sim.With(1, [](talvero::sim::SimDrive& d) {
    return d.Programs().Save(talvero::sim::Buffer::Library, "JOG");
  });
  w.RefreshAxisLibrary(1);
  EXPECT_EQ(w.Sys->Children("PL1"), (std::vector<std::string>{"LE1,0"}));
  EXPECT_EQ(w.Sys->Text("LE1,0"), "JOG");

  // Off-line lets go of the port: another program can open it now.
  talvero::SerialPortObject other;
  EXPECT_LT(other.OpenDevice(server.SlavePath()), 0) << "the line is held while in use";
  w.COM_OL_Click();
  EXPECT_TRUE(w.COM_OL->isChecked());
  EXPECT_EQ(settings.values["Setup/COM"], "0");
  EXPECT_TRUE(w.Sys->Children("!SY").empty());
  EXPECT_GT(other.OpenDevice(server.SlavePath()), 0);
  other.Close();
}

TEST_F(LineSearchTest, StopDuringTheSearchKeepsTheDrivesFoundSoFar) {
  MainWin& w = *win;
  // The pop-up is up for this search; Ctrl-C reaches it while "at Node 7" shows.
  pump = [&]() {
    if (w.Pop()->isVisible() && w.Pop()->PS2->text() == "at Node 7 of 31" && !w.Pop()->Clicked())
      QCoreApplication::postEvent(w.Pop(), new QKeyEvent(QEvent::KeyPress, Qt::Key_C,
                                                         Qt::ControlModifier, "\x03"));
  };
  w.COM__Click(0);
  pump = nullptr;
  EXPECT_EQ(IdentityRequests(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(w.Sys->Children("!SY"), (std::vector<std::string>{"#1", "#4"}));
  EXPECT_EQ(w.GetDriveNameByNode(31), "");
  EXPECT_TRUE(w.Pop()->isHidden());
  EXPECT_TRUE(w.isEnabled());
}

TEST_F(LineSearchTest, ExitStoresTheSettingsAndLetsGoOfThePort) {
  MainWin& w = *win;
  pump = [&]() {
    if (w.Pop()->isVisible() && w.Pop()->PS2->text() == "at Node 2 of 31") w.Pop()->Stop->click();
  };
  w.COM__Click(0);
  pump = nullptr;
  ASSERT_GT(w.Link.theHandle(), 0);
  talvero::SerialPortObject other;
  EXPECT_LT(other.OpenDevice(server.SlavePath()), 0);
  w.File_Exit_Click();
  EXPECT_EQ(w.Link.theHandle(), 0);
  EXPECT_EQ(settings.values["OpenApps/List"], "");
  EXPECT_EQ(settings.values["Setup/COM"], "1");
  EXPECT_GT(other.OpenDevice(server.SlavePath()), 0);
  other.Close();
}

TEST_F(LineSearchTest, PortThatDoesNotExistIsNamedInTheMessage) {
  setenv("TALVERO_COM2", "/dev/no-such-talvero-line", 1);
  prompter.ExpectMessage(
      "Couldn't open COM2. Please select another.\n\n/dev/no-such-talvero-line does not exist.",
      Answer::Ok, "Error!");
  win->COM__Click(1);
  EXPECT_TRUE(win->COM_OL->isChecked());
  EXPECT_FALSE(win->COM_[1]->isChecked());
  EXPECT_EQ(settings.values["Setup/COM"], "0");
  EXPECT_EQ(win->Link.theHandle(), 0);

  // Saved as the port to open at start-up, its failed probe is named too.
  win.reset();
  settings.values = {{"Help/GS", "1"}, {"Setup/COM", "2"}, {"Setup/CPS", "2"}};
  prompter.ExpectMessage(
      "Couldn't open COM2. Offline mode selected.\n\n/dev/no-such-talvero-line does not exist.",
      Answer::Ok, "Error!");
  ASSERT_TRUE(Start());
  unsetenv("TALVERO_COM2");
  EXPECT_FALSE(win->COM_[1]->isVisible());
  EXPECT_EQ(settings.values["Setup/COM"], "0");
}

TEST_F(LineSearchTest, ModemAndNodeZeroAnswersStopTheSearch) {
  const struct {
    talvero::sim::LineMode mode;
    const char* text;
  } cases[] = {
      {talvero::sim::LineMode::Modem,
       "It appears a MODEM is out on the selected COM port, not a drive!\n\nSelect the correct COM port."},
      {talvero::sim::LineMode::NodeZero,
       "It appears a drive at Node 0 or a MODEM is\nout on the selected COM port!\n\n"
       "Select a correct COM port or choose a \nnon-zero Node number."},
  };
  for (const auto& c : cases) {
    sim.SetMode(c.mode);
    sim.ClearLog();
    prompter.ExpectMessage(c.text, Answer::Ok, "Error!");
    win->COM__Click(0);
    EXPECT_TRUE(IdentityRequests().empty());
    EXPECT_TRUE(win->Sys->Children("!SY").empty());
    EXPECT_EQ(win->Sys->Children(""), (std::vector<std::string>{"!SY", "!AP"}));
  }
}


TEST_F(LineSearchTest, LibraryProgramRenameAndRunningStateOnTheDrive) {
  using talvero::sim::Buffer;
  MainWin& w = *win;
  sim.With(4, [](talvero::sim::SimDrive& d) {
    auto& ps = d.Programs();
    ps.Clear(Buffer::Library);
    ps.SetLine(Buffer::Library, 3, "X=5");
    bool ok = ps.Save(Buffer::Library, "HOME");
    ps.SetLine(Buffer::Library, 3, "SOMETHING ELSE");  // the buffer holds another text now
    return ok;
  });
  pump = [&]() {  // drives 1 and 4 are enough
    if (w.Pop()->isVisible() && w.Pop()->PS2->text() == "at Node 5 of 31") w.Pop()->Stop->click();
  };
  w.COM__Click(0);
  pump = nullptr;
  w.Sys->Select("LE4,0");
  w.Sys_NodeClick("LE4,0");
  ASSERT_EQ(w.CurPgmName, "HOME");
  auto names = [&]() {
    return sim.With(4, [](talvero::sim::SimDrive& d) {
      std::vector<std::string> out;
      for (const auto& p : d.Programs().Library()) out.push_back(p.name);
      return out;
    });
  };

  bool cancel = false;
  std::string name = "pick";
  prompter.ExpectMessage("Name already used.", Answer::Ok);
  w.Sys_AfterLabelEdit(cancel, name);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(names(), (std::vector<std::string>{"HOME", "PICK"}));

  name = " jog ";
  w.Sys_AfterLabelEdit(cancel, name);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(name, "JOG");
  EXPECT_EQ(w.CurPgmName, "JOG");
  EXPECT_EQ(names(), (std::vector<std::string>{"PICK", "JOG"}));
  EXPECT_EQ(sim.With(4, [](talvero::sim::SimDrive& d) {
              return d.Programs().Find("JOG")->program.lines[3];
            }),
            "X=5")
      << "the program itself, not whatever the edit buffer held";

  // "Copy to Active Program..." only while the drive's program is known to be stopped.
  auto activate = [&]() {
    w.Sys_KeyPress(32);
    EXPECT_EQ(w.ShownContextMenu(), w.LEMenu);
    const bool on = w.Item("LE_Activate")->isEnabled();
    w.LEMenu->hide();
    return on;
  };
  EXPECT_TRUE(activate());
  sim.With(4, [](talvero::sim::SimDrive& d) {
    d.SetStatusExtraBits(talvero::sim::kRunning);
    return 0;
  });
  EXPECT_FALSE(activate());
  sim.With(4, [](talvero::sim::SimDrive& d) {
    d.SetStatusExtraBits(0);
    return 0;
  });
  sim.AddFault(talvero::sim::FaultRule::Silent(4));
  EXPECT_FALSE(activate()) << "no answer: it may be running";
  sim.ClearFaults();

  // A drive that stops answering part-way: nothing is deleted.
  w.Sys->Select("LE4,1");
  w.Sys_NodeClick("LE4,1");
  sim.AddFault(talvero::sim::FaultRule::Silent(4));
  name = "SAFE";
  prompter.ExpectMessage("Trouble renaming.", Answer::Ok);
  w.Sys_AfterLabelEdit(cancel, name);
  EXPECT_TRUE(cancel);
  sim.ClearFaults();
  EXPECT_EQ(names(), (std::vector<std::string>{"PICK", "JOG"}));
}

}  // namespace
