#include "platform/help/help_file.h"

#include <algorithm>
#include <cctype>

#include "runtime/text.h"

namespace talvero {
namespace {

std::string_view Trim(std::string_view s) {
  const std::size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// "[digits] title" -> context and title.
bool ParseHeader(std::string_view line, int& context, std::string& title) {
  if (line.size() < 3 || line[0] != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos || close < 2 || close > 10) return false;
  long n = 0;
  for (std::size_t i = 1; i < close; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(line[i]))) return false;
    n = n * 10 + (line[i] - '0');
  }
  context = int(n);
  title = std::string(Trim(line.substr(close + 1)));
  if (title.empty()) title = "Topic " + std::to_string(context);
  return true;
}

void Finish(std::vector<HelpTopic>& topics, HelpTopic& t, std::vector<std::string>& lines) {
  while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
  std::size_t first = 0;
  while (first < lines.size() && Trim(lines[first]).empty()) ++first;
  for (std::size_t i = first; i < lines.size(); ++i) t.text += (i > first ? "\n" : "") + lines[i];
  const bool taken = std::any_of(topics.begin(), topics.end(), [&](const HelpTopic& o) { return o.context == t.context; });
  if (!taken) topics.push_back(std::move(t));
  lines.clear();
}

}  // namespace

HelpFile HelpFile::Parse(std::string_view text) {
  HelpFile file;
  std::optional<HelpTopic> current;
  std::vector<std::string> lines;
  bool inKeywords = false;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t nl = text.find('\n', from);
    if (nl == std::string_view::npos) nl = text.size();
    std::string_view line = text.substr(from, nl - from);
    from = nl + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    int context = 0;
    std::string title;
    if (ParseHeader(line, context, title)) {
      if (current) Finish(file.topics_, *current, lines);
      current = HelpTopic{context, title, {}, {}};
      inKeywords = true;
      continue;
    }
    if (!current) continue;  // comments and anything else before the first topic
    if (inKeywords && rt::LCase(line.substr(0, 9)) == "keywords:") {
      std::string_view rest = line.substr(9);
      while (!rest.empty()) {
        const std::size_t semi = std::min(rest.find(';'), rest.size());
        const std::string_view k = Trim(rest.substr(0, semi));
        if (!k.empty()) current->keywords.emplace_back(k);
        rest.remove_prefix(std::min(semi + 1, rest.size()));
      }
      continue;
    }
    inKeywords = false;
    if (!line.empty() && line[0] == '\\') line.remove_prefix(1);
    lines.emplace_back(line);
  }
  if (current) Finish(file.topics_, *current, lines);
  return file;
}

const HelpTopic* HelpFile::Find(int context) const {
  for (const HelpTopic& t : topics_)
    if (t.context == context) return &t;
  return nullptr;
}

namespace {

// How an entry matches what was typed: the whole of it, its start, or the
// start of a word inside it (after a blank, a hyphen, a bracket, ...).
enum class Match { None, Exact, Start, Word };

Match MatchOf(const std::string& text, const std::string& typed) {
  const std::string t = rt::LCase(text);
  if (t == typed) return Match::Exact;
  if (t.compare(0, typed.size(), typed) == 0) return Match::Start;
  for (std::size_t at = t.find(typed, 1); at != std::string::npos; at = t.find(typed, at + 1))
    if (!std::isalnum(static_cast<unsigned char>(t[at - 1]))) return Match::Word;
  return Match::None;
}

}  // namespace

std::vector<HelpIndexEntry> HelpFile::Index(std::string_view prefix) const {
  const std::string p = rt::LCase(Trim(prefix));
  struct Found {
    HelpIndexEntry entry;
    Match match;
  };
  std::vector<Found> found;
  for (const HelpTopic& t : topics_) {
    bool listed = false;
    for (const std::string& k : t.keywords) {
      const Match m = p.empty() ? Match::Start : MatchOf(k, p);
      if (m == Match::None) continue;
      found.push_back({{k, t.context, t.title}, m});
      listed = true;
    }
    // A topic whose title matches and none of its keywords is listed by its title.
    if (!listed && !p.empty())
      if (const Match m = MatchOf(t.title, p); m != Match::None) found.push_back({{t.title, t.context, t.title}, m});
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    if (a.match != b.match) return a.match < b.match;
    const std::string la = rt::LCase(a.entry.keyword), lb = rt::LCase(b.entry.keyword);
    return la != lb ? la < lb : a.entry.context < b.entry.context;
  });
  std::vector<HelpIndexEntry> out;
  out.reserve(found.size());
  for (Found& f : found) out.push_back(std::move(f.entry));
  return out;
}

}  // namespace talvero
