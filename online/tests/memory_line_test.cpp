// The one slow test: a whole memory image saved from a simulated drive and
// written back, through the window's real link over a pseudo-terminal
// (unpaced; the link's own pauses make it last about 45 seconds).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProgressBar>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tests/fakes.h"
#include "online/memory_and_firmware.h"
#include "online/model/nv_transfer.h"
#include "online/testing/one_drive_line.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

using talvero::Answer;

std::string Memory(talvero::sim::SimLine& sim) {
  return sim.With(1, [](talvero::sim::SimDrive& d) {
    return std::string(d.Memory().begin(), d.Memory().end());
  });
}

TEST(MemoryOverTheLine, AnImageSavedAndWrittenBackThroughThePseudoTerminal) {
  talvero::sim::SimLine sim;
  talvero::sim::SimDrive& d = sim.AddDrive(1, talvero::sim::Family::RHO);
  d.SetModel("KV110c");
  d.SetName("Feed");
  talvero::sim::PtyServer server(sim);
  ASSERT_TRUE(server.Start()) << server.Error();
  setenv("TALVERO_COM1", server.SlavePath().c_str(), 1);
  talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
  QTemporaryDir dir;
  talvero::ScriptedPrompter prompter;
  MapSettings settings;
  settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
  // The searches (at start and after the restart) skip the empty nodes.
  online::testing::OneDriveLine line;
  MainWinEnv env;
  env.line = &line;
  env.settings = settings.io();
  env.libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
  env.lockPath = (dir.path() + "/talvero.lock").toStdString();
  auto win = std::make_unique<MainWin>(std::move(env));
  line.Attach(win->Link);
  online::InstallMemoryAndFirmware(*win);
  ASSERT_TRUE(win->Form_Load(""));
  win->Link.FirstByteTimeout = 40;
  win->Link.NextByteTimeout = 20;
  win->COM__Click(0);
  ASSERT_TRUE(win->Sys->Exists("#1"));
  win->Sys->Select("#1");
  win->Sys_NodeClick("#1");

  const std::string path = (dir.path() + "/line.SNA").toStdString();
  const std::string before = Memory(sim);
  prompter.ExpectSaveFile(path);
  win->MenuCommandHook("AA_MEM2FILE");
  std::ifstream in(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(saved, before);

  // Something else in the drive now; the image puts the saved memory back.
  sim.With(1, [](talvero::sim::SimDrive& drive) {
    std::mt19937 rng(4);
    for (uint8_t& b : drive.Memory()) b = uint8_t(rng());
    return 0;
  });
  for (int k = 0; k < 3; ++k) {
    const talvero::MessageBox q = online::NvRestoreQuestion(k);
    prompter.ExpectMessage(q.text, Answer::Yes, q.title);
  }
  prompter.ExpectOpenFile(path);
  win->MenuCommandHook("AA_FILE2MEM");
  EXPECT_EQ(Memory(sim), before);
  EXPECT_EQ(sim.With(1, [](talvero::sim::SimDrive& drive) { return drive.RestartTexts(); }),
            std::vector<std::string>{"E"});
  EXPECT_EQ(win->Sys->SelectedKey(), "!SY");
  EXPECT_EQ(win->Prog->value(), 0);
  EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
  EXPECT_TRUE(prompter.AllShown());

  win.reset();
  talvero::TheSystemClock().SetEventPump(nullptr);
  unsetenv("TALVERO_COM1");
}

}  // namespace
