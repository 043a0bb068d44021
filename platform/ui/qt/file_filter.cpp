#include "platform/ui/qt/file_filter.h"

#include <algorithm>

#include "runtime/text.h"

namespace talvero {

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : s) {
    if (c == sep) {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  out.push_back(cur);
  return out;
}

// "*.BIN;*.HEX" -> "*.BIN *.bin *.HEX *.hex"
std::string PatternList(const std::string& patterns) {
  std::vector<std::string> all;
  for (const std::string& raw : Split(patterns, ';')) {
    std::string p = rt::Trim(raw);
    if (p.empty()) continue;
    for (const std::string& v : {p, rt::LCase(p)})
      if (std::find(all.begin(), all.end(), v) == all.end()) all.push_back(v);
  }
  std::string out;
  for (const std::string& p : all) out += (out.empty() ? "" : " ") + p;
  return out;
}

// Qt reads the patterns from the last parentheses of a filter, so a
// description's own "(*.X)" is replaced by the real list.
std::string Description(const std::string& text) {
  std::string d = rt::Trim(text);
  size_t open = d.rfind('(');
  if (open != std::string::npos && d.back() == ')') d = rt::Trim(d.substr(0, open));
  return d;
}

}  // namespace

QtFileFilter ConvertFileFilter(const std::string& legacy) {
  QtFileFilter f;
  if (rt::Trim(legacy).empty()) return f;
  std::vector<std::string> parts = Split(legacy, '|');
  for (size_t i = 0; i < parts.size(); i += 2) {
    bool paired = i + 1 < parts.size();
    std::string patterns = PatternList(paired ? parts[i + 1] : parts[i]);
    if (patterns.empty()) continue;
    std::string desc = paired ? Description(parts[i]) : "";
    f.entries.push_back(desc.empty() ? patterns : desc + " (" + patterns + ")");
  }
  return f;
}

}  // namespace talvero
