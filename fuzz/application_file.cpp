// Application files as a user may be handed them: any bytes in a ".APP"
// file. Opening and reading all of it ends in a clear failure or a readable
// application, and never changes the file.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_target.h"
#include "store/applic.h"

namespace {

std::string TempPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/talvero-fuzz-" + std::to_string(getpid()) + ".APP";
  }();
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TALVERO_FUZZ_TARGET(application_file) {
  const std::string path = TempPath();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::remove(path.c_str());
  for (const char* side : {"-journal", "-wal", "-shm"}) std::remove((path + side).c_str());
  {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }
  {
    Applic app;
    if (app.AOpen(path).ok()) {
      for (int16_t a = 1; a <= Applic::GetMaxAxis(); ++a) {
        if (app.GetAxisName(a).empty()) continue;
        app.WhatType(a);
        app.LongName(a);
        for (const char* name : {"PPG", "KP", "IRMS", ":E0", ":E9", "MISSING"}) {
          app.GetParam(a, name);
          app.FindParam(a, name);
        }
      }
      for (int16_t p = 1; p <= Applic::GetMaxPgm(); ++p) {
        if (app.GetPgmName(p).empty()) continue;
        const int16_t last = app.GetMaxLineNumber(p);
        for (int32_t line = 0; line <= last && line < 256; ++line) app.GetPgmStep(p, line);
        app.GetPD(p);
        app.GetTrans(p);
        app.GetUnits(p);
      }
      app.AClose();
    }
  }
  FUZZ_CHECK(ReadFile(path) == bytes, "opening and reading changed the file");
  std::remove(path.c_str());
  return 0;
}
