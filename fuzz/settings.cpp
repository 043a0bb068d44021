// The settings file's reader and writer: after a value is saved, a fresh read
// of the text finds that value and every other value the first read found.
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/settings/ini_document.h"

namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Every (section, key) a text could name, found apart from the reader.
std::vector<std::pair<std::string, std::string>> Names(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string section;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(start, end - start));
    if (!line.empty() && line.front() == '[' && line.find(']') != std::string::npos)
      section = Trim(line.substr(1, line.find(']') - 1));
    else if (line.find('=') != std::string::npos)
      names.emplace_back(section, Trim(line.substr(0, line.find('='))));
    start = end + 1;
  }
  return names;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool Storable(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) == std::string::npos; }

}  // namespace

TALVERO_FUZZ_TARGET(settings) {
  fuzz::Input in(data, size);
  const std::string section = Trim(in.Text());
  const std::string key = Trim(in.Text());
  const std::string value = Trim(in.Text());
  const std::string text = in.Rest();

  talvero::IniDocument doc = talvero::IniDocument::Parse(text);
  std::vector<std::pair<std::pair<std::string, std::string>, std::string>> found;
  for (const auto& name : Names(text))
    if (auto v = doc.Get(name.first, name.second)) found.push_back({name, *v});

  // What SaveSetting takes; it refuses the rest.
  const bool save = !section.empty() && !key.empty() && Storable(section) && Storable(key) &&
                    Storable(value) && section.find(']') == std::string::npos &&
                    key.find('=') == std::string::npos && key.front() != '[' && key.front() != ';' &&
                    key.front() != '#';
  if (save) doc.Set(section, key, value);
  const talvero::IniDocument again = talvero::IniDocument::Parse(doc.Text());
  if (save) FUZZ_CHECK(again.Get(section, key) == value, "a saved value did not read back");
  for (const auto& [name, v] : found) {
    if (save && SameName(name.first, section) && SameName(name.second, key)) continue;  // just saved
    FUZZ_CHECK(again.Get(name.first, name.second) == v,
               "[" + name.first + "] " + name.second + " changed when the file was saved");
  }
  return 0;
}
