// Times the copies against one RHO drive on a line paced at 19200 baud:
// (a) a 256-line application program of 48-character texts to the active
// program, (b) the same to the drive's library, (c) a library of three such
// programs into an application, (d) a drive's parameter set into an
// application axis. Each is set next to its floor: request by request the
// larger of the link's fixed pause and the bytes on the wire, plus the
// settings' 5 ms sleeps. Application-file time is not in the floor.
//
//   bench_transfers [--line PATH] [--out DIR]
//
// --line: a drive line to use (node 1) in place of the simulator; its
// library is given the three programs first. --out: the application file
// stays there.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/editing_bench.h"
#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "editing/transfers.h"
#include "mainwin/main_win.h"
#include "mainwin/model/tree_key.h"
#include "platform/dao/recordset.h"
#include "runtime/text.h"
#include "sim/sim_line.h"
#include "store/applic.h"
#include "store/program.h"

using benchedit::Figure;

namespace {

constexpr int kNode = 1;
const char* const kLibrary[] = {"ALPHA", "BRAVO", "CHARLIE"};

double NowMs() { return double(talvero::TheClock().NowMs()); }

double Floor(size_t requestData, size_t replyData, double pauseMs = 0) {
  return std::max(pauseMs, benchwire::WireMs(requestData, replyData));
}

// 48 characters, different on every line and program.
std::string Text48(int program, int line) {
  std::string t = "IF IN" + std::to_string(line % 8 + 1) + " THEN MA " + std::to_string(1000 + line * 37 + program) +
                  " AT " + std::to_string(200 + line);
  while (t.size() < 48) t += t.size() % 2 ? '0' : '1';
  return t;
}

// Clearing a buffer, 256 line writes and the settings (two values, two
// sleeps, the save under the name).
double CopyToDriveFloor(const std::string& saveName) {
  double ms = Floor(2, 1, 30);                               // ClearEB / ClearTEB
  ms += 256 * Floor(2 + 48, 1, 20);                          // the lines
  ms += 2 * (Floor(9, 1, 20) + 5);                           // ratio and units, each with its sleep
  ms += Floor(2 + saveName.size(), 1, 60);                   // SaveEB / SaveTEB
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  benchwire::LineOptions args;
  if (!benchwire::ParseLineOptions(argc, argv, args)) return 1;
  benchwire::WindowBench wb(argc, argv);
  std::string linePath = args.line;
  const std::string outDir = args.out.empty() ? wb.config.path().toStdString() : args.out;

  using talvero::sim::Buffer;
  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (linePath.empty()) {
    auto& d = sim.AddDrive(kNode, talvero::sim::Family::RHO);
    for (int p = 0; p < 3; ++p) {
      d.Programs().Clear(Buffer::Library);
      for (int line = 0; line < 256; ++line) d.Programs().SetLine(Buffer::Library, line, Text48(p + 1, line));
      d.Programs().Save(Buffer::Library, kLibrary[p]);
    }
    d.Programs().Clear(Buffer::Library);
  }
  if (!benchwire::UseLine(server, linePath)) return 1;
  std::unique_ptr<MainWin> win = benchedit::OpenWindow(wb, linePath, kNode);
  if (!win) return 1;
  ISP& link = win->Link;
  const std::string family = win->NodeTables.at(kNode).family;
  if (!server.Running()) {
    // Someone else's drive: its library gets the three programs first.
    for (int p = 0; p < 3; ++p) {
      link.ClearTEB(kNode);
      for (int line = 0; line < 256; ++line) link.SetPgmLine(kNode, " ", uint8_t(line), Text48(p + 1, line));
      link.SaveTEB(kNode, kLibrary[p]);
    }
  }

  // The application: one 256-line program and one RHO axis.
  const std::string appPath = outDir + "/Bench.APP";
  std::remove(appPath.c_str());
  {
    Applic app;
    if (!app.Create(appPath) || !app.AddPgm("BENCH") || !app.AddAxis("X", family, win->ParametersRS)) {
      std::fprintf(stderr, "cannot make %s\n", appPath.c_str());
      return 1;
    }
    for (int line = 0; line < 256; ++line) app.UpdatePgmStep(1, line, Text48(0, line));
    app.UpdateSettings(1, "Bench", "2.5", "mm");
  }
  if (!win->OpenAnApp(appPath)) return 1;
  Applic& app = *win->Apps[1];
  editing::Transfers& t = *editing::Transfers::Of(*win);
  int wrong = 0;
  auto check = [&](bool ok, const std::string& what) {
    if (!ok && ++wrong < 8) std::fprintf(stderr, "%s\n", what.c_str());
  };
  auto sameProgram = [&](const char* what, const std::function<std::string(int)>& got, int program) {
    for (int line = 0; line < 256; ++line)
      check(got(line) == Text48(program, line), std::string(what) + ": line " + std::to_string(line) + " differs");
  };
  std::vector<Figure> figures;

  // (a) and (b): the application program, shown, to the drive.
  const std::string pgmKey = TreeKey::Make("PR", {-1, 1}).Format();
  win->Sys_NodeClick(pgmKey);
  check(win->ProgramViewShown, "the application program was not shown");
  {
    Figure f{"(a) program to the active program", 0, Floor(1, 2) + CopyToDriveFloor("$$SAVE$$")};
    const double t0 = NowMs();
    t.PR_Copy_Array_Click({talvero::TargetKind::DriveActiveProgram, 0, 0, kNode});
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    sameProgram("(a)", [&](int line) { return rt::Trim(link.GetPgmLine(kNode, uint8_t(line), "")); }, 0);
  }
  {
    Figure f{"(b) program to the library", 0, Floor(3, 8, 30) * 4 + CopyToDriveFloor("BENCH")};
    const double t0 = NowMs();
    t.PR_Copy_Array_Click({talvero::TargetKind::DriveProgramLibrary, 0, 0, kNode});
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    link.LoadTEB(kNode, "BENCH");
    sameProgram("(b)", [&](int line) { return rt::Trim(link.GetPgmLine(kNode, uint8_t(line), "BENCH")); }, 0);
  }

  // (c) The drive's library of three programs into the application.
  {
    check(link.DeletePgm(kNode, "BENCH"), "BENCH could not be taken out of the library");
    win->CurNode = kNode;
    win->AppSelected = false;
    win->AxisSelected = true;
    double floor = Floor(3, 8, 30) * 4;  // slots 0..3, the last one empty
    for (const char* name : {"ALPHA", "BRAVO", "CHARLIE"}) {
      const size_t n = std::string(name).size();
      floor += Floor(2 + n, 1, 30) + 2 * Floor(4, 12) + 256 * Floor(2 + n, 48);
    }
    Figure f{"(c) library of 3 programs to the application", 0, floor};
    const double t0 = NowMs();
    t.PL_Copy_Array_Click({talvero::TargetKind::Application, 1});
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    for (int p = 0; p < 3; ++p) {
      check(app.Pexist(kLibrary[p]), std::string(kLibrary[p]) + " was not copied");
      const int16_t slot = app.CurrentPgm;
      sameProgram(kLibrary[p], [&](int line) { return app.GetPgmStep(slot, line); }, p + 1);
    }
  }

  // (d) The drive's parameters into the application axis.
  {
    win->CurNode = kNode;
    std::vector<std::string> names;
    double floor = 0;
    talvero::dao::Recordset& rs = *win->ParametersRS;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
      if (!win->AxisTypeMatch(rs.Text("Type"), kNode)) continue;
      names.push_back(rs.Text("Name"));
      floor += Floor(1 + names.back().size(), 12);
    }
    Figure f{"(d) " + std::to_string(names.size()) + " parameters to an axis", 0, floor};
    const double t0 = NowMs();
    t.PA_Copy_Array_Click({talvero::TargetKind::AppAxis, 1, 1});
    f.measuredMs = NowMs() - t0;
    figures.push_back(f);
    for (const std::string& name : names)
      check(rt::Trim(app.GetParam(1, name)) == rt::Trim(link.ValueOf(kNode, name)), "(d) " + name + " differs");
  }

  const uint64_t failed = link.FailedOperations;
  win.reset();
  server.Stop();
  double worst = 0;
  for (const Figure& f : figures) {
    std::printf("%-46s measured %8.1f ms  floor %8.1f ms  ratio %.3f\n", f.what.c_str(), f.measuredMs, f.floorMs,
                f.Ratio());
    worst = std::max(worst, f.Ratio());
  }
  std::printf("failed link operations: %llu, wrong contents: %d\n", (unsigned long long)failed, wrong);
  for (const std::string& f : wb.prompter->Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());
  std::printf("ratio: %.3f\n", worst);
  return wrong || failed || !wb.prompter->Failures().empty() ? 2 : 0;
}
