#include "sim/line_description.h"

#include <set>
#include <sstream>
#include <vector>

namespace talvero::sim {

namespace {

// A whole decimal number of at most six digits; -1 for anything else.
int Number(const std::string& text) {
  if (text.empty() || text.size() > 6) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, sep)) parts.push_back(part);
  return parts;
}

}  // namespace

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

bool AddSilence(SimLine& line, const std::string& spec, std::string* error) {
  std::vector<std::string> parts = Split(spec, ':');
  int node = parts.empty() ? -1 : Number(parts[0]);
  int after = parts.size() > 1 ? Number(parts[1]) : 0;
  int ms = parts.size() > 2 ? Number(parts[2]) : 0;
  if (parts.empty() || parts.size() > 3 || node < 0 || after < 0 || ms < 0) {
    if (error) *error = "bad silence \"" + spec + "\" (NODE[:AFTER[:MS]])";
    return false;
  }
  if (!line.HasDrive(node)) {
    if (error) *error = "no drive on node " + std::to_string(node) + " to silence";
    return false;
  }
  line.AddFault(FaultRule::SilentFrom(node, after, parts.size() > 2 ? ms : -1));
  return true;
}

bool RaiseFaults(SimLine& line, const std::string& spec, std::string* error) {
  for (const std::string& item : Split(spec, ',')) {
    std::vector<std::string> parts = Split(item, ':');
    int node = parts.size() == 2 ? Number(parts[0]) : -1;
    int code = parts.size() == 2 ? Number(parts[1]) : -1;
    if (node < 0 || code < 0 || code > 29) {
      if (error) *error = "bad fault \"" + item + "\" (NODE:CODE, CODE 0..29)";
      return false;
    }
    SimDrive* drive = line.Find(node);
    if (!drive) {
      if (error) *error = "no drive on node " + std::to_string(node) + " to raise a fault on";
      return false;
    }
    drive->RaiseFault(code);
  }
  return true;
}

}  // namespace talvero::sim
