#include <gtest/gtest.h>

#include "mainwin/model/units_list.h"

namespace {

TEST(UnitsList, NamesAndIndexesGoBothWays) {
  ASSERT_EQ(talvero::UnitsList.size(), 7u);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(talvero::FindUU(talvero::UnitsName(i)), i);
  EXPECT_EQ(talvero::FindUU("mm"), 4);
  EXPECT_EQ(talvero::FindUU("table rev"), 6);
  // Exact comparison: anything else is the default.
  for (const char* other : {"MM", "", "mm ", "furlong"}) EXPECT_EQ(talvero::FindUU(other), 5) << other;
  EXPECT_EQ(talvero::UnitsName(-1), "");
  EXPECT_EQ(talvero::UnitsName(7), "");
}

}  // namespace
