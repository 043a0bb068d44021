// Measures the link's three bulk transfers against a simulated drive that
// paces its bytes at 19200 baud, and compares each with its floor: the bytes
// both ways at 10 bits a byte, plus the pauses the operations fix.
#include <stdlib.h>

#include <cstdio>
#include <functional>
#include <string>

#include "bench/wire_floor.h"
#include "link/isp.h"
#include "platform/clock/clock.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

using benchwire::WireMs;
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

int main() {
  using talvero::sim::Buffer;
  talvero::sim::SimLine line;
  auto& drive = line.AddDrive(kNode, talvero::sim::Family::RHO);
  for (int i = 0; i < 256; ++i)
    drive.Programs().SetLine(Buffer::Active, i, "IF IN" + std::to_string(i % 9) + " THEN MOVE " + std::to_string(i * 37));
  for (size_t i = 0; i < drive.Memory().size(); ++i) drive.Memory()[i] = uint8_t(i * 31 + 7);

  talvero::sim::PtyServer server(line);
  talvero::sim::PtyOptions options;
  options.paced = true;
  if (!server.Start(options)) {
    std::fprintf(stderr, "cannot start the simulated line: %s\n", server.Error().c_str());
    return 1;
  }
  setenv("TALVERO_COM9", server.SlavePath().c_str(), 1);

  ISP isp;  // the real serial port object, default time-outs and tries
  isp.OpenPort(9);
  if (isp.theHandle() <= 0) {
    std::fprintf(stderr, "%s\n", talvero::DescribePortFailure(isp.LastOpenFailure()).c_str());
    return 1;
  }

  Figure program = Run("program read (256 lines)", [&](Figure& f) {
    for (int i = 0; i < 256; ++i) {
      std::string text = isp.GetPgmLine(kNode, uint8_t(i), "");
      if (text != drive.ProgramLine(Buffer::Active, i)) ++f.wrong;
      f.floorMs += WireMs(2, text.size());
    }
  });

  Figure memory = Run("memory read (64 blocks)", [&](Figure& f) {
    for (int b = 0; b < 64; ++b) {
      const int32_t address = b * 128;
      std::string block = isp.ReadNV(kNode, address);
      if (block != std::string(drive.Memory().begin() + address, drive.Memory().begin() + address + 128)) ++f.wrong;
      f.floorMs += WireMs(1 + std::to_string(address).size(), 128) + 20;
    }
  });

  isp.Flash(kNode, "S");
  Figure firmware = Run("firmware write (8 blocks)", [&](Figure& f) {
    for (int b = 0; b < 8; ++b) {
      std::string block(128, char(b * 17));
      if (!isp.Flash(kNode, "D" + block)) ++f.wrong;
      f.floorMs += WireMs(130, 1) + 40;
    }
  });
  isp.Flash(kNode, "E");

  std::printf("link failures: %d\n", int(isp.ErrorCount));
  double worst = program.Ratio();
  for (const Figure* f : {&memory, &firmware})
    if (f->Ratio() > worst) worst = f->Ratio();
  std::printf("ratio: %.3f\n", worst);
  server.Stop();
  return program.wrong + memory.wrong + firmware.wrong ? 2 : 0;
}
