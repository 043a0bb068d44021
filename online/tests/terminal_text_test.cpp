// What the terminal sends and how it lists it.
#include <gtest/gtest.h>

#include "online/model/drive_text.h"
#include "online/model/terminal_text.h"

namespace online {
namespace {

TEST(TerminalTextTest, NodeBoxTakesOneOrTwoDigitsNotZero) {
  const struct {
    const char* text;
    std::optional<int> node;
  } cases[] = {
      {"5", 5}, {"05", 5}, {"99", 99}, {"1", 1},
      {"0", std::nullopt}, {"00", std::nullopt}, {"123", std::nullopt}, {"1a", std::nullopt},
      {"", std::nullopt}, {" 5", std::nullopt}, {"-1", std::nullopt}, {"+5", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalNode(c.text), c.node) << '"' << c.text << '"';
}

TEST(TerminalTextTest, LineCounterAndEntryDrawing) {
  EXPECT_EQ(TerminalLine(5, "VEL"), "[05]VEL");
  EXPECT_EQ(TerminalLine(31, ""), "[31]");
  EXPECT_EQ(CounterText(1), "0001 ");
  EXPECT_EQ(CounterText(32767), "32767 ");
  EXPECT_EQ(NextCounter(0), 1);
  EXPECT_EQ(NextCounter(32766), 32767);
  EXPECT_EQ(NextCounter(32767), 32767);
  EXPECT_EQ(VisibleControls("\nA\r\t\x7f\xc3\xa9"), "\u240a" "A\u240d\u2409\u2421\xc3\xa9");
  EXPECT_EQ(VisibleControls(std::string("a\0b", 3)), "a\u2400" "b");
}

TEST(TerminalTextTest, TypedTextAsDriveBytes) {
  DriveText t = ToDriveText("MILL \xe2\x82\xac 2");  // the euro sign is a Windows-1252 byte
  EXPECT_TRUE(t);
  EXPECT_EQ(t.bytes, "MILL \x80 2");
  EXPECT_EQ(ToDriveText("A\xe2\x9c\x93").problem, DriveTextProblem::Character);
  EXPECT_TRUE(ToDriveText(std::string(254, 'x'), 254));
  EXPECT_EQ(ToDriveText(std::string(255, 'x'), 254).problem, DriveTextProblem::TooLong);
}

}  // namespace
}  // namespace online
