#pragma once
// The set-up the drive maintenance benchmarks share: the main window
// offscreen on its own link, one RHO drive at node 1 on a paced simulated
// line (or the line given with --line), a scripted prompter, the drive's own
// node selected, and the status timer polling it as the drive panel does.
// The search is not what is measured: the bench line answers for the empty
// nodes 2..31 at once.
#include <stdlib.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "link/isp.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "online/memory_and_firmware.h"
#include "online/testing/one_drive_line.h"
#include "platform/clock/clock.h"
#include "platform/files/replacing_file.h"
#include "platform/ui/passing_prompter.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace benchdrive {

// Passes every box on to the script and notes when the one awaited appeared.
class TimingPrompter : public talvero::PassingPrompter {
 public:
  using PassingPrompter::PassingPrompter;
  talvero::Answer Message(const talvero::MessageBox& box) override {
    if (!awaited.empty() && box.text.compare(0, awaited.size(), awaited) == 0 && seenAtMs < 0)
      seenAtMs = double(talvero::TheClock().NowMs());
    return inner_.Message(box);
  }

  std::string awaited;
  double seenAtMs = -1;
};

class Bench {
 public:
  explicit Bench(const benchwire::LineOptions& args) : args_(args) {}
  ~Bench() {
    win.reset();
    server.Stop();
  }

  // The drive, the line, the window loaded and the drive selected; false
  // (with the reason printed) when any of it failed.
  bool Start() {
    std::string path = args_.line;
    if (path.empty()) {
      talvero::sim::SimDrive& d = sim.AddDrive(1, talvero::sim::Family::RHO);
      d.SetModel("KV110c");
      d.SetName("Bench");
      d.SetSerial("B1");
    }
    if (!benchwire::UseLine(server, path)) return false;
    outDir = args_.out.empty() ? temp.path().toStdString() : args_.out;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    stored = {{"Setup/COM", "1"}, {"Setup/CPS", "1"}, {"Help/GS", "1"}};
    MainWinEnv env;
    env.settings = benchwire::MapSettings(stored);
    env.line = &line;
    env.lockPath = (config.path() + "/talvero.lock").toStdString();
    win = std::make_unique<MainWin>(std::move(env));
    line.Attach(win->Link);
    online::InstallMemoryAndFirmware(*win);
    if (!win->Form_Load("talvero QUERNSTALD")) {
      std::fprintf(stderr, "the window did not load\n");
      return false;
    }
    win->TStatTickHook = [this]() {
      if (!win->AxisSelected || win->AppSelected || win->CurNode <= 0) return;
      win->Link.Status(win->CurNode);
      win->Link.Status2(win->CurNode);
      ticks += 1;
    };
    if (!win->Sys->Exists("#1")) {
      std::fprintf(stderr, "the drive at node 1 was not found\n");
      return false;
    }
    win->Sys->Select("#1");
    win->Sys_NodeClick("#1");
    return win->CurNode == 1;
  }

  // The status polls' least cost: a "Q" and a "q" per tick, 12 bytes each.
  double TickFloorMs(int tickCount) const { return tickCount * 2 * 12 * benchwire::kByteMs; }
  bool OwnLine() const { return args_.line.empty(); }
  static double NowMs() { return double(talvero::TheClock().NowMs()); }

  // A file of n seeded random bytes in the output folder; "" when it could not be written.
  std::string RandomFile(const std::string& name, size_t n, unsigned seed, std::string& bytes) {
    bytes.assign(n, '\0');
    std::mt19937 rng(seed);
    for (char& c : bytes) c = char(rng() & 0xFF);
    const std::string path = outDir + "/" + name;
    if (talvero::WriteWholeFile(path, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return "";
    }
    return path;
  }
  // Each check that fails is printed and makes the run fail.
  void Check(bool ok, const char* wrong) {
    if (ok) return;
    std::fprintf(stderr, "%s\n", wrong);
    rc_ = 2;
  }
  void CheckSame(const std::string& got, const std::vector<uint8_t>& want, const char* wrong) {
    Check(got == std::string(want.begin(), want.end()), wrong);
  }
  void CheckRestartedWith(const std::string& text) {
    Check(sim.Drive(1).RestartTexts() == std::vector<std::string>{text}, "the drive was not restarted once as it should");
  }
  // Prints what was checked and the figures; the exit code of the run.
  int Finish(const char* what, const char* how, double measuredMs, double floorMs) {
    for (const std::string& f : prompter.Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());
    if (!prompter.Failures().empty() || !prompter.AllShown()) rc_ = 3;
    std::printf("%-22s %s (%s)\n", what, rc_ == 0 ? "right" : "WRONG", how);
    std::printf("measured %10.1f ms\n", measuredMs);
    std::printf("floor    %10.1f ms\n", floorMs);
    std::printf("ratio: %.3f\n", measuredMs / floorMs);
    return rc_;
  }

  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server{sim};
  talvero::ScriptedPrompter prompter;
  online::testing::OneDriveLine line;
  std::unique_ptr<MainWin> win;
  std::map<std::string, std::string> stored;
  std::string outDir;
  int ticks = 0;

 private:
  benchwire::LineOptions args_;
  QTemporaryDir config, temp;
  int rc_ = 0;
};

// One request's least time. The link's write returns once the bytes are
// queued, so its pause runs while they are still on the wire: the reply is
// read at the later of the pause's end and the last reply byte's arrival.
inline double RequestFloorMs(size_t requestData, size_t replyData, double pauseMs) {
  const double wire = double(5 + requestData + 4 + replyData) * benchwire::kByteMs;
  return std::max(wire, pauseMs);
}

// The program around a benchmark: the application offscreen, the window
// started on the line, then the measured part; its exit code.
inline int Main(int argc, char** argv, const std::function<int(Bench&)>& measured) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  talvero::TheSystemClock().SetEventPump([]() { QCoreApplication::processEvents(); });
  Bench b(benchwire::ReadLineOptions(argc, argv));
  if (!b.Start()) return 1;
  return measured(b);
}

}  // namespace benchdrive
