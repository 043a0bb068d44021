// Times the servo set-up wizard on node 1 (a RHO drive at its defaults,
// paced at 19200 baud): five runs of activation followed by OK with nothing
// changed, against every request the runs put on the line at 10 bits a byte:
// each read ("=NAME", a 12-byte reply) and each write (":!NAME=VALUE", a
// one-byte acknowledgement after the link's 20 ms pause).
// Two sums are printed. "floor" adds each write's bytes and then its whole
// pause; but the link starts the pause as soon as the request is queued, so
// the bytes travel during it and a run beats that sum. "bound" is the true
// least time: per write the longer of its bytes and its pause. The last line
// is the measured time over the bound.
//
//   bench_setup_wizard [--line PATH] [--out DIR]
//
// --line uses that serial device (a drive at node 1) instead of a simulated
// line; --out is accepted for the common bench interface (nothing is written).
// The drive's values are read back after the runs; a value that did not
// arrive, a refused write or a message box ends the run non-zero.
#include <stdlib.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "link/isp.h"
#include "mainwin/isp_line.h"
#include "online/testing/one_drive_line.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port_object.h"
#include "platform/ui/scripted_prompter.h"
#include "runtime/val.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"
#include "wizards/axis_setup.h"
#include "wizards/install.h"

namespace {

constexpr int kRuns = 5;
constexpr int kNode = 1;

double NowMs() { return double(talvero::TheClock().NowMs()); }

// The real port, noting the data of every request frame the host sends.
class RecordingPort : public talvero::SerialPort {
 public:
  std::vector<std::string> requests;

  void SetPortNumber(int n) override { port_.SetPortNumber(n); }
  void SetSpeed(int baud) override { port_.SetSpeed(baud); }
  void SetDataBits(int bits) override { port_.SetDataBits(bits); }
  void SetLineSetting(talvero::LineSetting which, int value) override { port_.SetLineSetting(which, value); }
  int32_t Open() override { return port_.Open(); }
  void Close() override { port_.Close(); }
  int ReadByte(int32_t timeoutMs) override { return port_.ReadByte(timeoutMs); }
  void WriteByte(uint8_t byte) override {
    Parse(byte);
    port_.WriteByte(byte);
  }
  void WriteString(const std::string& bytes) override { port_.WriteString(bytes); }
  std::string ReadString(int maxLen, int32_t timeoutMs) override { return port_.ReadString(maxLen, timeoutMs); }
  talvero::PortFailure LastFailure() const override { return port_.LastFailure(); }

