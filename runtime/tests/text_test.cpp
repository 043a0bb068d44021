#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

TEST(Text, CaseChangesTouchTheLettersOfTheCodePage) {
  const struct {
    const char* lower;
    const char* upper;
  } pairs[] = {
      {"abz az 09_", "ABZ AZ 09_"},
      {"café", "CAFÉ"},
      {"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ", "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ"},
      {"ÿšœž", "ŸŠŒŽ"},
  };
  for (const auto& p : pairs) {
    EXPECT_EQ(rt::UCase(p.lower), p.upper);
    EXPECT_EQ(rt::LCase(p.upper), p.lower);
    EXPECT_TRUE(rt::SameText(p.lower, p.upper)) << p.lower;
  }
  // No letter, or no case in the code page, or no UTF-8: as it was.
  for (const char* kept : {"ß µ ÷ × € ı ª", "\xC3", "1\xC3", "\xC5\xFF", "[{"}) {
    EXPECT_EQ(rt::UCase(kept), kept);
    EXPECT_EQ(rt::LCase(kept), kept);
  }
  EXPECT_FALSE(rt::SameText("é", "e"));
  EXPECT_FALSE(rt::SameText("é", "É "));
  EXPECT_FALSE(rt::SameText("ab", "abc"));
  EXPECT_FALSE(rt::SameText("[", "{"));
  EXPECT_FALSE(rt::SameText("×", "÷"));
}

TEST(Text, TrimsRemoveBlanksOnly) {
  EXPECT_EQ(rt::Trim("  a b  "), "a b");
  EXPECT_EQ(rt::LTrim("  a b  "), "a b  ");
  EXPECT_EQ(rt::RTrim("  a b  "), "  a b");
  EXPECT_EQ(rt::Trim("\ta\r\n"), "\ta\r\n");
  EXPECT_EQ(rt::Trim("    "), "");
  EXPECT_EQ(rt::LTrim(""), "");
}

TEST(Text, ReplaceWorksLeftToRightWithoutRescanning) {
  EXPECT_EQ(rt::Replace("a~1b~1", "~1", "x"), "axbx");
  EXPECT_EQ(rt::Replace("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(rt::Replace("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(rt::Replace("abc", "", "x"), "abc");
  EXPECT_EQ(rt::Replace("abc", "b", ""), "ac");
  EXPECT_EQ(rt::Replace("abc", "abcd", "x"), "abc");
}

}  // namespace
