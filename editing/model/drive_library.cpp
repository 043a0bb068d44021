#include "editing/model/drive_library.h"

#include "link/failure_watch.h"
#include "runtime/text.h"

namespace talvero {

std::optional<std::vector<std::string>> ReadLibraryNames(ISP& link, int node) {
  std::vector<std::string> names;
  FailureWatch watch(link);
  for (int slot = 0; slot < kLibrarySlots; ++slot) {
    const std::string name = rt::Trim(link.GetPgmName(node, uint8_t(slot)));
    if (watch.Failed()) return std::nullopt;
    if (name.empty() || name == "~~~~~~~~") break;
    names.push_back(name);
  }
  return names;
}

bool HasLibraryName(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& n : names)
    if (rt::SameText(n, name)) return true;
  return false;
}

}  // namespace talvero