 private:
  // Start, node, sequence, length, data, checksum.
  void Parse(uint8_t b) {
    if (state_ == 0) {
      if (b == 0x5B) state_ = 1;
    } else if (state_ < 3) {
      ++state_;
    } else if (state_ == 3) {
      left_ = b;
      data_.clear();
      state_ = left_ ? 4 : 5;
    } else if (state_ == 4) {
      data_.push_back(char(b));
      if (--left_ == 0) state_ = 5;
    } else {
      requests.push_back(data_);
      state_ = 0;
    }
  }
  talvero::SerialPortObject port_;
  int state_ = 0;
  int left_ = 0;
  std::string data_;
};

struct Floor {
  int reads = 0, writes = 0, other = 0;
  double ms = 0;       // each write's bytes, then its whole pause
  double boundMs = 0;  // each write's pause overlapping its bytes, as the link sends
};

Floor FloorOf(const std::vector<std::string>& requests) {
  Floor f;
  for (const std::string& r : requests) {
    if (!r.empty() && r[0] == '=') {
      ++f.reads;
      f.ms += benchwire::WireMs(r.size(), 12);
      f.boundMs += benchwire::WireMs(r.size(), 12);
    } else if (!r.empty() && r[0] == ':') {
      ++f.writes;
      f.ms += benchwire::WireMs(r.size(), 1) + 20;
      f.boundMs += std::fmax(benchwire::WireMs(r.size(), 1), 20);
    } else {
      ++f.other;
      f.ms += benchwire::WireMs(r.size(), 0);
      f.boundMs += benchwire::WireMs(r.size(), 0);
    }
  }
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  std::string linePath = benchwire::ReadLineOptions(argc, argv).line;
  benchwire::WindowBench wb(argc, argv);
  talvero::ScriptedPrompter& prompter = *wb.prompter;  // any message box is a fault of the run

  talvero::sim::SimLine sim;
  sim.AddDrive(kNode, talvero::sim::Family::RHO).SetModel("KV110c");
  talvero::sim::PtyServer server(sim);
  if (!benchwire::UseLine(server, linePath)) return 1;

  wb.stored = {{"Setup/COM", "1"}, {"Help/GS", "1"}};  // port 1 at start-up, no first-run greeting
  online::testing::FastSearchLine line(60, 30, 1);  // short time-outs for the start-up search only
  MainWinEnv env;
  env.settings = wb.Settings();
  env.line = &line;
  env.lockPath = wb.LockPath();
  auto win = std::make_unique<MainWin>(std::move(env));
  auto owned = std::make_unique<RecordingPort>();
  RecordingPort& port = *owned;
  win->Link.SetPort(std::move(owned));
  line.Attach(win->Link);
  wizards::Install(*win);
  if (!win->Form_Load("talvero") || win->Link.theHandle() <= 0) {
    std::fprintf(stderr, "the line did not open\n");
    return 1;
  }
  // The wizard runs with the link's usual time-outs and tries.
  win->Link.FirstByteTimeout = 750;
  win->Link.NextByteTimeout = 300;
  win->Link.Retries = 8;
  win->Sys->Select("#1");
  win->Sys_NodeClick("#1");
  if (win->CurNode != kNode || !win->AxisSelected) {
    std::fprintf(stderr, "no drive at node 1\n");
    return 1;
  }

  wizards::AxisSetup& wizard = *wizards::TheAxisSetup();
  int faults = 0;
  double measured = 0, floorMs = 0, boundMs = 0;
  for (int run = 1; run <= kRuns; ++run) {
    port.requests.clear();
    const uint64_t failedBefore = win->Link.FailedOperations;
    const double t0 = NowMs();
    wizard.show();  // activation
    wizard.ASW_OK_Click();
    const double t = NowMs() - t0;
    const Floor f = FloorOf(port.requests);
    measured += t;
    floorMs += f.ms;
    boundMs += f.boundMs;
    std::printf("run %d   %2d reads  %2d writes  %d other   measured %8.1f ms  floor %8.1f ms  bound %8.1f ms\n",
                run, f.reads, f.writes, f.other, t, f.ms, f.boundMs);
    if (wizard.isVisible() || win->Link.FailedOperations != failedBefore || f.writes != 40 ||
        f.reads != (run == 1 ? 14 : 15) || f.other != 0) {
      std::fprintf(stderr, "run %d: not the expected requests, or a request failed\n", run);
      ++faults;
    }
  }
  // The drive holds what the last run wrote.
  std::map<std::string, std::string> last;
  for (const auto& e : wizard.Access().Journal()) last[e.name] = e.value;
  for (const auto& [name, value] : last) {
    const double got = rt::Val(win->Link.ValueOf(kNode, name));
    const double want = rt::Val(value);
    if (std::fabs(got - want) > 1e-6 * std::fmax(1, std::fabs(want))) {
      std::fprintf(stderr, "%s: the drive holds %g, %s was written\n", name.c_str(), got, value.c_str());
      ++faults;
    }
  }
  for (const std::string& f : prompter.Failures()) {
    std::fprintf(stderr, "message box: %s\n", f.c_str());
    ++faults;
  }
  win->Form_Terminate();
  win.reset();
  server.Stop();
  std::printf("%d runs                                      measured %8.1f ms  floor %8.1f ms  bound %8.1f ms\n",
              kRuns, measured, floorMs, boundMs);
  std::printf("over the floor (bytes, then the whole pause): %.3f\n", measured / floorMs);
  std::printf("ratio: %.3f\n", measured / boundMs);
  return faults ? 2 : 0;
}
