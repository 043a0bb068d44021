#include <gtest/gtest.h>

#include "runtime/int16.h"

TEST(Int16, CountersSaturateAtTheirCeiling) {
  EXPECT_EQ(rt::SaturatingIncrement(0), 1);
  EXPECT_EQ(rt::SaturatingIncrement(32766), 32767);
  EXPECT_EQ(rt::SaturatingIncrement(32767), 32767);
  EXPECT_EQ(rt::SaturatingIncrement(16383, 16384), 16384);
  EXPECT_EQ(rt::SaturatingIncrement(16384, 16384), 16384);
}

TEST(Int16, WordsSplitLowByteFirst) {
  EXPECT_EQ(rt::MakeWord(0x34, 0x12), 0x1234);
  EXPECT_EQ(rt::LowByte(0xABCD), 0xCD);
  EXPECT_EQ(rt::HighByte(0xABCD), 0xAB);
}
