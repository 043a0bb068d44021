// The window at rest: an RHO drive's status node selected with the "IO" tab
// shown and nothing changing, the status timer running, the event loop run
// for 30 s. The window thread's CPU time (the simulator's thread is not
// counted) against 1 % of those 30 s is the ratio; 1.0 or less is the aim.
// Also timed: one lamp refresh against its floor on the wire (6 requests,
// 151 bytes at 10 bits and 19200 baud: 78.6 ms).
//
//   bench_panel_idle [--line PATH] [--out DIR]
// --line: a drive line of one's own (an RHO drive at node 1) instead of the
// simulator. --out: accepted; nothing is written.
#include <stdlib.h>
#include <time.h>

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/stat_strip.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

constexpr int kIdleMs = 30000;

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  std::string linePath = benchwire::ReadLineOptions(argc, argv).line;
  benchwire::WindowBench bench(argc, argv);

  const bool own = linePath.empty();
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (own) {
    talvero::sim::SimDrive& d = sim.AddDrive(1, talvero::sim::Family::RHO);
    d.SetName("Bench");
    d.SetValue("IN", "21");
    d.SetValue("IN0", "2");
    d.SetValue("IN1", "16");
    d.SetValue("OUT0", "4");
  }
  if (!benchwire::UseLine(server, linePath)) return 1;

  OnlinePanel* panel = nullptr;
  auto win = bench.OpenOnLine([&panel](MainWin& w) { panel = new OnlinePanel(w); });
  if (!win) return 1;
  if (win->NodeTables.FamilyOf(1) != "RHO") {
    std::fprintf(stderr, "no RHO drive at node 1 on %s\n", linePath.c_str());
    return 1;
  }
  win->resize(1024, 768);
  win->show();
  win->Sys->Select("SS1");
  win->Sys_NodeClick("SS1");
  win->StatStrip->setCurrentIndex(2);  // "IO"

  // One refresh on its own.
  const uint64_t before = own ? sim.Log().size() : 0;
  const double t0 = double(talvero::TheClock().NowMs());
  panel->ShowIO();
  const double refreshMs = double(talvero::TheClock().NowMs()) - t0;
  const uint64_t requests = own ? sim.Log().size() - before : 0;
  constexpr size_t kBytes = 151;
  const double wireMs = double(kBytes) * benchwire::kByteMs;

  // The window at rest, its status timer running.
  const int16_t failedBefore = win->Link.ErrorCount;
  win->TStat->start();
  QEventLoop loop;
  QTimer::singleShot(kIdleMs, &loop, &QEventLoop::quit);
  const double cpu0 = ThreadCpuMs();
  loop.exec();
  const double cpuMs = ThreadCpuMs() - cpu0;
  win->TStat->stop();
  const int failures = win->Link.ErrorCount - failedBefore;
  const std::string caption = win->StatStrip->CurrentCaption().toStdString();
  const bool painted = win->StatStrip->IN[4]->Colour() == win->StatStrip->isforcedon->Colour();
  win.reset();
  if (own) server.Stop();
  for (const std::string& f : bench.prompter->Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());

  if (own) std::printf("requests per refresh   %4llu (6 expected)\n", (unsigned long long)requests);
  std::printf("one refresh            measured %7.1f ms, wire floor %.1f ms (ratio %.2f)\n", refreshMs,
              wireMs, refreshMs / wireMs);
  std::printf("failed operations idle %4d\n", failures);
  std::printf("window thread CPU      %7.1f ms in %d s (%.2f %%)\n", cpuMs, kIdleMs / 1000,
              100.0 * cpuMs / kIdleMs);
  std::printf("ratio: %.3f\n", cpuMs / (0.01 * kIdleMs));
  if (!bench.prompter->Failures().empty()) return 3;
  return failures == 0 && caption == "IO" && painted ? 0 : 2;
}
