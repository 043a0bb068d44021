// Times the program view's block commands against one drive on a line paced
// at 19200 baud: (a) Insert 10 at line 0 of an active program of 200 steps
// of 40 to 60 characters, (b) Delete 10 at line 0 of such a library
// program, (c) Paste 256 copied steps into an empty active program. Each is
// set next to its floor, request by request the larger of the pause the
// link fixes and the request's and reply's bytes on the wire. The drive's
// programs are read back and checked after each command.
//
//   bench_step_edit [--line PATH] [--out DIR]
//
// --line: a drive line to use (node 1) in place of the simulator; its
// programs are written first through the link. --out: the programs read
// back are left there in step_edit.txt.
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/editing_bench.h"
#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "editing/editor.h"
#include "editing/step_list_edit.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

using benchedit::Figure;

namespace {

constexpr int kNode = 1;
constexpr const char* kLibraryName = "BENCH";
constexpr const char* kFullName = "FULL";

double NowMs() { return double(talvero::TheClock().NowMs()); }

double RequestFloor(size_t requestData, size_t replyData, double pauseMs) {
  return std::max(pauseMs, benchwire::WireMs(requestData, replyData));
}
// One line written: "E"/"e", the line, the text; an acknowledgement back.
double LineFloor(const std::string& text) { return RequestFloor(2 + text.size(), 1, 20); }
// The running check before a command on the active program.
double StatusFloor() { return RequestFloor(1, 2, 0); }

// A step text of 40 to 60 characters, different on every line and seed.
std::string StepText(int line, int seed) {
  std::string t = "IF IN" + std::to_string((line + seed) % 8 + 1) + " THEN MA " +
                  std::to_string(1000 + line * 37 + seed) + " AT " + std::to_string(200 + line);
  const size_t length = 40 + size_t((line + seed) * 7 % 21);
  while (t.size() < length) t += t.size() % 2 ? '0' : ' ';
  if (t.back() == ' ') t.back() = '0';
  return t;
}

using Lines = std::vector<std::string>;  // 256 lines, "" = empty

Lines MakeProgram(int steps, int seed) {
  Lines p(256);
  for (int i = 0; i < steps; ++i) p[size_t(i)] = StepText(i, seed);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  benchwire::LineOptions args;
  if (!benchwire::ParseLineOptions(argc, argv, args)) return 1;
  std::string linePath = args.line;
  const std::string outDir = args.out;
  benchwire::WindowBench bench(argc, argv);

  const Lines active = MakeProgram(200, 0), library = MakeProgram(200, 3), full = MakeProgram(256, 5);
  using talvero::sim::Buffer;
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (linePath.empty()) {
    auto& d = sim.AddDrive(kNode, talvero::sim::Family::RHO);
    for (int i = 0; i < 256; ++i) {
      d.Programs().SetLine(Buffer::Active, uint8_t(i), active[size_t(i)]);
      d.Programs().SetLine(Buffer::Library, uint8_t(i), library[size_t(i)]);
    }
    d.Programs().Save(Buffer::Library, kLibraryName);
    for (int i = 0; i < 256; ++i) d.Programs().SetLine(Buffer::Library, uint8_t(i), full[size_t(i)]);
    d.Programs().Save(Buffer::Library, kFullName);
    d.Programs().Clear(Buffer::Library);
  }
  if (!benchwire::UseLine(server, linePath)) return 1;

  std::unique_ptr<MainWin> win = benchedit::OpenWindow(bench, linePath, kNode);
  if (!win) return 1;
  ISP& link = win->Link;

  if (!server.Running()) {
    // Someone else's drive: give it the programs first.
    for (int i = 0; i < 256; ++i) link.SetPgmLine(kNode, "", uint8_t(i), active[size_t(i)]);
    const std::pair<const char*, const Lines*> stored[] = {{kLibraryName, &library}, {kFullName, &full}};
    for (const auto& [name, lines] : stored) {
      link.ClearTEB(kNode);
      for (int i = 0; i < 256; ++i)
        if (!(*lines)[size_t(i)].empty()) link.SetPgmLine(kNode, " ", uint8_t(i), (*lines)[size_t(i)]);
      link.SaveTEB(kNode, name);
    }
  }

  editing::Editor& ed = *editing::Editor::Of(*win);
  editing::StepListEdit& steps = *editing::StepListEdit::Of(*win);
  EditListView& list = *win->EditList;
  int wrong = 0;
  std::string texts;
  // Shows a program of the drive as a click on its node does.
  auto show = [&](const std::string& name) {
    win->CurNode = kNode;
    win->AxisSelected = win->ProgramNodeSelected = true;
    win->AppSelected = false;
    win->CurPgmName = name;
    ed.EditPgm();
  };
  auto select = [&](int from, int count) {
    for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, i >= from && i < from + count);
    win->CurRow = from;
  };
  // Reads the program back from the drive and compares it line by line.
  auto check = [&](const char* what, const std::string& name, const Lines& want) {
    show(name);
    for (int i = 0; i < 256; ++i) {
      const std::string got = ed.ShownProgram().Encode(i);
      if (got != want[size_t(i)] && ++wrong < 6)
        std::fprintf(stderr, "%s line %d: \"%s\", expected \"%s\"\n", what, i, got.c_str(), want[size_t(i)].c_str());
      if (!got.empty()) texts += std::string(what) + " " + std::to_string(i) + ": " + got + "\n";
    }
  };
  std::vector<Figure> figures;

