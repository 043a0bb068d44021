#include <gtest/gtest.h>

#include "platform/help/help_file.h"

namespace {

using talvero::HelpFile;

const char* const kFixture =
    "# a comment\n"
    "stray text before any topic\n"
    "[7001] Contents\n"
    "keywords: overview; Contents\n"
    "KEYWORDS: start\n"
    "\n"
    "First line.\n"
    "\n"
    "\\[1234] not a header\n"
    "# not a comment here\n"
    "\n"
    "[8001]\r\n"
    "keywords: setup;;  drive setup  \r\n"
    "Set up.\r\n"
    "keywords: not an index line\r\n"
    "[abc] text too\n"
    "[12345678901] a number too long is text\n"
    "[7001] Second contents\n"
    "ignored\n"
    "[1005]Move\n";

TEST(HelpFile, TopicsParseWithTheirKeywordsAndText) {
  const HelpFile f = HelpFile::Parse(kFixture);
  ASSERT_EQ(f.Topics().size(), 3u);

  const auto* contents = f.Find(7001);
  ASSERT_NE(contents, nullptr);
  EXPECT_EQ(contents->title, "Contents");  // the later duplicate is ignored
  EXPECT_EQ(contents->keywords, (std::vector<std::string>{"overview", "Contents", "start"}));
  EXPECT_EQ(contents->text, "First line.\n\n[1234] not a header\n# not a comment here");

  const auto* setup = f.Find(8001);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(setup->title, "Topic 8001");
  EXPECT_EQ(setup->keywords, (std::vector<std::string>{"setup", "drive setup"}));
  EXPECT_EQ(setup->text,
            "Set up.\nkeywords: not an index line\n[abc] text too\n[12345678901] a number too long is text");

  ASSERT_NE(f.Find(1005), nullptr);
  EXPECT_EQ(f.Find(1005)->title, "Move");
  EXPECT_EQ(f.Find(1005)->text, "");
  EXPECT_EQ(f.Find(1234), nullptr);
  EXPECT_TRUE(HelpFile::Parse("").Topics().empty());
}

TEST(HelpFile, IndexMatchesTheStartsOfKeywordsAndOfTheirWordsCaseBlind) {
  const HelpFile f = HelpFile::Parse(kFixture);
  auto keywords = [&f](const char* prefix) {
    std::vector<std::string> out;
    for (const auto& e : f.Index(prefix)) out.push_back(e.keyword + "@" + std::to_string(e.context));
    return out;
  };
  EXPECT_EQ(keywords(""), (std::vector<std::string>{"Contents@7001", "drive setup@8001", "overview@7001",
                                                    "setup@8001", "start@7001"}));
  EXPECT_EQ(keywords("  S "), (std::vector<std::string>{"setup@8001", "start@7001", "drive setup@8001"}));
  EXPECT_EQ(keywords("SETUP"), (std::vector<std::string>{"setup@8001", "drive setup@8001"}));
  EXPECT_EQ(keywords("st"), (std::vector<std::string>{"start@7001"}));
  EXPECT_TRUE(keywords("etup").empty()) << "inside a word is no match";
  EXPECT_TRUE(keywords("zz").empty());
  EXPECT_EQ(f.Index("drive").front().title, "Topic 8001");
}

// What a user types finds a parameter by a word of its full name, and a
// topic by a word of its title when no keyword has it.
TEST(HelpFile, IndexFindsWordsOfNamesAndTitles) {
  const HelpFile f = HelpFile::Parse(
      "[1222] INER - Total Inertia\nkeywords: INER; Total Inertia\n"
      "[1223] LINR - Load Inertia Ratio\nkeywords: LINR; Load Inertia Ratio\n"
      "[1224] INPOS - In-Position Window\nkeywords: INPOS\n"
      "[8004] Working with KOVScope\nkeywords: scope; capture\n");
  auto found = [&f](const char* typed) {
    std::vector<std::string> out;
    for (const auto& e : f.Index(typed)) out.push_back(e.keyword + "@" + std::to_string(e.context));
    return out;
  };
  EXPECT_EQ(found("inertia"), (std::vector<std::string>{"Load Inertia Ratio@1223", "Total Inertia@1222"}));
  EXPECT_EQ(found("INER"), (std::vector<std::string>{"INER@1222", "Load Inertia Ratio@1223", "Total Inertia@1222"}));
  EXPECT_EQ(found("in"), (std::vector<std::string>{"INER@1222", "INPOS@1224", "Load Inertia Ratio@1223",
                                                  "Total Inertia@1222"}));
  EXPECT_EQ(found("position"), (std::vector<std::string>{"INPOS - In-Position Window@1224"}));
  EXPECT_EQ(found("working"), (std::vector<std::string>{"Working with KOVScope@8004"}));
  EXPECT_TRUE(found("ertia").empty());
}

TEST(HelpFile, AnExactKeywordComesBeforeLongerOnes) {
  const HelpFile f = HelpFile::Parse("[1] A\nkeywords: scope window; scope\n[2] B\nkeywords: scope axis\n");
  const auto entries = f.Index("Scope");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].keyword, "scope");
  EXPECT_EQ(entries[1].keyword, "scope axis");
  EXPECT_EQ(entries[2].keyword, "scope window");
}

}  // namespace
