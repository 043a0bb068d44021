#include <gtest/gtest.h>

#include "link/link_text.h"

namespace {

TEST(LeadingNumber, TakesTheLongestNumberAtTheStart) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"      12.500", 12.5}, {"-3.25E+2xx", -325}, {"+3", 3},        {".5", 0.5},
      {"5.", 5},              {"1.5E", 1.5},        {"1e5x", 100000}, {"2.5,-10", 2.5},
      {"", 0},                {"-", 0},             {"abc", 0},       {"  -.", 0},
      {"7 8", 7},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(linktext::LeadingNumber(c.text), c.value) << c.text;
}

TEST(LinkText, TrimsBlanksAndUpperCasesLatinLetters) {
  EXPECT_EQ(linktext::Trim("  a b  "), "a b");
  EXPECT_EQ(linktext::Trim("   "), "");
  EXPECT_EQ(linktext::Trim("\tx"), "\tx");  // only blanks
  EXPECT_EQ(linktext::UpperCase("kp=1.5e3 \xE9\xFF\xF7"), "KP=1.5E3 \xC9\x9F\xF7");
}

}  // namespace
