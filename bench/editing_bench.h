#pragma once
// What the editing benchmarks share: the main window with the editing
// subsystem on COM1 with one drive's entry filled in (the search is not what
// they measure), and the figures they print.
//
//   bench_x [--line PATH] [--out DIR]
#include <cstdio>
#include <memory>
#include <string>

#include "bench/window_bench.h"
#include "editing/editor.h"
#include "mainwin/main_win.h"

namespace benchedit {

// The window loaded with the editing subsystem, the link open on COM1 and
// the node's entry filled from its answer; nullptr (the reason printed)
// when any of it failed.
inline std::unique_ptr<MainWin> OpenWindow(benchwire::WindowBench& wb, const std::string& linePath, int node) {
  wb.stored = {{"Setup/COM", "0"}, {"Help/GS", "1"}};
  MainWinEnv env;
  env.settings = wb.Settings();
  env.lockPath = wb.LockPath();
  auto win = std::make_unique<MainWin>(std::move(env));
  editing::Install(*win);
  if (!win->Form_Load("")) {
    std::fprintf(stderr, "the window did not load\n");
    return nullptr;
  }
  if (!benchwire::OpenNode(*win, node, linePath)) return nullptr;
  return win;
}

struct Figure {
  std::string what;
  double measuredMs = 0, floorMs = 0;
  double Ratio() const { return measuredMs / floorMs; }
};

}  // namespace benchedit
