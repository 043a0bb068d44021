#include <gtest/gtest.h>

#include <cfloat>

#include "runtime/val.h"

namespace {

struct ValCase {
  const char* text;
  double value;
  std::size_t length;
};

TEST(Val, TakesTheLongestLeadingNumber) {
  const ValCase cases[] = {
      {"", 0, 0},
      {"abc", 0, 0},
      {"12", 12, 2},
      {"  12abc", 12, 4},
      {"\t7", 7, 2},
      {"-3.5e2x", -350, 6},
      {"+.5", 0.5, 3},
      {"5.", 5, 2},
      {".", 0, 0},
      {"-", 0, 0},
      {"-.", 0, 0},
      {"1.2.3", 1.2, 3},
      {"1E", 1, 1},  // an exponent without digits is not part of the number
      {"1e+", 1, 1},
      {"1E+5x", 1e5, 4},
      {"2E-3", 0.002, 4},
      {"1,5", 1, 1},
      {"12 34", 12, 2},
      {"    123.4500", 123.45, 12},
      {"-0.25 V", -0.25, 5},
      {"E5", 0, 0},
      {"1e999", DBL_MAX, 5},
      {"-1e999", -DBL_MAX, 6},
      {"1e-999", 0, 6},
      {"0e999", 0, 5},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(rt::Val(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(rt::LeadingNumberLength(c.text), c.length) << '"' << c.text << '"';
  }
}

TEST(Val, HugeDigitRunsWithoutExponentKeepTheirMagnitude) {
  EXPECT_EQ(rt::Val(std::string(400, '9')), DBL_MAX);
  EXPECT_EQ(rt::Val("0." + std::string(400, '0') + "1"), 0.0);
}

}  // namespace
