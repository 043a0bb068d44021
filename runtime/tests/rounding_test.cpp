#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <cmath>

#include "runtime/rounding.h"

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {
      {0.5, 0},   {1.5, 2},        {2.5, 2},         {3.5, 4},    {-0.5, 0},
      {-2.5, -2}, {-3.5, -4},      {2.4999999, 2},   {2.5000001, 3}, {-2.6, -3},
      {7, 7},
  };
  for (const auto& [v, r] : cases) {
    EXPECT_EQ(rt::RoundHalfEven(v), r) << v;
    EXPECT_EQ(rt::CLng(v), int32_t(r)) << v;
  }
  EXPECT_EQ(rt::RoundHalfEven(4503599627370497.0), 4503599627370497.0);
  EXPECT_TRUE(std::isnan(rt::RoundHalfEven(std::nan(""))));
}

TEST(Rounding, ConversionsSaturateAndTakeNaNAsZero) {
  EXPECT_EQ(rt::CLng(3e9), INT32_MAX);
  EXPECT_EQ(rt::CLng(-3e9), INT32_MIN);
  EXPECT_EQ(rt::CLng(2147483647.5), INT32_MAX);
  EXPECT_EQ(rt::CLng(INFINITY), INT32_MAX);
  EXPECT_EQ(rt::CLng(std::nan("")), 0);
  EXPECT_EQ(rt::CInt(40000), 32767);
  EXPECT_EQ(rt::CInt(-40000), -32768);
  EXPECT_EQ(rt::CInt(32767.5), 32767);
  EXPECT_EQ(rt::CInt(-32768.5), -32768);
  EXPECT_EQ(rt::CInt(12.5), 12);
  EXPECT_EQ(rt::CInt(std::nan("")), 0);
}

TEST(Rounding, SinglesSaturateAtTheirRange) {
  EXPECT_EQ(rt::CSng(1e300), std::numeric_limits<float>::max());
  EXPECT_EQ(rt::CSng(-1e300), -std::numeric_limits<float>::max());
  EXPECT_EQ(rt::CSng(1.5), 1.5f);
  EXPECT_TRUE(std::isnan(rt::CSng(std::nan(""))));
}

TEST(Rounding, IntIsFloorAndFixTruncates) {
  EXPECT_EQ(rt::Int(2.7), 2);
  EXPECT_EQ(rt::Int(-2.5), -3);
  EXPECT_EQ(rt::Fix(-2.5), -2);
  EXPECT_EQ(rt::Fix(2.7), 2);
  EXPECT_EQ(rt::Int(2.95 + 0.1), 3);
}

}  // namespace
