#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

TEST(Text, CaseChangesTouchAsciiLettersOnly) {
  EXPECT_EQ(rt::UCase("abz AZ 09_\xC3\xA4"), "ABZ AZ 09_\xC3\xA4");
  EXPECT_EQ(rt::LCase("ABZ az 09_\xC3\x84"), "abz az 09_\xC3\x84");
  EXPECT_TRUE(rt::SameText("Axis_1 z", "aXIS_1 Z"));
  EXPECT_FALSE(rt::SameText("\xC3\xA4", "\xC3\x84"));
  EXPECT_FALSE(rt::SameText("ab", "abc"));
  EXPECT_FALSE(rt::SameText("[", "{"));
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
