#pragma once
// Runs one entry point (entry_points.h) on drive 1 made silent at the click,
// in one of two states: the drive silent for the first time (the window
// believes it answers), or already known silent. Measures the event loop's
// longest stall, the time until the read is over and whether the window
// then says the drive does not answer, and the requests the read and the
// status tick sent; judges them against the targets.
#include <string>

#include "bench/silent_drive/entry_points.h"

class MainWin;
namespace talvero::sim {
class SimLine;
}

namespace silentbench {

struct Figures {
  double stallMs = 0;     // the event loop's longest stall while the read ran
  double overMs = 0;      // from the click to the read's end
  bool says = false;      // the window said the drive does not answer
  int requests = 0;       // to drive 1 while the read ran, the tick's among them
  int tickRequests = 0;
  int firstTries = 0;     // the read's first request's tries
  int afterFailed = 0;    // the read's requests after its first, which failed
  bool cut = false;       // the bench made the drive answer again to end the read
};

class EntryRunner {
 public:
  EntryRunner(MainWin& win, talvero::sim::SimLine& sim, std::string outDir);

  Figures Run(const EntryPoint& e, bool known, int index);
  // The targets: stall at most 2 s; over within 2 s when known silent, within
  // one full retry cycle and 2 s when silent for the first time; the window
  // says so; nothing sent after the first request that failed.
  std::string Misses(const Figures& f, bool known) const;
  double CycleMs() const;

 private:
  // The drive answers again and the window has heard it.
  void Answering();

  MainWin& win_;
  talvero::sim::SimLine& sim_;
  std::string out_;
};

}  // namespace silentbench