  // (a) Insert 10 at line 0 of the active program.
  {
    show("");
    select(0, 10);
    Figure f{"(a) insert 10, active program", 0, StatusFloor()};
    Lines after(256);
    for (int i = 0; i < 246; ++i) after[size_t(i + 10)] = active[size_t(i)];
    for (int i = 199; i >= 0; --i) f.floorMs += LineFloor(active[size_t(i)]);
    for (int k = 0; k < 10; ++k) f.floorMs += LineFloor("");
    const double t0 = NowMs();
    steps.Edit_Ins_Click();
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    check("(a)", "", after);
  }

  // (b) Delete 10 at line 0 of the library program.
  {
    show(kLibraryName);
    select(0, 10);
    const size_t name = std::string(kLibraryName).size();
    Figure f{"(b) delete 10, library program", 0, RequestFloor(2 + name, 1, 30)};
    Lines after(256);
    for (int i = 0; i < 246; ++i) after[size_t(i)] = library[size_t(i + 10)];
    for (int i = 0; i < 200; ++i) f.floorMs += LineFloor(after[size_t(i)]);
    for (int k = 0; k < 10; ++k) f.floorMs += LineFloor("");
    f.floorMs += RequestFloor(2 + name, 1, 60);  // stored under its name
    const double t0 = NowMs();
    steps.Edit_Del_Click();
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    check("(b)", kLibraryName, after);
  }

  // (c) Paste 256 copied steps into an empty active program.
  {
    show(kFullName);
    steps.Edit_SA_Click();
    steps.Edit_Copy_Click();
    link.ClearEB(kNode);
    show("");
    select(0, 1);
    Figure f{"(c) paste 256, empty active program", 0, StatusFloor()};
    for (int i = 0; i < 256; ++i) f.floorMs += LineFloor(full[size_t(i)]);
    f.floorMs += LineFloor(full[0]);  // the first line again
    const double t0 = NowMs();
    steps.Edit_Paste_Click();
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    check("(c)", "", full);
  }

  const uint64_t failed = link.FailedOperations;
  win.reset();
  server.Stop();
  if (!outDir.empty()) std::ofstream(outDir + "/step_edit.txt") << texts;

  double worst = 0;
  for (const Figure& f : figures) {
    const double ratio = f.measuredMs / f.floorMs;
    std::printf("%-38s measured %8.1f ms  floor %8.1f ms  ratio %.3f\n", f.what.c_str(), f.measuredMs, f.floorMs,
                ratio);
    worst = std::max(worst, ratio);
  }
  std::printf("failed link operations: %llu\n", (unsigned long long)failed);
  for (const std::string& m : bench.prompter->Failures()) std::fprintf(stderr, "message box: %s\n", m.c_str());
  std::printf("ratio: %.3f\n", worst);
  return wrong || failed || !bench.prompter->Failures().empty() ? 2 : 0;
}
