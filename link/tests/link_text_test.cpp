#include <gtest/gtest.h>

#include "link/link_text.h"

namespace {

TEST(LinkText, UpperCasesLatinLetters) {
  EXPECT_EQ(linktext::UpperCase("kp=1.5e3 \xE9\xFF\xF7"), "KP=1.5E3 \xC9\x9F\xF7");
}

}  // namespace
