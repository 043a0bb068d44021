// Times the scope window's one-shot capture, from Enter to panel 4 reading
// "Capture" again, with the real window, timer and event loop, against node 1
// of a simulated line paced at 19200 baud (channels 5 and 2, 0.1 s,
// triggered, finished after three polls). Each capture is set next to its
// floor: the 100 ms arming wait, every byte both ways at 10 bits a byte, the
// link's pauses (Cap 100, Yscale 50, NewValueOf 30 ms, each twice) and the
// 50 ms wait after each unfinished poll.
//
//   bench_scope_capture [--line PATH] [--out DIR]
// --line: a drive line of your own (node 1) instead of the simulator;
// --out: the two metafiles of the last capture are left there.
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port_object.h"
#include "platform/ui/qt/window_factory.h"
#include "platform/ui/scripted_prompter.h"
#include "scope/install.h"
#include "scope/model/channels.h"
#include "scope/scope.h"
#include "scope/scope_chart.h"
#include "scope/scope_status_bar.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

constexpr int kCaptures = 5, kPolls = 3;

// The link's port, counting the bytes that cross it.
class CountingPort : public talvero::SerialPort {
 public:
  explicit CountingPort(std::unique_ptr<talvero::SerialPort> inner) : inner_(std::move(inner)) {}
  void SetPortNumber(int n) override { inner_->SetPortNumber(n); }
  void SetSpeed(int baud) override { inner_->SetSpeed(baud); }
  void SetDataBits(int bits) override { inner_->SetDataBits(bits); }
  void SetLineSetting(talvero::LineSetting w, int v) override { inner_->SetLineSetting(w, v); }
  int32_t Open() override { return inner_->Open(); }
  void Close() override { inner_->Close(); }
  int ReadByte(int32_t t) override {
    int b = inner_->ReadByte(t);
    if (b >= 0) ++bytes;
    return b;
  }
  void WriteByte(uint8_t b) override {
    ++bytes;
    inner_->WriteByte(b);
  }
  void WriteString(const std::string& s) override {
    bytes += s.size();
    inner_->WriteString(s);
  }
  std::string ReadString(int n, int32_t t) override {
    std::string s = inner_->ReadString(n, t);
    bytes += s.size();
    return s;
  }
  talvero::PortFailure LastFailure() const override { return inner_->LastFailure(); }
  uint64_t bytes = 0;

 private:
  std::unique_ptr<talvero::SerialPort> inner_;
};

}  // namespace

int main(int argc, char** argv) {
  const benchwire::LineOptions args = benchwire::ReadLineOptions(argc, argv);
  std::string line = args.line;
  const std::string out = args.out;
  benchwire::WindowBench wb(argc, argv);
  talvero::ScriptedPrompter& prompter = *wb.prompter;  // any message box is a fault of the run

  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (line.empty()) sim.AddDrive(1, talvero::sim::Family::RHO).SetCapturePolls(kPolls);
  if (!benchwire::UseLine(server, line)) return 1;

  MainWinEnv env;
  env.settings = {[](const std::string&, const std::string&, const std::string& def) { return def; },
                  [](const std::string&, const std::string&, const std::string&) {}};
  env.lockPath = wb.LockPath();
  auto win = std::make_unique<MainWin>(std::move(env));
  auto owned = std::make_unique<CountingPort>(std::make_unique<talvero::SerialPortObject>());
  CountingPort* port = owned.get();
  win->Link.SetPort(std::move(owned));
  win->Link.OpenPort(1);
  if (win->Link.theHandle() <= 0) {
    std::fprintf(stderr, "cannot open %s\n", line.c_str());
    return 1;
  }
  // The drive's own name, as the search would have found it, names the metafiles.
  win->NodeTables.at(1).driveText = win->Link.GetDriveName(1);
  scope::Install(*win);
  win->ScopeNodeHook(1);
  auto* s = qobject_cast<scope::Scope*>(talvero::TheWindowFactory().ShowModeless("Scope"));
  s->UPD_Click(5);
  s->LPD_Click(2);
  s->TB_Click(0);
  s->SB_PanelClick(5);  // Triggered

  using benchwire::kByteMs;
  const double pausesMs = 2 * (100 + 50 + 30) + kPolls * 50;
  std::vector<double> ratios;
  int wrong = 0;
  for (int i = 1; i <= kCaptures; ++i) {
    const uint64_t before = port->bytes;
    const int64_t t0 = talvero::TheSystemClock().NowMs();
    s->HandleCaptureKey(13);
    while (s->SB->Text(4) != "Capture") QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = double(talvero::TheSystemClock().NowMs() - t0);
    const uint64_t bytes = port->bytes - before;
    const double floorMs = 100 + bytes * kByteMs + pausesMs;
    ratios.push_back(ms / floorMs);
    std::printf("capture %d  measured %7.1f ms  floor %7.1f ms  (%llu bytes)  ratio %.3f\n", i, ms, floorMs,
                (unsigned long long)bytes, ms / floorMs);
    if (s->graph->Model().Count() != scope::kSamples || s->graph2->Model().Count() != scope::kSamples ||
        s->graph->Title() != "Feedback Velocity (system-rev/sec)" || s->graph2->Title() != "Target Velocity (system-rev/sec)") {
      std::fprintf(stderr, "capture %d: the traces did not come back whole\n", i);
      ++wrong;
    } else if (server.Running()) {
      // Our simulator's samples, through its scale, must be what was plotted.
      const std::string block = sim.With(1, [](auto& d) { return d.CaptureBlock(0); });
      const auto& y = s->graph->Model().Y();
      const double scale = 1.0 + 0.25 * 5, offset = -128.0 / scale;
      for (int k = 0; k < scope::kSamples; ++k)
        if (std::abs(y[k] - (uint8_t(block[k]) / scale + offset)) > 1e-3) {
          std::fprintf(stderr, "capture %d: sample %d is %g\n", i, k, y[k]);
          ++wrong;
          break;
        }
    }
  }
  if (!out.empty()) {
    QDir().mkpath(QString::fromStdString(out));
    s->ProgramFolder = out;
    s->Print2File_Click();
  }
  for (const std::string& f : prompter.Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());
  talvero::TheWindowFactory().Destroy("Scope");
  win.reset();
  server.Stop();
  std::sort(ratios.begin(), ratios.end());
  std::printf("ratio: %.3f\n", ratios[ratios.size() / 2]);
  return wrong || !prompter.Failures().empty() ? 2 : 0;
}
