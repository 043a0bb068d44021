// Applications written by the earlier program as a user may be handed them:
// a whole one with bytes changed or cut anywhere, or any bytes at all, read
// as File -> Open reads them. Reading ends in a reason or an application of
// at most 16 axes and 64 programs, never crashes or hangs the program (libmdb
// does crash on some; they are read in a child process), and never changes
// the file.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_target.h"
#include "store/legacy_application.h"
#include "store/tests/legacy_fixture.h"

namespace {

namespace st = talvero::store;

const std::string& Template() {
  static const std::string bytes = [] {
    st::LegacyApplication app;
    app.axes = {{"Fräse 2", "RHO", {{"KP", "12"}, {":E0", "IN1=1:GOTO 5"}}}, {"B", "PSI", {{"KP", "3"}}}};
    app.programs = {{"Zyklus", {{0, "MA 100"}, {1, "WT 5"}, {-4, "Beschreibung"}, {-3, "2.5"}, {-2, "mm"}}}};
    auto tables = st::testing::LegacyTables(app);
    tables.back().rowsPerPage = 2;
    tables.back().deleted = {1};
    return talvero::jet::testing::WriteJet3(tables);
  }();
  return bytes;
}

}  // namespace

TALVERO_FUZZ_TARGET(legacy_application) {
  fuzz::Input in(data, size);
  const uint8_t mode = in.Byte();
  std::string bytes;
  if (mode & 1) {
    bytes = Template();
    if (mode & 2) bytes.resize(in.Word() % bytes.size());
    while (!in.Empty() && !bytes.empty()) {
      const size_t at = (size_t(in.Word()) | size_t(in.Byte()) << 16) % bytes.size();
      bytes[at] = char(in.Byte());
    }
  } else {
    bytes = in.Bytes(in.Left());
  }
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/talvero-fuzz-legacy-" + std::to_string(getpid()) + ".APP";
  }();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  auto app = st::ReadLegacyApplication(path);
  if (!app) {
    FUZZ_CHECK(!app.error.empty(), "a refusal without a reason");
  } else {
    FUZZ_CHECK(app->axes.size() <= 16 && app->programs.size() <= 64, "more slots than an application holds");
  }
  std::ifstream back(path, std::ios::binary);
  FUZZ_CHECK(std::string(std::istreambuf_iterator<char>(back), std::istreambuf_iterator<char>()) == bytes,
             "reading changed the file");
  std::remove(path.c_str());
  return 0;
}
