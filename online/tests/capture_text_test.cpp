// The special capture's text file.
#include <gtest/gtest.h>

#include "online/model/capture_text.h"

namespace online {
namespace {

std::string LE(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    const uint16_t u = uint16_t(int16_t(v));
    out += char(u & 0xFF);
    out += char(u >> 8);
  }
  return out;
}

TEST(CaptureTextTest, AllOnesGiveTwoHundredLinesOfMinusOne) {
  const std::string text = CaptureText(std::string(kCaptureBytes, '\xFF'));
  const std::string line = "-1 ,-1 ,-1 ,-1 ,-1 ,-1 ,-1 ,-1  \r\n";
  std::string expected;
  for (int i = 0; i < 200; ++i) expected += line;
  EXPECT_EQ(text.size(), 6800u);
  EXPECT_EQ(text, expected);
}

TEST(CaptureTextTest, SignsDigitsAndSeparators) {
  EXPECT_EQ(CaptureText(LE({12, -3, 0, 32767, -32768, 1, -1, 256})),
            " 12 ,-3 , 0 , 32767 ,-32768 , 1 ,-1 , 256  \r\n");
  // Blocks in order; a partial block at the end is left out.
  EXPECT_EQ(CaptureText(LE({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17})),
            " 1 , 2 , 3 , 4 , 5 , 6 , 7 , 8  \r\n 9 , 10 , 11 , 12 , 13 , 14 , 15 , 16  \r\n");
}

}  // namespace
}  // namespace online
