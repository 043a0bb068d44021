// How long an application written by the earlier program takes to convert:
// 16 axes with every catalogue parameter and their 10 events, 64 programs of
// 256 steps and their settings, read from its Jet file, written as one of
// ours and opened. The target is 2 s; the last line is the time over it.
// Optional argument: the folder for the files (default: the temp folder).
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock/clock.h"
#include "store/applic.h"
#include "store/legacy_application.h"
#include "store/tests/legacy_fixture.h"

namespace fs = std::filesystem;
using namespace talvero::store;

int main(int argc, char** argv) {
  const fs::path dir = (argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path()) /
                       ("bench_legacy_open_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const auto params = testing::CatalogueParameters(TALVERO_LIBRARY_DB);
  if (params.empty()) {
    std::fprintf(stderr, "can't read the catalogue parameters from %s\n", TALVERO_LIBRARY_DB);
    return 1;
  }
  LegacyApplication model;
  const char* families[] = {"RHO", "TAU", "PHI", "PSI"};
  for (int a = 1; a <= 16; ++a)
    model.axes.push_back(testing::FullAxis("Achse " + std::to_string(a), families[a % 4], params));
  for (int p = 1; p <= 64; ++p) model.programs.push_back(testing::FullProgram("Programm " + std::to_string(p)));
  const std::string bytes = testing::LegacyFile(model);
  const std::string path = (dir / "legacy.APP").string();
  std::ofstream(path, std::ios::binary) << bytes;
  std::printf("file %s: %zu bytes\n", path.c_str(), bytes.size());

  auto& clock = talvero::TheClock();
  const int64_t t0 = clock.NowMs();
  auto original = LegacyOriginal::Open(path);
  if (!original) {
    std::fprintf(stderr, "can't read it: %s\n", original.error.c_str());
    return 1;
  }
  auto app = ReadLegacyApplication(*original);
  const int64_t t1 = clock.NowMs();
  if (!app) {
    std::fprintf(stderr, "can't read it: %s\n", app.error.c_str());
    return 1;
  }
  const std::string kept = KeptOriginalName(path);
  if (auto c = ConvertLegacyApplication(*app, *original, kept); !c.ok()) {
    std::fprintf(stderr, "can't convert it: %s\n", c.error.c_str());
    return 1;
  }
  const int64_t t2 = clock.NowMs();
  Applic opened;
  if (auto s = opened.AOpen(path); !s) {
    std::fprintf(stderr, "can't open the converted file: %s\n", s.error.c_str());
    return 1;
  }
  const int64_t t3 = clock.NowMs();

  // Every row must have come across.
  int wrong = 0;
  for (int16_t a = 1; a <= 16; ++a)
    for (const auto& [name, value] : model.axes[size_t(a - 1)].params) wrong += opened.GetParam(a, name) != value;
  for (int16_t p = 1; p <= 64; ++p)
    for (const auto& [line, text] : model.programs[size_t(p - 1)].lines) wrong += opened.GetPgmStep(p, line) != text;
  opened.AClose();
  std::ifstream in(kept, std::ios::binary);
  const std::string kept_bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (kept_bytes != bytes) ++wrong;
  fs::remove_all(dir);

  const double total = double(t3 - t0);
  std::printf("rows read:                 %llu\n", static_cast<unsigned long long>(app->rowsRead));
  std::printf("read the Jet file:         %8.1f ms\n", double(t1 - t0));
  std::printf("write ours, keep original: %8.1f ms\n", double(t2 - t1));
  std::printf("open the converted file:   %8.1f ms\n", double(t3 - t2));
  std::printf("convert and open in all:   %8.1f ms (target 2000 ms)\n", total);
  if (wrong) std::printf("%d rows did not come across right\n", wrong);
  std::printf("ratio: %.3f\n", total / 2000.0);
  return wrong ? 1 : 0;
}
