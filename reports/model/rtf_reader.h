#pragma once
// Reads back the RTF the reports write, into paragraphs of formatted runs,
// for the viewer. Only that subset is understood: groups, the font table,
// \deff, \f, \fs, \b, \i, \plain, \par, \qc / \ql, \emdash, \bullet, \tab,
// \'hh (Windows-1252), \uN with its fallback, \\ \{ \}. Unknown words and
// {\* } groups are skipped; nothing in the input makes reading fail.
#include <string>
#include <string_view>
#include <vector>

namespace reports {

struct RtfCharFormat {
  std::string font;     // the font table's name, "" when the table has none
  int halfPoints = 24;  // \fs
  bool bold = false;
  bool italic = false;
  bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
  std::string text;  // UTF-8
  RtfCharFormat format;
};

struct RtfParagraph {
  bool centred = false;
  std::vector<RtfRun> runs;
  RtfCharFormat end;  // the format where it ends: the height of an empty line
  std::string Text() const;
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;
  // The paragraphs' texts, each ended by a line feed.
  std::string PlainText() const;
};

RtfDocument ReadRtf(std::string_view rtf);

}  // namespace reports
