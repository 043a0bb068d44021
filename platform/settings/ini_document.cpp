#include "platform/settings/ini_document.h"

#include "runtime/text.h"

namespace talvero {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimBlanks(std::string_view s) {
  const std::size_t a = s.find_first_not_of(kBlanks);
  if (a == std::string_view::npos) return {};
  const std::size_t b = s.find_last_not_of(kBlanks);
  return s.substr(a, b - a + 1);
}

}  // namespace

IniDocument::Line IniDocument::ParseLine(std::string raw) {
  Line line;
  const std::string_view t = TrimBlanks(raw);
  if (!t.empty() && t.front() == '[') {
    const std::size_t close = t.find(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Section;
      line.name = std::string(TrimBlanks(t.substr(1, close - 1)));
    }
  } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
    const std::size_t eq = t.find('=');
    if (eq != std::string_view::npos && eq > 0) {
      line.kind = Line::Entry;
      line.name = std::string(TrimBlanks(t.substr(0, eq)));
      line.value = std::string(TrimBlanks(t.substr(eq + 1)));
    }
  }
  line.raw = std::move(raw);
  return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  static constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.substr(0, kBom.size()) == kBom) {
    doc.bom_ = true;
    text.remove_prefix(kBom.size());
  }
  // A line ends at LF, CR LF or a lone CR; the first one found is the one written back.
  bool eolSeen = false;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find_first_of("\r\n", from);
    std::size_t next = end;
    if (end == std::string_view::npos) {
      end = next = text.size();
    } else {
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      if (!eolSeen) doc.eol_ = crlf ? "\r\n" : text[end] == '\r' ? "\r" : "\n";
      eolSeen = true;
      next = end + (crlf ? 2 : 1);
    }
    doc.lines_.push_back(ParseLine(std::string(text.substr(from, end - from))));
    from = next;
  }
  return doc;
}

std::string IniDocument::Text() const {
  std::string out = bom_ ? "\xEF\xBB\xBF" : "";
  for (const Line& l : lines_) out += l.raw + eol_;
  return out;
}

std::size_t IniDocument::Find(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Line::Section)
      inSection = rt::SameText(l.name, section);
    else if (inSection && l.kind == Line::Entry && rt::SameText(l.name, key))
      return i;
  }
  return std::string::npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const std::size_t i = Find(section, key);
  if (i == std::string::npos) return std::nullopt;
  return lines_[i].value;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::size_t found = Find(section, key);
  if (found != std::string::npos) {  // keep the spelling the file has
    lines_[found] = ParseLine(lines_[found].name + "=" + std::string(value));
    return;
  }
  std::string raw = std::string(key) + "=" + std::string(value);
  // After the last entry of the first matching section, so blank lines between sections stay.
  std::size_t at = std::string::npos;
  bool inSection = false, seen = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Line::Section) {
      if (seen && inSection) break;
      inSection = rt::SameText(l.name, section);
      if (inSection) {
        seen = true;
        at = i + 1;
      }
    } else if (inSection && l.kind == Line::Entry) {
      at = i + 1;
    }
  }
  if (at == std::string::npos) {
    if (!lines_.empty() && !TrimBlanks(lines_.back().raw).empty()) lines_.push_back(ParseLine(""));
    lines_.push_back(ParseLine("[" + std::string(section) + "]"));
    at = lines_.size();
  }
  lines_.insert(lines_.begin() + long(at), ParseLine(std::move(raw)));
}

bool IniDocument::Remove(std::string_view section, std::string_view key) {
  bool inSection = false, removed = false;
  std::vector<Line> kept;
  for (Line& l : lines_) {
    if (l.kind == Line::Section) inSection = rt::SameText(l.name, section);
    const bool drop = inSection && (key.empty() || (l.kind == Line::Entry && rt::SameText(l.name, key)));
    removed = removed || drop;
    if (!drop) kept.push_back(std::move(l));
  }
  lines_ = std::move(kept);
  return removed;
}

}  // namespace talvero
