#pragma once
// An INI text kept line by line, so that a save changes only the line it must and leaves
// comments, unknown sections and even garbage as they were.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvero {

class IniDocument {
 public:
  // Never fails: lines that are neither "[section]" nor "key=value" are kept but mean
  // nothing. Line ends may be LF, CR LF or CR alone; a UTF-8 byte-order mark is skipped
  // (and written back).
  static IniDocument Parse(std::string_view text);
  std::string Text() const;

  // Section and key compare case-blind (ASCII). The first match wins, also when a section
  // or a key appears twice. Values come back trimmed of blanks and tabs, otherwise verbatim.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Changes the line that Get reads, or adds the key at the end of the first matching
  // section, or a new section at the end of the text.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of the key in every matching section; an empty key removes the
  // sections themselves with all their lines. True when anything was removed.
  bool Remove(std::string_view section, std::string_view key);

 private:
  struct Line {
    std::string raw;
    enum Kind { Other, Section, Entry } kind = Other;
    std::string name;  // section name or key, trimmed
    std::string value; // trimmed value of an entry
  };
  static Line ParseLine(std::string raw);
  // Index of the entry line Get would read, or npos.
  std::size_t Find(std::string_view section, std::string_view key) const;

  std::vector<Line> lines_;
  std::string eol_ = "\n";  // as the file had it
  bool bom_ = false;         // the file began with a UTF-8 byte-order mark
};

}  // namespace talvero
