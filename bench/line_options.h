#pragma once
// The options of a benchmark that talks to drives: "--line PATH" uses that
// serial device (any peer drive line) in place of its own simulator, "--out
// DIR" keeps the files it writes there.
#include <cstdio>
#include <string>

#include "sim/pty_server.h"

namespace benchwire {

struct LineOptions {
  std::string line;
  std::string out;
};

// False, with the usage, on anything else.
inline bool ParseLineOptions(int argc, char** argv, LineOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--line" || a == "--out") && i + 1 < argc) {
      (a == "--line" ? o.line : o.out) = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--line PATH] [--out DIR]\n", argv[0]);
      return false;
    }
  }
  return true;
}

// The device to talk over: --line's, or else the simulated line `server`
// starts, paced at the line's byte rate; "" (after a message) when it cannot.
inline std::string LineDevice(const LineOptions& o, talvero::sim::PtyServer& server) {
  if (!o.line.empty()) return o.line;
  talvero::sim::PtyOptions options;
  options.paced = true;
  if (!server.Start(options)) {
    std::fprintf(stderr, "cannot start the simulated line: %s\n", server.Error().c_str());
    return "";
  }
  return server.SlavePath();
}

}  // namespace benchwire
