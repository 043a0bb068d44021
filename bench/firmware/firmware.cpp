// Times "&Upload New Firmware..." with a 131072-byte file from the command
// to the "Programmed OK." box, against a RHO drive paced at 19200 baud. The
// restart and the search after it are not timed. Floor: the start and end
// packets (their 40 ms pause outlasts their bytes) and 1024 data packets with
// their acknowledgements on the wire (the link's 40 ms pause passes while a
// packet is still on it), and the 4000 ms erase wait.
#include <cstdio>
#include <string>

#include "bench/drive_window_bench.h"
#include "online/model/firmware_flash.h"

int main(int argc, char** argv) {
  return benchdrive::Main(argc, argv, [](benchdrive::Bench& b) {
    const size_t kSize = 131072;
    std::string image;
    const std::string path = b.RandomFile("bench_firmware.BIN", kSize, 7, image);
    if (path.empty()) return 1;
    b.prompter.ExpectMessage(online::FirmwareWarning().text, talvero::Answer::Yes, "Firmware Update Warnings")
        .ExpectOpenFile(path)
        .ExpectMessage(online::FirmwareProgrammedBox().text, talvero::Answer::Ok, "Firmware Upload...")
        .ExpectMessage(online::FirmwareResetWarning().text, talvero::Answer::Ok, "WARNING");
    benchdrive::TimingPrompter timing(talvero::ThePrompter());
    timing.awaited = "Programmed OK.";

    const double t0 = benchdrive::Bench::NowMs();
    b.win->SpUpload->trigger();
    const double t1 = timing.seenAtMs;

    const double erase = online::FlashEraseMs("RHO");
    double floorMs = 2 * benchdrive::RequestFloorMs(2, 1, 40) + erase;
    double pausesAfterMs = 2 * (12 * benchwire::kByteMs + 40) + erase;
    for (size_t n = 0; n < kSize / 128; ++n) {
      floorMs += benchdrive::RequestFloorMs(130, 1, 40);
      pausesAfterMs += 140 * benchwire::kByteMs + 40;
    }

    b.Check(t1 >= 0, "no \"Programmed OK.\" box");
    if (b.OwnLine()) {
      b.CheckSame(image, b.sim.Drive(1).FlashImage(), "the drive's flash differs from the file");
      b.CheckRestartedWith("F");
    }
    std::printf("bytes + pauses         %10.1f ms (pauses added after the bytes: above the time taken)\n", pausesAfterMs);
    return b.Finish("flash", b.OwnLine() ? "compared with the file" : "acknowledged end only: a peer line",
                    (t1 < 0 ? benchdrive::Bench::NowMs() : t1) - t0, floorMs);
  });
}
