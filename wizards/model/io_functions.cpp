#include "wizards/model/io_functions.h"

#include "platform/dao/recordset.h"
#include "wizards/model/axis_port.h"

namespace wizards {

std::string IOTableKey(AxisPort& axis) {
  for (const char* family : {"TAU", "PHI", "PSI"})
    if (axis.IsFamily(family)) return std::string(family) + "I";
  return axis.IsFamily("RHO") ? "RHO" : "";
}

std::vector<IoRow> IoFunctions::Load(talvero::dao::Recordset& io, const std::string& key) {
  std::vector<IoRow> rows;
  if (key.empty()) return rows;
  for (io.MoveFirst(); !io.Eof(); io.MoveNext()) {
    if (io.Text("Name").find(key) == std::string::npos) continue;
    const talvero::dao::Value id = io.Field("id");
    if (id.IsNull() || id.Long() < 0 || id.Long() > kMaxId) continue;
    const size_t i = size_t(id.Long());
    bit_[i] = int32_t(io.Field("Bit").Long());
    kill_[i] = int32_t(io.Field("Kill").Long());
    rows.push_back({io.Text("fullname"), int(i)});
  }
  return rows;
}

std::vector<bool> IoFunctions::Settle(int32_t& word, const std::vector<IoRow>& rows) const {
  std::vector<bool> on(rows.size(), false);
  for (int pass = 0; pass < 3; ++pass)
    for (size_t r = 0; r < rows.size(); ++r) {
      on[r] = (word & Bit(rows[r].id)) != 0;
      if (on[r]) word &= ~Kill(rows[r].id);
    }
  return on;
}

int32_t IoFunctions::Switch(int32_t word, int id) const {
  const int32_t b = Bit(id);
  if (word & b) return word ^ b;
  return (word | b) & ~Kill(id);
}

}  // namespace wizards
