#include <gtest/gtest.h>

#include "runtime/like.h"

namespace {

struct LikeCase {
  const char* text;
  const char* pattern;
  bool match;
};

TEST(Like, PatternsMatchAsTheLegacyOperator) {
  const LikeCase cases[] = {
      {"abc", "abc", true},
      {"abc", "ABC", false},  // binary compare: case counts
      {"", "", true},
      {"a", "", false},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"", "*", true},
      {"abc", "a*", true},
      {"abc", "*c", true},
      {"abc", "*b*", true},
      {"abc", "*d*", false},
      {"aXbXc", "a*b*c", true},
      {"abcbc", "*bc", true},  // the star must give characters back
      {"abcb", "*bc", false},
      {"abc", "a**c", true},
      {"ab", "a*?*b", false},
      {"a5", "a#", true},
      {"ab", "a#", false},
      {"0", "#", true},   // the ends of the digit range, and the characters just outside it
      {"9", "#", true},
      {"/", "#", false},
      {":", "#", false},
      {"b", "[abc]", true},
      {"d", "[abc]", false},
      {"d", "[!abc]", true},
      {"a", "[!abc]", false},
      {"m", "[a-z]", true},
      {"M", "[a-z]", false},
      {"7", "[0-35-9]", true},
      {"4", "[0-35-9]", false},
      {"-", "[a-]", true},
      {"-", "[-a]", true},
      {"b", "[a-]", false},
      {"[", "[[]", true},
      {"*", "[*]", true},
      {"x", "[*]", false},
      {"?", "[?]", true},
      {"#", "[#]", true},
      {"a]", "a]", true},
      {"ab", "a[]b", true},  // empty list takes no character
      {"x", "[!]", true},
      {"POS 100, 200", "POS *, *", true},
      {"X[1]", "X[[]1]", true},
      {"X[1]", "X[1]", false},
      {"\xC3\xA9", "?", true},  // one character, two bytes
      {"\xC3\xA9" "a", "?a", true},
      {"\xC3\xBC", "[\xC3\xA4\xC3\xB6\xC3\xBC]", true},
      {"\xC3\xA9", "??", false},
      {"\xFF" "a", "?a", true},  // a stray byte is one character too
  };
  for (const auto& c : cases)
    EXPECT_EQ(rt::Like(c.text, c.pattern), c.match) << '"' << c.text << "\" Like \"" << c.pattern << '"';
}

TEST(Like, MalformedPatternsMatchNothing) {
  const LikeCase cases[] = {
      {"[abc", "[abc", false},
      {"abc[", "abc[", false},
      {"a", "[a", false},
      {"anything", "*[", false},
      {"b", "[z-a]", false},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(rt::Like(c.text, c.pattern)) << c.pattern;
}

TEST(Like, LongRunsOfStarsStayFast) {
  // Naive backtracking would take exponential time here.
  const std::string text(2000, 'a');
  EXPECT_FALSE(rt::Like(text, "*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(rt::Like(text + "b", "*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
