#include "mainwin/shared_services.h"

#include "runtime/text.h"

namespace mainwin {

std::string Clean(const std::string& path) {
  if (path.size() < 16) return path;
  // Paths here use "/"; those written on other systems "\\". The first
  // separator decides which one the path uses.
  size_t p1 = path.find_first_of("\\/");
  if (p1 == std::string::npos) return path;
  const char sep = path[p1];
  size_t p2 = path.find(sep, p1 + 1);
  if (p2 == std::string::npos) return path;
  return std::string("...") + sep + path.substr(p2 + 1);
}

std::string StoredAppName(const std::string& path) {
  if (path.size() >= 4 && rt::UCase(path.substr(path.size() - 4)) == ".APP")
    return path.substr(0, path.size() - 4);
  return path;
}

int32_t PlotColours::PCol(int i) const {
  return i >= 0 && i < int(table_.size()) ? table_[i] : 0;
}

void PlotColours::PSCol(int i, int32_t colour) {
  if (i < 0 || i >= int(table_.size())) return;
  table_[i] = colour;
  if (save_) save_(std::to_string(i), std::to_string(colour));
}

void PlotColours::Load(int i, int32_t colour) {
  if (i >= 0 && i < int(table_.size())) table_[i] = colour;
}

}  // namespace mainwin
