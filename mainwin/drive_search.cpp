#include "mainwin/drive_search.h"

#include "platform/clock/clock.h"

namespace mainwin {

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

std::string DamagedNodesText(const std::vector<int>& nodes) {
  if (nodes.empty()) return "";
  std::string list;
  for (int n : nodes) list += (list.empty() ? "" : ", ") + std::to_string(n);
  return "No valid answer from node(s) " + list +
         ", though something replied; check the line and search again (Special, Refresh Application View).";
}

int SearchNodes(DriveQueries& line, SearchProgress& progress, talvero::NodeTables& tables,
                const std::function<void(int node)>& found, std::vector<int>* damaged) {
  int last = 0;
  for (int node = kFirstNode; node <= kLastNode; ++node) {
    progress.Stat("at Node " + std::to_string(node) + " of " + std::to_string(kLastNode));
    if (progress.Clicked()) break;
    last = node;
    bool stopped = false;
    // Events run before each further try, so a Stop pressed meanwhile counts.
    const std::string reply = line.Identify(node, [&]() {
      talvero::TheClock().ProcessEvents();
      return stopped = progress.Clicked();
    });
    if (stopped) break;
    if (reply.empty() && damaged && line.LastReplyDamaged()) damaged->push_back(node);
    DriveIdentity id = ParseIdentity(reply);
    talvero::DriveEntry& e = tables.at(node);
    e.driveText.clear();
    e.serialText.clear();
    e.kernelText.clear();
    if (!id.present) continue;
    e.family = id.family;
    e.simple = false;
    e.driveText = DriveText(id.model, line.GetDriveName(node), node);
    e.serialText = "Serial # " + line.GetSerial(node);
    e.kernelText = KernelText(line.Info(node, 1));
    if (found) found(node);
  }
  return last;
}

}  // namespace mainwin
