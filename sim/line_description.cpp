#include "sim/line_description.h"

#include <set>
#include <sstream>

namespace talvero::sim {

bool AddDrives(SimLine& line, const std::string& description, std::string* error) {
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  std::set<int> seen;
  std::stringstream ss(description);
  std::string item;
  int count = 0;
  while (std::getline(ss, item, ',')) {
    size_t colon = item.find(':');
    if (colon == std::string::npos || colon == 0) return fail("bad drive entry \"" + item + "\"");
    std::string nodeText = item.substr(0, colon);
    int node = 0;
    for (char c : nodeText) {
      if (c < '0' || c > '9' || node > 99) return fail("bad node in \"" + item + "\"");
      node = node * 10 + (c - '0');
    }
    if (node < 1 || node > 31) return fail("node out of 1..31 in \"" + item + "\"");
    if (!seen.insert(node).second) return fail("node " + std::to_string(node) + " given twice");
    std::string fam = item.substr(colon + 1);
    std::string prefix;
    size_t slash = fam.find('/');
    if (slash != std::string::npos) {
      prefix = fam.substr(slash + 1);
      fam = fam.substr(0, slash);
      if (prefix.size() != 2) return fail("model prefix must be two characters in \"" + item + "\"");
    }
    auto f = ParseFamily(fam);
    if (!f) return fail("unknown family \"" + fam + "\" (RHO, TAU, PHI, PSI)");
    SimDrive& d = line.AddDrive(node, *f);
    if (!prefix.empty()) d.SetModel(prefix + d.Model().substr(2));
    ++count;
  }
  if (count == 0) return fail("no drives given");
  return true;
}

}  // namespace talvero::sim
