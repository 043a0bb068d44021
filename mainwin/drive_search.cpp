#include "mainwin/drive_search.h"

namespace mainwin {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

}  // namespace

DriveIdentity ParseIdentity(const std::string& reply) {
  DriveIdentity id;
  if (reply.empty() || reply[0] != '!') return id;
  id.present = true;
  id.family = reply.substr(1, 3);
  id.model = reply.size() > 4 ? reply.substr(4) : "";
  return id;
}

std::string KernelText(const std::string& info) {
  static const std::string kMark = "Kernel version: ";
  size_t at = info.find(kMark);
  if (at == std::string::npos) return "Kernel version: unknown";
  std::string rest = info.substr(at);
  size_t lf = rest.find('\n');
  return lf == std::string::npos ? rest : rest.substr(0, lf);
}

std::string DriveText(const std::string& model, const std::string& name, int node) {
  return model + " " + name + " (Node " + std::to_string(node) + ")";
}

std::vector<std::pair<int, std::string>> ListLibrary(DriveQueries& line, int node) {
  std::vector<std::pair<int, std::string>> out;
  for (int s = 0; s < kLibrarySlots; ++s) {
    std::string name = Trim(line.GetPgmName(node, s));
    if (name.empty() || name == kEmptySlot) break;
    if (name == kSavedActive) continue;
    out.emplace_back(s, name);
  }
  return out;
}

int SearchNodes(DriveQueries& line, SearchProgress& progress, NodeTables& tables,
                const std::function<void(int node)>& found) {
  int last = 0;
  for (int node = kFirstNode; node <= kLastNode; ++node) {
    progress.Stat("at Node " + std::to_string(node) + " of " + std::to_string(kLastNode));
    if (progress.Clicked()) break;
    last = node;
    DriveIdentity id = ParseIdentity(line.WhoAmI(node));
    tables.driveText[node].clear();
    tables.serial[node].clear();
    tables.kernel[node].clear();
    if (!id.present) continue;
    tables.family[node] = id.family;
    tables.simple[node] = false;
    tables.driveText[node] = DriveText(id.model, line.GetDriveName(node), node);
    tables.serial[node] = "Serial # " + line.GetSerial(node);
    tables.kernel[node] = KernelText(line.Info(node, 1));
    if (found) found(node);
  }
  return last;
}

}  // namespace mainwin
