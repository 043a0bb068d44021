// Times 20 rounds on node 1 (a RHO drive holding the servo set-up's gains
// for INER 0.001) of: the tuning window's activation (6 reads), "Change"
// (4 writes), the I/O dialog's Load_IOCW (1 read) and IOSet (1 write), with
// the status timer polling the drive meanwhile.
// Floor: each read "=NAME" and its 12-byte reply on the wire, each write
// ":!NAME=VALUE" and its acknowledgement against the link's 20 ms pause,
// whichever is longer (the pause runs while the bytes are on the wire), plus
// the timer's polls. "bytes + 20 ms" adds each write's whole pause after its
// bytes instead, which a run beats; it is printed beside.
//
//   bench_tune_io [--line PATH] [--out DIR]
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "bench/drive_window_bench.h"
#include "runtime/val.h"
#include "wizards/axis_setup.h"
#include "wizards/install.h"
#include "wizards/io_config.h"
#include "wizards/tune.h"

namespace {

constexpr int kRounds = 20;
const char* const kReads[] = {"PPG", "CM", "INER", "KF", "KP", "KI", "IOCW"};

}  // namespace

int main(int argc, char** argv) {
  return benchdrive::Main(argc, argv, [](benchdrive::Bench& b) {
    wizards::Install(*b.win);
    wizards::ParamAccess& access = wizards::TheAxisSetup()->Access();
    // The gains the servo set-up leaves, also on a peer line.
    for (auto [n, v] : {std::pair{"INER", "0.001"}, {"KP", "0.043982"}, {"KI", "2.35619"}, {"KF", "0.8"},
                        {"PPG", "5"}, {"IOCW", "216"}})
      b.Check(access.ChP(n, v), "the drive did not take the starting gains");
    wizards::Tune& tune = *wizards::TheTune();
    wizards::IOConfig& io = *wizards::TheIOConfig();

    double measured = 0, floorMs = 0, pausesAfterMs = 0;
    int ticks = 0;
    std::map<std::string, std::string> written;
    const uint64_t failedBefore = b.win->Link.FailedOperations;
    for (int round = 0; round < kRounds; ++round) {
      const int ticks0 = b.ticks;
      const double t0 = benchdrive::Bench::NowMs();
      tune.Form_Activate();
      tune.Set_Click();
      for (const auto& e : access.Journal()) written[e.name] = e.value;
      io.Load_IOCW();
      io.Form_Activate();
      io.IOSet_Click();
      for (const auto& e : access.Journal()) written[e.name] = e.value;
      measured += benchdrive::Bench::NowMs() - t0;
      ticks += b.ticks - ticks0;
      b.Check(tune.Damping->value() == 70 && tune.Response->value() == 150,
              "the sliders did not read the drive's gains back");
      b.Check(access.Journal().size() == 1 && access.Journal()[0].taken, "IOSet's write was not taken");
    }
    b.Check(b.win->Link.FailedOperations == failedBefore, "a request failed");
    // One round's requests, with the values the runs wrote.
    double roundFloor = 0, roundAfter = 0;
    for (const char* name : kReads) {
      roundFloor += benchdrive::RequestFloorMs(1 + std::string(name).size(), 12, 0);
      roundAfter += benchwire::WireMs(1 + std::string(name).size(), 12);
    }
    for (const char* name : {"KP", "KI", "KF", "PPG", "IOCW"}) {
      const size_t request = (":!" + std::string(name) + "=" + written[name]).size();
      roundFloor += benchdrive::RequestFloorMs(request, 1, 20);
      roundAfter += benchwire::WireMs(request, 1) + 20;
    }
    floorMs = kRounds * roundFloor + b.TickFloorMs(ticks);
    pausesAfterMs = kRounds * roundAfter + b.TickFloorMs(ticks);

    const std::map<std::string, std::string> want = {
        {"KP", "0.04398226"}, {"KI", "2.356193"}, {"KF", "0.8"}, {"PPG", "5"}, {"IOCW", "72"}};
    b.Check(written == want, "the writes were not the gains and word expected");
    for (const auto& [name, value] : want) {
      const double got = rt::Val(b.win->Link.ValueOf(1, name));
      b.Check(std::fabs(got - rt::Val(value)) <= 1e-6 * std::fmax(1, std::fabs(rt::Val(value))),
              "the drive does not hold a value written");
    }
    std::printf("rounds                 %d (7 reads, 5 writes each)\n", kRounds);
    std::printf("status ticks           %d (Q and q each)\n", ticks);
    std::printf("bytes + 20 ms          %10.1f ms (ratio %.3f)\n", pausesAfterMs, measured / pausesAfterMs);
    return b.Finish("tune and I/O", b.OwnLine() ? "the drive's values read back" : "read back from a peer line",
                    measured, floorMs);
  });
}
