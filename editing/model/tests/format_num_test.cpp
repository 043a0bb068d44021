#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "editing/model/format_num.h"

namespace {

struct Case {
  double value;
  const char* fmt;
  const char* text;
};

TEST(FormatNum, PicturesAndEnumerationCodes) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {2.95, "1", "Brush DC"},  // 2.95 + 0.1 = 3.05
      {2.85, "1", "Induction"},
      {0, "1", "Variable-Frequency"},
      {5, "1", "Brushless (ignore Halls)"},
      {6, "1", ""},
      {0, "2", "Opto Input"},
      {3, "2", "Parameter SWE"},
      {0, "3", "Velocity"},
      {6, "3", "Open Loop"},
      {1, "4", "Digital"},
      {0, "5", "Inactive"},
      {1, "5", "Active"},
      {6, "5", ""},
      {3, "10", "Encoder w/Z-Commutation"},
      {2, "11", "30 kHz"},
      {2, "12", "Closed Loop"},
      {0, "13", "0.45 : 1"},
      {1, "13", "1 : 1"},
      {-0.2, "5", ""},  // Int(-0.1) is -1
      {-0.05, "5", "Inactive"},
      {nan, "5", ""},
      {1, "6", ""},     // no such code
      {1, "", ""},
      {1, " 5", ""},    // codes compare as exact text
      {1234.5, "#0.00", "1234.50"},
      {0.5, "#0.0", "0.5"},
      {-3, "#0", "-3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(talvero::FormatNum(c.value, c.fmt), c.text) << c.value << " " << c.fmt;
}

}  // namespace
