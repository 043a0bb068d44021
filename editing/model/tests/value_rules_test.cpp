#include <gtest/gtest.h>

#include "editing/model/value_rules.h"

namespace {

using namespace talvero;

TEST(ValueRules, RowTextAndItalics) {
  EXPECT_EQ(ParameterRowText("Command Mode", "CM", "Position", std::nullopt), "Command Mode (CM)\tPosition ");
  EXPECT_EQ(ParameterRowText("Peak Current", "IPEAK", "4.50", std::string("amps")),
            "Peak Current (IPEAK)\t4.50 amps");
  EXPECT_TRUE(ParameterRowItalic(std::string("N"), false));
  EXPECT_FALSE(ParameterRowItalic(std::string("N"), true));  // service mode
  EXPECT_FALSE(ParameterRowItalic(std::nullopt, false));
  EXPECT_FALSE(ParameterRowItalic(std::string("Y"), false));
}

TEST(ValueRules, OutOfRangeBoxShowsSingleLimitsAsTyped) {
  const MessageBox box = OutOfRangeBox("KP", 0.1f, 100.0f, "#0.000");
  EXPECT_EQ(box.text, "Error: parameter is out of range\n\nMinimum = 0.100\nMaximum = 100.000");
  EXPECT_EQ(box.title, "KP: Out of range....");
  EXPECT_EQ(box.buttons, Buttons::OkCancel);
  EXPECT_EQ(box.icon, Icon::None);
  // A single's 0.1 is 0.100000001490116...: 7 digits first, so the picture's
  // rounding sees 0.1.
  EXPECT_EQ(LimitText(0.1f, "#0.00000000"), "0.10000000");
  EXPECT_EQ(LimitText(-2147483648.0f, "#0"), "-2147484000");
  EXPECT_TRUE(WithinLimits(100, 0, 100));
  EXPECT_TRUE(WithinLimits(0, 0, 100));
  EXPECT_FALSE(WithinLimits(100.001f, 0, 100));
}

TEST(ValueRules, EnumerationIndexRoundsHalfToEven) {
  EXPECT_EQ(EnumerationIndex(1, 2), 1);
  EXPECT_EQ(EnumerationIndex(0.5, 2), 0);
  EXPECT_EQ(EnumerationIndex(1.5, 7), 2);
  EXPECT_EQ(EnumerationIndex(2.5, 7), 2);
  EXPECT_EQ(EnumerationIndex(2, 2), std::nullopt);
  EXPECT_EQ(EnumerationIndex(-1, 2), std::nullopt);
  EXPECT_EQ(EnumerationIndex(-0.5, 2), 0);
}

TEST(ValueRules, TypedNumbersAndRatios) {
  struct Case {
    const char* text;
    bool number;
    float ratio;  // 0: refused
  };
  const Case cases[] = {
      {"12.5", true, 12.5f}, {" 3 ", true, 3},    {"1E3", true, 1000}, {"-2", true, 0},
      {"0", true, 0},        {"1E39", true, 0},   {"1E-50", true, 0},  {"2*3", false, 0},
      {"PPG", false, 0},     {"", false, 0},      {"4x", false, 0},    {".5", true, 0.5f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPlainNumber(c.text), c.number) << c.text;
    EXPECT_EQ(TransmissionRatio(c.text).value_or(0), c.ratio) << c.text;
  }
  EXPECT_TRUE(SameSingle(0.1, 0.1f));
  EXPECT_FALSE(SameSingle(1, 1.001));
}

TEST(ValueRules, OnlyEvaluatedOperandsMustBeExpressions) {
  for (const char* label : {"Condition", "Position", "Input", "Period (sec)"})
    EXPECT_TRUE(OperandIsExpression(label)) << label;
  for (const char* label : {"Label", "Command", ""}) EXPECT_FALSE(OperandIsExpression(label)) << label;
}

}  // namespace
