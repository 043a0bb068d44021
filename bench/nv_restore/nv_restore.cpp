// Times "File -> Axis Memory..." from the command until the progress bar is
// back at 0: the E-stop and 1024 block writes to a RHO drive paced at 19200
// baud, with the status timer polling between blocks. The restart and the
// search after it are not timed. Floor: the E-stop, each block's address and
// data requests with their acknowledgements on the wire (the link's 20 ms
// pause after the data passes while the data is still on it), the timer's polls.
#include <QProgressBar>
#include <cstdio>
#include <string>

#include "bench/drive_window_bench.h"
#include "online/model/nv_transfer.h"

int main(int argc, char** argv) {
  return benchdrive::Main(argc, argv, [](benchdrive::Bench& b) {
    std::string image;
    const std::string path = b.RandomFile("bench_restore.SNA", size_t(online::kNvImageSize), 2026, image);
    if (path.empty()) return 1;
    for (int k = 0; k < 3; ++k) {
      const talvero::MessageBox q = online::NvRestoreQuestion(k);
      b.prompter.ExpectMessage(q.text, talvero::Answer::Yes, q.title);
    }
    b.prompter.ExpectOpenFile(path);

    double t1 = -1;
    int ticksAtEnd = 0;
    bool moved = false;
    QObject::connect(b.win->Prog, &QProgressBar::valueChanged, [&](int v) {
      if (v > 0) moved = true;
      if (v == 0 && moved && t1 < 0) {
        t1 = benchdrive::Bench::NowMs();
        ticksAtEnd = b.ticks;
      }
    });
    const int ticks0 = b.ticks;
    const double t0 = benchdrive::Bench::NowMs();
    b.win->MenuCommandHook("AA_FILE2MEM");
    const int ticks = ticksAtEnd - ticks0;

    double floorMs = benchdrive::RequestFloorMs(1, 1, 5), pausesAfterMs = double(5 + 1 + 4 + 1) * benchwire::kByteMs + 5;
    for (int a = 0; a < online::kNvImageSize; a += online::kNvBlockSize) {
      const size_t where = 1 + std::to_string(a).size();
      floorMs += benchdrive::RequestFloorMs(where, 1, 0) + benchdrive::RequestFloorMs(129, 1, 20);
      pausesAfterMs += double(5 + where + 4 + 1 + 5 + 129 + 4 + 1) * benchwire::kByteMs + 20;
    }
    floorMs += b.TickFloorMs(ticks);
    pausesAfterMs += b.TickFloorMs(ticks);

    b.Check(t1 >= 0, "the progress bar never moved and came back");
    if (b.OwnLine()) {
      b.CheckSame(image, b.sim.Drive(1).Memory(), "the drive's memory differs from the image");
      b.CheckRestartedWith("E");
    } else {
      // A peer line: read the memory back (untimed) and compare.
      std::string back;
      for (int a = 0; a < online::kNvImageSize; a += online::kNvBlockSize) back += b.win->Link.ReadNV(1, a);
      b.Check(back == image, "the memory reads back wrong");
    }
    std::printf("status ticks           %d (Q and q each)\n", ticks);
    std::printf("bytes + 1024 x 20 ms   %10.1f ms (pauses added after the bytes: above the time taken)\n", pausesAfterMs);
    if (t1 < 0) t1 = benchdrive::Bench::NowMs();
    return b.Finish("memory", b.OwnLine() ? "compared with the drive's memory" : "read back over the peer line",
                    t1 - t0, floorMs);
  });
}
