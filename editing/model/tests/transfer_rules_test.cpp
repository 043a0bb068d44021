#include "editing/model/transfer_rules.h"

#include <gtest/gtest.h>

namespace {

using talvero::DriveLibraryName;

TEST(TransferRules, DriveLibraryNames) {
  struct Case {
    const char* text;
    const char* name;
    bool valid;
    bool tooLong;
    const char* sent;
  };
  const Case cases[] = {
      {"jog 2", "JOG 2", true, false, "JOG 2"},
      {"  home_1 ", "HOME_1", true, false, "HOME_1"},
      {"pick-up", "PICK-UP", false, false, "PICK-UP"},
      {"a*", "A*", false, false, "A*"},
      {"   ", "", false, false, ""},
      {"abcdefghij", "ABCDEFGHIJ", true, true, "ABCDEFGH"},
      {"12345678", "12345678", true, false, "12345678"},
      {"Zürich", "ZÜRICH", false, false, "ZÜRICH"},
  };
  for (const Case& c : cases) {
    const auto r = DriveLibraryName(c.text);
    EXPECT_EQ(r.name, c.name) << c.text;
    EXPECT_EQ(r.valid, c.valid) << c.text;
    EXPECT_EQ(r.tooLong, c.tooLong) << c.text;
    if (c.valid) {
      EXPECT_EQ(r.Sent(), c.sent) << c.text;
    }
  }
}

TEST(TransferRules, ProgressRunsTo255WithoutOverflow) {
  EXPECT_EQ(talvero::TransferProgress(1, 200), 1);
  EXPECT_EQ(talvero::TransferProgress(199, 200), 253);
  EXPECT_EQ(talvero::TransferProgress(200, 200), 255);
  // k * 255 would overflow 32 bits here.
  EXPECT_EQ(talvero::TransferProgress(20000000, 20000000), 255);
  EXPECT_EQ(talvero::TransferProgress(0, 0), 0);
}

TEST(TransferRules, OnlyNumbersAreSentToADrive) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"1.5E3", "1500"}, {" 7 ", "7"}, {"-0.25", "-0.25"}, {"0", "0"},
      {"abc", std::nullopt}, {"12abc", std::nullopt}, {"", std::nullopt}, {" ", std::nullopt},
  };
  for (const auto& [text, sent] : cases) EXPECT_EQ(talvero::DriveNumberText(text), sent) << text;
}

}  // namespace
