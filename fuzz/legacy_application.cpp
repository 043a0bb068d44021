// Applications written by the earlier program as a user may be handed them:
// a whole one with bytes changed or cut anywhere, or any bytes at all, read
// through libmdb. Reading ends in a reason or an application of at most 16
// axes and 64 programs, and never crashes or hangs.
#include <string>

#include "fuzz/fuzz_target.h"
#include "platform/jet/jet_file.h"
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
  auto file = talvero::jet::File::FromBytes(bytes);
  if (!file) {
    FUZZ_CHECK(!file.error.empty(), "a refusal without a reason");
    return 0;
  }
  auto app = st::ReadLegacyApplication(**file);
  if (!app) {
    FUZZ_CHECK(!app.error.empty(), "a refusal without a reason");
    return 0;
  }
  FUZZ_CHECK(app->axes.size() <= 16 && app->programs.size() <= 64, "more slots than an application holds");
  return 0;
}
