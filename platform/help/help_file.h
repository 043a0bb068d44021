#pragma once
// The help text file "talvero.help": plain UTF-8 text, one topic after another.
//
//   # Lines starting with "#" before the first topic are comments.
//   [7001] Contents
//   keywords: overview; contents; getting started
//   Any lines of text, blank lines included, up to the next topic header.
//   \[1234] a line starting with a backslash loses it, so a text line may look like a header.
//
// A topic header is "[" context number "]" and an optional title (a missing title reads
// "Topic <number>"). Lines starting with "keywords:" right below the header (any number)
// list the topic's index entries, separated by ";". Leading and trailing blank lines of a
// text are dropped. A later topic with a number already used is ignored.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvero {

struct HelpTopic {
  int context = 0;
  std::string title;
  std::vector<std::string> keywords;
  std::string text;  // lines joined by "\n"
};

struct HelpIndexEntry {
  std::string keyword;
  int context = 0;
  std::string title;
};

class HelpFile {
 public:
  static HelpFile Parse(std::string_view text);

  const std::vector<HelpTopic>& Topics() const { return topics_; }
  const HelpTopic* Find(int context) const;
  // Index entries whose keyword, or a word inside it, starts with prefix (case-blind,
  // blanks around it ignored; an empty prefix lists them all); a topic none of whose
  // keywords match is listed by its title when that or a word inside it does. An entry
  // equal to the prefix comes first, then those that start with it, then those with a
  // word that does; each group sorted by keyword, then by context.
  std::vector<HelpIndexEntry> Index(std::string_view prefix) const;

 private:
  std::vector<HelpTopic> topics_;
};

}  // namespace talvero
