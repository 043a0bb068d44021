#include "link/fault_word.h"

#include <gtest/gtest.h>

namespace {

TEST(FaultWord, ReadingsAsTheirThirtyTwoBits) {
  const struct {
    const char* text;
    uint32_t word;
  } cases[] = {
      {"33", 33u},
      {"  1073741824.0", 1u << 30},
      {"-2147483647", 0x80000001u},  // bits 0 and 31
      {"-1", 0xFFFFFFFFu},
      {"4294967295", 0xFFFFFFFFu},
      {"2.5", 2u},  // halves to even
      {"4294967296", 0u},  // more than 32 bits: no word
      {"-2147483649", 0u},
      {"1e20", 0u},
      {"abc", 0u},
  };
  for (const auto& c : cases) EXPECT_EQ(DriveWord(c.text), c.word) << c.text;
}

TEST(FaultWord, CodesAreTheSetBitsUpToTwentyNine) {
  EXPECT_EQ(FaultCodes("33"), (std::vector<int>{0, 5}));
  EXPECT_EQ(FaultCodes("-2147483647"), std::vector<int>{0});
  EXPECT_EQ(FaultCodes("536870912"), std::vector<int>{29});
  EXPECT_EQ(FaultCodes("1073741824"), std::vector<int>{}) << "bit 30 is no fault";
  EXPECT_EQ(FaultCodes("-1").size(), 30u);
  EXPECT_EQ(FaultCodes("0"), std::vector<int>{});
}

}  // namespace
