#pragma once
// What the benchmarks of one drive on the window's own link share: the
// paced simulated line (unless a line is given) mapped to COM1, and the
// drive's node opened and entered in the window's node tables.
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "link/isp.h"
#include "mainwin/main_win.h"
#include "sim/pty_server.h"

namespace benchwire {

// Reads [--line PATH] [--out DIR]; false (with the usage printed) on
// anything else.
inline bool LineArgs(int argc, char** argv, std::string& linePath, std::string& outDir) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--line" && i + 1 < argc) linePath = argv[++i];
    else if (a == "--out" && i + 1 < argc) outDir = argv[++i];
    else {
      std::fprintf(stderr, "usage: %s [--line PATH] [--out DIR]\n", argv[0]);
      return false;
    }
  }
  return true;
}

// Starts server paced at the line's byte rate when linePath is empty, and
// maps COM1 to the line; false (with the reason printed) when it failed.
inline bool UseLine(talvero::sim::PtyServer& server, std::string& linePath) {
  if (linePath.empty()) {
    talvero::sim::PtyOptions options;
    options.paced = true;
    if (!server.Start(options)) {
      std::fprintf(stderr, "cannot start the simulated line: %s\n", server.Error().c_str());
      return false;
    }
    linePath = server.SlavePath();
  }
  setenv("TALVERO_COM1", linePath.c_str(), 1);
  return true;
}

// Opens COM1 on the window's link and enters the drive at node as the
// search would; false (with the reason printed) when no drive answers.
inline bool OpenNode(MainWin& win, int node, const std::string& linePath) {
  ISP& link = win.Link;
  link.OpenPort(1);
  const std::string identity = link.WhoAmI(node);
  if (link.theHandle() <= 0 || identity.size() < 4) {
    std::fprintf(stderr, "no drive answers at node %d on %s\n", node, linePath.c_str());
    return false;
  }
  talvero::DriveEntry& entry = win.NodeTables.at(node);
  entry.driveText = identity;
  entry.family = identity.substr(1, 3);
  return true;
}

}  // namespace benchwire
