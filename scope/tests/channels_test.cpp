#include "scope/model/channels.h"

#include <gtest/gtest.h>

namespace scope {
namespace {

TEST(Channels, SuffixPerChannelWithTheUnitWhereItBelongs) {
  const char* expected[kChannels] = {" (volts)", " (rev)", " (rev/sec)", " (rev/sec/sec)", " (rev)",
                                     " (rev/sec)", " (rev)", " (amps)", " (RPM)", "", "", "", " rev/sec", "", ""};
  for (int c = 0; c < kChannels; ++c) EXPECT_EQ(UnitSuffix(c, "rev"), expected[c]) << "channel " << c;
  EXPECT_EQ(ChannelCaption(9) + UnitSuffix(9, "mm"), "PID Reference");
  EXPECT_EQ(ChannelCaption(14), "GRF2");
}

TEST(Channels, TimebaseListGivesFifteenItemsAndTheirCodes) {
  const auto items = SplitList(kTimebaseList);
  ASSERT_EQ(items.size(), 15u);  // the trailing comma starts no item
  EXPECT_EQ(items.front(), "0.1");
  EXPECT_EQ(items.back(), "25.0");
  const std::pair<const char*, int> codes[] = {{"0.1", 1}, {"0.3", 3}, {"0.8", 8}, {"2.5", 25}, {"25.0", 250}};
  for (auto [caption, code] : codes) EXPECT_EQ(TimebaseCode(caption), code) << caption;
  EXPECT_EQ(SplitList("a,,b"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(Channels, UnitIndexIsRoundedThenRangeTested) {
  const std::pair<float, const char*> cases[] = {
      {5.0f, "system-rev"}, {4.6f, "system-rev"}, {6.4f, "table rev"}, {6.6f, "cm"},  // rounds to 7
      {7.0f, "cm"},         {-1.0f, "cm"},        {-0.4f, "cm"},        {0.5f, "cm"},  // half to even
      {1.5f, "inch"},       {2.5f, "inch"}};
  for (auto [index, name] : cases) EXPECT_EQ(UnitNameFromIndex(index), name) << index;
}

}  // namespace
}  // namespace scope
