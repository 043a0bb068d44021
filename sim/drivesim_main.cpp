// talvero-drivesim: serves a line of simulated drives on a pseudo-terminal.
// The first line of output is the terminal's path; it serves until killed.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/line_description.h"
#include "sim/pty_server.h"

namespace {

void Usage() {
  std::fprintf(stderr,
               "usage: talvero-drivesim --drives 1:RHO,2:TAU,5:PSI [--paced] [--modem|--node0]\n"
               "                        [--corrupt RATE] [--drop RATE] [--seed N] [--verbose]\n"
               "                        [--silent NODE[:AFTER[:MS]]]... [--fault NODE:CODE[,...]]\n"
               "  a family may carry a model prefix: 7:PHI/KZ\n"
               "  --silent: the drive answers AFTER requests, then nothing for MS ms (for good\n"
               "            without MS); --fault raises fault CODE (0..29) at the start;\n"
               "  ending the program hangs the line up, as a pulled adapter does\n");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace talvero::sim;
  std::string drives;
  bool paced = false, verbose = false;
  LineMode mode = LineMode::Drives;
  unsigned seed = 12345;
  double corrupt = 0, drop = 0;
  std::vector<std::string> silences, faults;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--drives" && i + 1 < argc) {
      drives = argv[++i];
    } else if (a.rfind("--drives=", 0) == 0) {
      drives = a.substr(9);
    } else if (a == "--paced") {
      paced = true;
    } else if (a == "--modem") {
      mode = LineMode::Modem;
    } else if (a == "--node0") {
      mode = LineMode::NodeZero;
    } else if (a == "--seed" && i + 1 < argc) {
      seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
    } else if (a == "--corrupt" && i + 1 < argc) {
      corrupt = std::strtod(argv[++i], nullptr);
    } else if (a == "--drop" && i + 1 < argc) {
      drop = std::strtod(argv[++i], nullptr);
    } else if (a == "--silent" && i + 1 < argc) {
      silences.push_back(argv[++i]);
    } else if (a == "--fault" && i + 1 < argc) {
      faults.push_back(argv[++i]);
    } else if (a == "--verbose") {
      verbose = true;
    } else {
      Usage();
      return 2;
    }
  }
  SimLine line;
  std::string error;
  if (mode == LineMode::Drives || !drives.empty()) {
    if (!AddDrives(line, drives, &error)) {
      std::fprintf(stderr, "talvero-drivesim: %s\n", error.c_str());
      Usage();
      return 2;
    }
  }
  for (const std::string& spec : silences) {
    if (!AddSilence(line, spec, &error)) break;
  }
  for (const std::string& spec : faults) {
    if (!error.empty() || !RaiseFaults(line, spec, &error)) break;
  }
  if (!error.empty()) {
    std::fprintf(stderr, "talvero-drivesim: %s\n", error.c_str());
    Usage();
    return 2;
  }
  line.SetMode(mode);
  line.SeedFaults(seed);
  if (corrupt > 0) line.AddFault(FaultRule::Rate(FaultKind::CorruptBytes, 0, corrupt));
  if (drop > 0) line.AddFault(FaultRule::Rate(FaultKind::DropBytes, 0, drop));

  // Block the stop signals before the server thread starts, then wait for one.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  PtyServer server(line);
  PtyOptions options;
  options.paced = paced;
  if (!server.Start(options)) {
    std::fprintf(stderr, "talvero-drivesim: %s\n", server.Error().c_str());
    return 1;
  }
  std::printf("%s\n", server.SlavePath().c_str());
  std::fflush(stdout);

  int sig = 0;
  sigwait(&stopSignals, &sig);
  server.Stop();
  if (verbose) {
    for (const LoggedRequest& r : line.Log()) {
      std::fprintf(stderr, "node %d %s:", r.node, r.text ? "text" : "packet");
      for (unsigned char c : r.data) std::fprintf(stderr, " %02X", c);
      std::fprintf(stderr, "%s\n", r.answered ? "" : " (unanswered)");
    }
  }
  return 0;
}
