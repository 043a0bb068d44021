// Times "Axis Memory -> File..." from the command to its end: 1024 block
// reads from a RHO drive paced at 19200 baud, with the status timer polling
// the drive between blocks. Floor: every read request and its 128-byte reply
// on the wire (the link's 20 ms pause passes while they are on it), plus the
// timer's polls logged meanwhile.
#include <cstdio>
#include <string>

#include "bench/drive_window_bench.h"
#include "online/model/nv_transfer.h"

int main(int argc, char** argv) {
  return benchdrive::Main(argc, argv, [](benchdrive::Bench& b) {
    const std::string path = b.outDir + "/bench_save.SNA";
    b.prompter.ExpectSaveFile(path);
    const int ticks0 = b.ticks;
    const double t0 = benchdrive::Bench::NowMs();
    b.win->MenuCommandHook("AA_MEM2FILE");
    const double t1 = benchdrive::Bench::NowMs();
    const int ticks = b.ticks - ticks0;

    double floorMs = 0, pausesAfterMs = 0;
    for (int a = 0; a < online::kNvImageSize; a += online::kNvBlockSize) {
      const size_t request = 1 + std::to_string(a).size();
      floorMs += benchdrive::RequestFloorMs(request, 128, 20);
      pausesAfterMs += double(5 + request + 4 + 128) * benchwire::kByteMs + 20;
    }
    floorMs += b.TickFloorMs(ticks);
    pausesAfterMs += b.TickFloorMs(ticks);

    const talvero::FileRead saved = talvero::ReadWholeFile(path, online::kNvImageSize, online::kNvImageSize);
    const bool whole = bool(saved);
    b.Check(whole, "the image is missing or not 131072 bytes");
    if (whole && b.OwnLine()) b.CheckSame(saved.bytes, b.sim.Drive(1).Memory(), "the image differs from the drive's memory");
    std::printf("status ticks           %d (Q and q each)\n", ticks);
    std::printf("bytes + 1024 x 20 ms   %10.1f ms (pauses added after the bytes: above the time taken)\n", pausesAfterMs);
    return b.Finish("image", b.OwnLine() ? "compared with the drive's memory" : "length only: a peer line", t1 - t0,
                    floorMs);
  });
}
