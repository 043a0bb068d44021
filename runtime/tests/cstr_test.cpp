#include <gtest/gtest.h>

#include <cmath>

#include "runtime/cstr.h"

namespace {

TEST(CStr, SinglesKeepSevenDigits) {
  const std::pair<float, const char*> cases[] = {
      {0.0f, "0"},
      {-0.0f, "0"},
      {1.0f, "1"},
      {100.0f, "100"},
      {-1.5f, "-1.5"},
      {0.1f, "0.1"},
      {3.14159265f, "3.141593"},
      {0.0001f, "0.0001"},
      {0.000123456789f, "0.0001234568"},
      {1e-5f, "1E-05"},
      {-2.5e-6f, "-2.5E-06"},
      {1234567.0f, "1234567"},
      {12345678.0f, "1.234568E+07"},
      {1.5e7f, "1.5E+07"},
      {9999999.0f, "9999999"},
      {1e38f, "1E+38"},
  };
  for (const auto& [v, text] : cases) EXPECT_EQ(rt::CStrSingle(v), text) << text;
}

TEST(CStr, DoublesKeepFifteenDigits) {
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"},
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E+15"},
      {1e-5, "1E-05"},
      {-2.5e-6, "-2.5E-06"},
      {1e100, "1E+100"},
      {1.23e-100, "1.23E-100"},
      {9.9999999999999999, "10"},
      {0.1 + 0.2, "0.3"},
      {-1234.5, "-1234.5"},
  };
  for (const auto& [v, text] : cases) EXPECT_EQ(rt::CStrDouble(v), text) << text;
}

TEST(CStr, ValuesOutsideTheLegacyRangeHaveNames) {
  EXPECT_EQ(rt::CStrDouble(std::nan("")), "NaN");
  EXPECT_EQ(rt::CStrDouble(-INFINITY), "-Inf");
  EXPECT_EQ(rt::CStrSingle(INFINITY), "Inf");
}

}  // namespace
