// Times the main list's views against one drive on a line paced at 19200
// baud: (a) the active program with 256 steps of 40 to 60 characters,
// (b) a library program with every 4th line set, read through the skip
// replies, (c) the five parameter views of a RHO drive. Each is set next to
// its floor, request by request the larger of the pause the link fixes and
// the request's and reply's bytes on the wire.
//
//   bench_edit_views [--line PATH] [--out DIR]
//
// --line: a drive line to use (node 1) in place of the simulator; the
// programs are first written to it through the link. --out: the program
// texts read back are left there in edit_views.txt.
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
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/dao/recordset.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

using benchedit::Figure;

namespace {

using benchwire::kByteMs;
constexpr int kNode = 1;
constexpr const char* kLibraryName = "BENCH";

double NowMs() { return double(talvero::TheClock().NowMs()); }

// Request and reply data bytes on the wire, or the fixed pause, whichever is longer.
double RequestFloor(size_t requestData, size_t replyData, double pauseMs = 0) {
  return std::max(pauseMs, benchwire::WireMs(requestData, replyData));
}

// A step text of 40 to 60 characters, different on every line.
std::string ActiveLine(int line) {
  std::string t = "IF IN" + std::to_string(line % 8 + 1) + " THEN MA " + std::to_string(1000 + line * 37) +
                  " AT " + std::to_string(200 + line);
  const size_t length = 40 + size_t(line * 7 % 21);
  while (t.size() < length) t += t.size() % 2 ? '0' : ' ';
  if (t.back() == ' ') t.back() = '0';
  return t;
}

std::string LibraryLine(int line) { return "MA " + std::to_string(line * 11) + ",V " + std::to_string(line + 5); }

using Lines = std::map<int, std::string>;

Lines ActiveProgram() {
  Lines p;
  for (int line = 0; line < 256; ++line) p[line] = ActiveLine(line);
  return p;
}

Lines LibraryProgram() {
  Lines p;
  for (int line = 0; line < 256; line += 4) p[line] = LibraryLine(line);
  return p;
}

// The floor of reading the program: the settings' two values, then each
// line: a step's text, or the skip reply to the next step.
double ProgramFloor(const Lines& p, const std::string& name) {
  const size_t nameBytes = name.size();
  double ms = 0;
  if (!name.empty()) ms += RequestFloor(2 + nameBytes, 1, 30);  // load into the edit buffer
  ms += RequestFloor(1 + (name.empty() ? 2 : 3), 12) * 2;      // ratio and units
  int line = 0;
  while (line < 256) {
    auto it = p.find(line);
    if (it != p.end()) {
      ms += RequestFloor(2 + nameBytes, it->second.size());
      ++line;
      continue;
    }
    ms += RequestFloor(2 + nameBytes, 2);
    auto next = p.lower_bound(line);
    if (next == p.end()) break;
    line = next->first;
  }
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  benchwire::LineOptions args;
  if (!benchwire::ParseLineOptions(argc, argv, args)) return 1;
  std::string linePath = args.line;
  const std::string outDir = args.out;
  benchwire::WindowBench wb(argc, argv);  // any message box is a fault of the run
  talvero::ScriptedPrompter& prompter = *wb.prompter;

  const Lines active = ActiveProgram(), library = LibraryProgram();
  using talvero::sim::Buffer;
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (linePath.empty()) {
    auto& d = sim.AddDrive(kNode, talvero::sim::Family::RHO);
    for (const auto& [line, text] : active) d.Programs().SetLine(Buffer::Active, line, text);
    for (const auto& [line, text] : library) d.Programs().SetLine(Buffer::Library, line, text);
    d.Programs().Save(Buffer::Library, kLibraryName);
    d.Programs().Clear(Buffer::Library);
  }
  if (!benchwire::UseLine(server, linePath)) return 1;
  std::unique_ptr<MainWin> win = benchedit::OpenWindow(wb, linePath, kNode);
  if (!win) return 1;
  ISP& link = win->Link;

  if (!server.Running()) {
    // Someone else's drive: give it the programs first.
    for (int line = 0; line < 256; ++line) link.SetPgmLine(kNode, "", uint8_t(line), active.at(line));
    link.ClearTEB(kNode);
    for (const auto& [line, text] : library) link.SetPgmLine(kNode, kLibraryName, uint8_t(line), text);
  }

  editing::Editor& ed = *editing::Editor::Of(*win);
  int wrong = 0;
  std::string texts;
  auto readProgram = [&](const char* what, const std::string& name, const Lines& expected) {
    win->CurNode = kNode;
    win->AxisSelected = true;
    win->AppSelected = false;
    win->CurPgmName = name;
    Figure f{what, 0, ProgramFloor(expected, name)};
    const double t0 = NowMs();
    ed.EditPgm();
    f.measuredMs = NowMs() - t0;
    for (int line = 0; line < 256; ++line) {
      auto it = expected.find(line);
      const std::string want = it == expected.end() ? "" : it->second;
      const std::string got = ed.ShownProgram().Encode(line);
      if (got != want) {
        if (++wrong < 5) std::fprintf(stderr, "%s line %d: read \"%s\", expected \"%s\"\n", what, line, got.c_str(), want.c_str());
      }
      if (!got.empty()) texts += std::string(what) + " " + std::to_string(line) + ": " + got + "\n";
    }
    return f;
  };
  std::vector<Figure> figures;
  figures.push_back(readProgram("(a) active program, 256 steps", "", active));
  figures.push_back(readProgram("(b) library program, every 4th line", kLibraryName, library));

  // (c) The five parameter views.
  Figure params{"(c) five parameter views", 0, 0};
  int rows = 0, expectedRows = 0;
  talvero::dao::Recordset& rs = *win->ParametersRS;
  for (const char* cat : {"SU", "SM", "SF", "SC", "TU"}) {
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
      if (rs.Text("DT") != cat || !win->AxisTypeMatch(rs.Text("Type"), kNode)) continue;
      ++expectedRows;
      params.floorMs += RequestFloor(1 + rs.Text("Name").size(), 12);
    }
    const std::string key = std::string(cat) + std::to_string(kNode);
    win->SelKey = key;
    win->CurNode = kNode;
    win->AxisSelected = true;
    win->AppSelected = false;
    win->ProgramViewShown = false;
    const double t0 = NowMs();
    ed.EditParameters(key);
    params.measuredMs += NowMs() - t0;
    rows += win->EditList->ListCount();
  }
  if (rows != expectedRows) {
    ++wrong;
    std::fprintf(stderr, "parameter views: %d rows, expected %d\n", rows, expectedRows);
  }
  figures.push_back(params);

  const uint64_t failed = link.FailedOperations;
  win.reset();
  server.Stop();
  if (!outDir.empty()) std::ofstream(outDir + "/edit_views.txt") << texts;

  double worst = 0;
  for (const Figure& f : figures) {
    std::printf("%-38s measured %8.1f ms  floor %8.1f ms  ratio %.3f\n", f.what.c_str(), f.measuredMs, f.floorMs,
                f.Ratio());
    worst = std::max(worst, f.Ratio());
  }
  std::printf("bytes per program line read at %.4f ms a byte; failed link operations: %llu\n", kByteMs,
              (unsigned long long)failed);
  for (const std::string& f : prompter.Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());
  std::printf("ratio: %.3f\n", worst);
  return wrong || failed || !prompter.Failures().empty() ? 2 : 0;
}
