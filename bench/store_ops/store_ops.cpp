// How long application file work takes: a 256-step program written one line
// at a time (as the step editor does) against all lines in one transaction,
// reading it back, and opening an application of 16 axes and 64 programs.
// Optional argument: the folder for the files (default: the temp folder).
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/clock/clock.h"
#include "store/applic.h"

namespace {

namespace fs = std::filesystem;

std::string StepText(int line, int round) { return "MA" + std::to_string(line * 10 + round); }

double Ms(int64_t from) { return double(talvero::TheClock().NowMs() - from); }

bool WriteSteps(Applic& app, int16_t pgm, int round) {
  for (int line = 0; line < 256; ++line)
    if (!app.UpdatePgmStep(pgm, line, StepText(line, round))) return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path dir = (argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path()) /
                 ("bench_store_ops_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  auto& clock = talvero::TheClock();
  std::printf("files in %s\n", dir.string().c_str());

  // Per-step writes: each UpdatePgmStep is its own committed change.
  Applic app;
  if (!app.Create((dir / "steps.APP").string()) || !app.AddPgm("P") || !app.AddPgm("Q")) {
    std::fprintf(stderr, "can't create the application\n");
    return 1;
  }
  const int stepRounds = 3;
  int64_t t0 = clock.NowMs();
  for (int r = 0; r < stepRounds; ++r)
    if (!WriteSteps(app, 1, r)) return 1;
  double perStep = Ms(t0) / stepRounds;

  // The same 256 lines in one transaction.
  const int txRounds = 40;
  t0 = clock.NowMs();
  for (int r = 0; r < txRounds; ++r) {
    talvero::dao::Transaction t(*app.Database());
    if (!WriteSteps(app, 2, r) || !t.Commit()) return 1;
  }
  double oneTx = Ms(t0) / txRounds;

  const int readRounds = 40;
  size_t chars = 0;
  t0 = clock.NowMs();
  for (int r = 0; r < readRounds; ++r) {
    int16_t last = app.GetMaxLineNumber(1);
    for (int line = 0; line <= last; ++line) chars += app.GetPgmStep(1, int16_t(line)).size();
  }
  double readBack = Ms(t0) / readRounds;
  app.AClose();

  // An application of 16 axes (60 parameters and 10 events each) and 64
  // programs of 256 lines.
  const std::string full = (dir / "full.APP").string();
  {
    if (!app.Create(full)) return 1;
    talvero::dao::Transaction t(*app.Database());
    for (int a = 1; a <= 16; ++a) {
      if (!app.AddAxis("Axis" + std::to_string(a), "RHO", nullptr)) return 1;
      for (int p = 0; p < 60; ++p) app.PutParam(int16_t(a), "P" + std::to_string(p), std::to_string(p));
      for (int e = 0; e < 10; ++e) app.PutParam(int16_t(a), ":E" + std::to_string(e), " ");
    }
    for (int16_t p = 1; p <= 64; ++p) {
      if (!app.AddPgm("Program" + std::to_string(p)) || !WriteSteps(app, p, p)) return 1;
      app.UpdateSettings(p, "Program " + std::to_string(p), "2.5", "mm");
    }
    if (!t.Commit()) return 1;
    app.AClose();
  }
  const int openRounds = 20;
  t0 = clock.NowMs();
  for (int r = 0; r < openRounds; ++r) {
    if (!app.AOpen(full)) return 1;
    app.AClose();
  }
  double open = Ms(t0) / openRounds;

  std::printf("write 256 steps, one UpdatePgmStep each:   %8.2f ms (%.3f ms a step)\n", perStep, perStep / 256);
  std::printf("write 256 steps in one transaction:        %8.2f ms\n", oneTx);
  std::printf("read 256 steps back:                       %8.2f ms (%zu characters)\n", readBack,
              chars / readRounds);
  std::printf("open an application of 16 axes, 64 programs: %6.2f ms\n", open);
  fs::remove_all(dir);
  std::printf("ratio: %.2f\n", oneTx > 0 ? perStep / oneTx : 0.0);
  return 0;
}
