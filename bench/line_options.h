#pragma once
// The options of a benchmark that talks to drives: "--line PATH" uses that
// serial device (any peer drive line) in place of its own simulator, "--out
// DIR" keeps the files it writes there; and the simulated line it starts
// when no line is given.
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "sim/pty_server.h"

namespace benchwire {

struct LineOptions {
  std::string line;
  std::string out;
};

// False, with the usage, on anything else; unless strict is false, when
// anything else is passed over.
inline bool ParseLineOptions(int argc, char** argv, LineOptions& o, bool strict = true) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--line" || a == "--out") && i + 1 < argc) {
      (a == "--line" ? o.line : o.out) = argv[++i];
    } else if (strict) {
      std::fprintf(stderr, "usage: %s [--line PATH] [--out DIR]\n", argv[0]);
      return false;
    }
  }
  return true;
}

// The options given, anything else passed over.
inline LineOptions ReadLineOptions(int argc, char** argv) {
  LineOptions o;
  ParseLineOptions(argc, argv, o, false);
  return o;
}

// Serves the simulated line on a pseudo-terminal, each byte at the line's
// rate; linePath receives its path.
inline bool ServePaced(talvero::sim::PtyServer& server, std::string& linePath) {
  talvero::sim::PtyOptions options;
  options.paced = true;
  if (!server.Start(options)) {
    std::fprintf(stderr, "cannot start the simulated line: %s\n", server.Error().c_str());
    return false;
  }
  linePath = server.SlavePath();
  return true;
}

// The device to talk over: --line's, or else the simulated line `server`
// starts, paced at the line's byte rate; "" (after a message) when it cannot.
inline std::string LineDevice(const LineOptions& o, talvero::sim::PtyServer& server) {
  if (!o.line.empty()) return o.line;
  std::string path;
  ServePaced(server, path);
  return path;
}

// Starts server paced at the line's byte rate when linePath is empty, and
// maps COM1 to the line; false (with the reason printed) when it failed.
inline bool UseLine(talvero::sim::PtyServer& server, std::string& linePath) {
  if (linePath.empty() && !ServePaced(server, linePath)) return false;
  setenv("TALVERO_COM1", linePath.c_str(), 1);
  return true;
}

}  // namespace benchwire
