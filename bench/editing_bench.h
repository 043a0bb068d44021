#pragma once
// What the editing benchmarks share: their arguments, the paced simulated
// line, and the main window with the editing subsystem on COM1 with one
// drive's entry filled in (the search is not what they measure).
//
//   bench_x [--line PATH] [--out DIR]
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "bench/window_bench.h"
#include "editing/editor.h"
#include "mainwin/main_win.h"
#include "sim/pty_server.h"

namespace benchedit {

struct Args {
  std::string line;  // a peer drive line; "" = the bench's own simulator
  std::string out;   // where the files stay; "" = none
};

// nullopt (the usage printed) on an argument it does not know.
inline std::optional<Args> ParseArgs(int argc, char** argv) {
  Args a;
  for (int i = 1; i < argc; ++i) {
    const std::string k = argv[i];
    if (k == "--line" && i + 1 < argc) a.line = argv[++i];
    else if (k == "--out" && i + 1 < argc) a.out = argv[++i];
    else {
      std::fprintf(stderr, "usage: %s [--line PATH] [--out DIR]\n", argv[0]);
      return std::nullopt;
    }
  }
  return a;
}

// The server's line paced at the byte rate; "" (the reason printed) when it did not start.
inline std::string StartPaced(talvero::sim::PtyServer& server) {
  talvero::sim::PtyOptions options;
  options.paced = true;
  if (!server.Start(options)) {
    std::fprintf(stderr, "cannot start the simulated line: %s\n", server.Error().c_str());
    return "";
  }
  return server.SlavePath();
}

// The window loaded with the editing subsystem, the link open on the line
// as COM1 and the node's entry filled from its answer; nullptr (the reason
// printed) when any of it failed.
inline std::unique_ptr<MainWin> OpenWindow(benchwire::WindowBench& wb, const std::string& linePath, int node) {
  setenv("TALVERO_COM1", linePath.c_str(), 1);
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
  ISP& link = win->Link;
  link.OpenPort(1);
  const std::string identity = link.WhoAmI(node);
  if (link.theHandle() <= 0 || identity.size() < 4) {
    std::fprintf(stderr, "no drive answers at node %d on %s\n", node, linePath.c_str());
    return nullptr;
  }
  talvero::DriveEntry& entry = win->NodeTables.at(node);
  entry.driveText = identity;
  entry.family = identity.substr(1, 3);
  return win;
}

}  // namespace benchedit
