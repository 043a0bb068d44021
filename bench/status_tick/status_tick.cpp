// Times the status tick of the main window's online panel: an RHO drive at
// node 1 with fixed values, its status node selected on the "General" tab,
// all ten predefined watch items set through their handlers (three in user
// units, so 16 value requests a tick), the timer stopped and the tick called
// 20 times. Per tick: the 16 value requests ("+" and the name, the link's
// 30 ms pause, a 4-byte reply) and the status reads "Q" and "q", every byte
// at 10 bits and 19200 baud. Counting every byte and every pause one after
// the other gives 297 bytes and 480 ms (634.7 ms); but the link's pause
// starts as soon as the request is handed to the line, and a value request's
// 14 + n bytes (7.3 ms or less) travel within its 30 ms. The true floor, the
// one the ratio uses, is therefore each request's pause or its bytes'
// wire time, whichever is longer. Any wrong watch line fails the run.
//
//   bench_status_tick [--line PATH] [--out DIR]
// --line: a drive line of one's own (node 1 answering) instead of the
// simulator; the writable values are set over the link and the lines of the
// drive's read-only values are checked for their label and units only.
// --out: accepted; the tick writes no files.
#include <stdlib.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/stat_strip.h"
#include "online/model/watch_line.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

constexpr int kTicks = 20;

double NowMs() { return double(talvero::TheClock().NowMs()); }

struct Expected {
  const char* item;
  std::string line;
  bool exact;  // else only its label and units are checked
};

}  // namespace

int main(int argc, char** argv) {
  std::string linePath = benchwire::ReadLineOptions(argc, argv).line;
  benchwire::WindowBench bench(argc, argv);
  talvero::ScriptedPrompter& prompter = *bench.prompter;

  const bool own = linePath.empty();
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (own) {
    talvero::sim::SimDrive& d = sim.AddDrive(1, talvero::sim::Family::RHO);
    d.SetModel("KV110c");
    d.SetName("Bench");
    const std::map<std::string, std::string> state = {
        {"VEL", "1500"}, {"FPOS", "0.1"}, {"THET", "1023"}, {"IRA", "1.234"},
        {"IREF", "1250"}, {"ADC1", "-2.5"}, {"TPS", "1000"}, {"TDPS", "250.25"}};
    for (const auto& [name, value] : state) d.SetValue(name, value);
  }
  if (!benchwire::UseLine(server, linePath)) return 1;

  OnlinePanel* panel = nullptr;
  auto win = bench.OpenOnLine([&panel](MainWin& w) { panel = new OnlinePanel(w); });
  if (!win) return 1;
  if (!win->NodeTables.HasDrive(1)) {
    std::fprintf(stderr, "no drive at node 1 on %s\n", linePath.c_str());
    return 1;
  }
  for (const auto& [name, value] : std::map<std::string, std::string>{
           {"TPOS", "12.5"}, {"RUNV", "-3.25"}, {"TR", "2"}, {"UU", "4"}})
    win->Link.ChangeValue(1, name, value);

  win->Sys->Select("SS1");
  win->Sys_NodeClick("SS1");
  win->StatStrip->setCurrentIndex(0);  // "General"
  const std::vector<Expected> expected = {
      {"WA_TP", "[1] Target Position 6.2500 mm", true},
      {"WA_TV", "[1] Target Velocity -1.63 mm/sec", true},
      {"WA_TPS", "[1] Tasks/Second 1000.0 ", own},
      {"WA_TDPS", "[1] Events/Second 250.3 ", own},
      {"WA_MC", "[1] Motor Current 1.23 amps", own},
      {"WA_VEL", "[1] Motor Velocity 1500.0 RPM", own},
      {"WA_FA", "[1] Feedback Angle 1023 counts", own},
      {"WA_FP", "[1] Feedback Position 0.0500 mm", own},
      {"WA_ADC0", "[1] Analog Input -2.500 volts", own},
      {"WA_PMC", "[1] Motor Current 100.0 %", own},
  };
  for (size_t k = 0; k < expected.size(); ++k) {
    win->Watch->setCurrentRow(int(k));
    win->Item(expected[k].item)->trigger();
  }

  // The floors of one tick.
  double floorMs = 0;
  size_t bytes = 0;
  int pauses = 0;
  auto request = [&](size_t data, size_t reply, int pauseMs) {
    const double wire = benchwire::WireMs(data, reply);
    bytes += 5 + data + 4 + reply;
    pauses += pauseMs;
    floorMs += std::max(wire, double(pauseMs));
  };
  for (int k = 1; k <= 10; ++k) {
    const talvero::WatchSlotData& slot = win->WatchSlot[size_t(k)];
    std::vector<std::string> names{slot.WatchExpr};
    if (slot.WatchUnits.find("~u") != std::string::npos) names.insert(names.end(), {"TR", "UU"});
    for (const std::string& n : names) request(1 + n.size(), 4, 30);
  }
  request(1, 2, 0);  // "Q"
  request(1, 2, 0);  // "q"
  const double serialMs = double(bytes) * benchwire::kByteMs + pauses;

  const uint64_t before = own ? sim.Log().size() : 0;
  const double t0 = NowMs();
  for (int t = 0; t < kTicks; ++t) panel->TStat_Timer();
  const double meanMs = (NowMs() - t0) / kTicks;
  const uint64_t requests = own ? sim.Log().size() - before : 0;

  int wrong = 0;
  for (size_t k = 0; k < expected.size(); ++k) {
    const std::string got = win->Watch->item(int(k))->text().toStdString();
    const Expected& e = expected[k];
    bool ok = got == e.line;
    if (!e.exact) {
      const talvero::online::WatchItem* item = talvero::online::FindWatchItem(e.item);
      const std::string head = std::string("[1] ") + item->label;
      const std::string tail = std::string(" ") + item->units;
      ok = got.rfind(head, 0) == 0 && got.size() >= head.size() + tail.size() &&
           got.compare(got.size() - tail.size(), tail.size(), tail) == 0;
    }
    if (!ok) {
      std::fprintf(stderr, "watch line %zu: \"%s\", expected \"%s\"\n", k + 1, got.c_str(), e.line.c_str());
      ++wrong;
    }
  }
  const int16_t failures = win->Link.ErrorCount;
  win.reset();
  if (own) server.Stop();
  for (const std::string& f : prompter.Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());

  std::printf("ticks                  %4d\n", kTicks);
  if (own) std::printf("requests per tick      %6.1f (18 expected)\n", double(requests) / kTicks);
  std::printf("failed operations      %4d\n", int(failures));
  std::printf("bytes and pauses       %4zu bytes, %d ms of pauses: %9.1f ms (ratio %.3f)\n", bytes, pauses,
              serialMs, meanMs / serialMs);
  std::printf("floor per tick         pauses overlapping their bytes: %9.1f ms\n", floorMs);
  std::printf("mean tick              measured %9.1f ms\n", meanMs);
  std::printf("ratio: %.3f\n", meanMs / floorMs);
  if (!prompter.Failures().empty()) return 3;
  return wrong == 0 && failures == 0 ? 0 : 2;
}
