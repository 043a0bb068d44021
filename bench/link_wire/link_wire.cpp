// Measures the link's three bulk transfers against a simulated drive that
// paces its bytes at 19200 baud (or any drive line given with --line), and
// compares each with its floor: each request's bytes at 10 bits a byte, then
// its fixed pause or its reply's bytes, whichever is longer.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/line_options.h"
#include "bench/wire_floor.h"
#include "link/isp.h"
#include "platform/clock/clock.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

constexpr int kNode = 1;

struct Figure {
  const char* what;
  double measuredMs = 0;
  double floorMs = 0;
  int wrong = 0;
  double Ratio() const { return floorMs > 0 ? measuredMs / floorMs : 0; }
};

Figure Run(const char* what, const std::function<void(Figure&)>& body) {
  Figure f;
  f.what = what;
  int64_t t0 = talvero::TheClock().NowMs();
  body(f);
  f.measuredMs = double(talvero::TheClock().NowMs() - t0);
  std::printf("%-28s measured %8.1f ms  floor %8.1f ms  ratio %.3f%s\n", what, f.measuredMs, f.floorMs,
              f.Ratio(), f.wrong ? "  (WRONG REPLIES)" : "");
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  benchwire::LineOptions opts;
  if (!benchwire::ParseLineOptions(argc, argv, opts)) return 64;
  using talvero::sim::Buffer;
  talvero::sim::SimLine line;
  line.AddDrive(kNode, talvero::sim::Family::RHO);
  talvero::sim::PtyServer server(line);
  const std::string device = benchwire::LineDevice(opts, server);
  if (device.empty()) return 1;
  setenv("TALVERO_COM9", device.c_str(), 1);

  ISP isp;  // the real serial port object, default time-outs and tries
  isp.OpenPort(9);
  if (isp.theHandle() <= 0) {
    std::fprintf(stderr, "%s: %s\n", device.c_str(), talvero::DescribePortFailure(isp.LastOpenFailure()).c_str());
    return 1;
  }

  // The drive's program and memory are written through the link first (not
  // timed), so any drive on any line can be read back and checked.
  std::vector<std::string> lines(256);
  std::string image(64 * 128, '\0');
  for (int i = 0; i < 256; ++i) {
    lines[size_t(i)] = "IF IN" + std::to_string(i % 9) + " THEN MOVE " + std::to_string(i * 37);
    if (!isp.SetPgmLine(kNode, "", uint8_t(i), lines[size_t(i)]))
      std::fprintf(stderr, "program line %d was not written\n", i);
  }
  for (size_t i = 0; i < image.size(); ++i) image[i] = char(uint8_t(i * 31 + 7));
  for (int b = 0; b < 64; ++b)
    if (!isp.WriteNV(kNode, b * 128, image.substr(size_t(b) * 128, 128)))
      std::fprintf(stderr, "memory block %d was not written\n", b);

  std::string programRead, memoryRead;
  Figure program = Run("program read (256 lines)", [&](Figure& f) {
    for (int i = 0; i < 256; ++i) {
      std::string text = isp.GetPgmLine(kNode, uint8_t(i), "");
      if (text != lines[size_t(i)]) {
        ++f.wrong;
        std::fprintf(stderr, "program line %d read back as \"%s\"\n", i, text.c_str());
      }
      programRead += text + "\n";
      f.floorMs += benchwire::RequestMs(2, text.size(), 0);
    }
  });

  Figure memory = Run("memory read (64 blocks)", [&](Figure& f) {
    for (int b = 0; b < 64; ++b) {
      const int32_t address = b * 128;
      std::string block = isp.ReadNV(kNode, address);
      if (block != image.substr(size_t(address), 128)) {
        ++f.wrong;
        std::fprintf(stderr, "memory block %d read back wrong\n", b);
      }
      memoryRead += block;
      f.floorMs += benchwire::RequestMs(1 + std::to_string(address).size(), 128, 20);
    }
  });

  isp.Flash(kNode, "S");
  Figure firmware = Run("firmware write (8 blocks)", [&](Figure& f) {
    for (int b = 0; b < 8; ++b) {
      std::string block(128, char(b * 17));
      if (!isp.Flash(kNode, "D" + block)) {
        ++f.wrong;
        std::fprintf(stderr, "firmware block %d was refused\n", b);
      }
      f.floorMs += benchwire::RequestMs(130, 1, 40);
    }
  });
  isp.Flash(kNode, "E");

  if (!opts.out.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(opts.out, ec);
    std::ofstream(opts.out + "/program.txt", std::ios::binary) << programRead;
    std::ofstream(opts.out + "/memory.bin", std::ios::binary) << memoryRead;
    std::printf("wrote %s/program.txt and %s/memory.bin\n", opts.out.c_str(), opts.out.c_str());
  }

  std::printf("link failures: %d\n", int(isp.ErrorCount));
  double worst = program.Ratio();
  for (const Figure* f : {&memory, &firmware})
    if (f->Ratio() > worst) worst = f->Ratio();
  std::printf("ratio: %.3f\n", worst);
  server.Stop();
  return program.wrong + memory.wrong + firmware.wrong ? 2 : 0;
}
