#include <gtest/gtest.h>

#include "editing/model/list_metrics.h"

namespace {

using talvero::ParameterViewMetrics;
using talvero::ProgramViewMetrics;

TEST(ListMetrics, ColumnsAndRowsFollowTheFontSize) {
  struct Case {
    double points;
    int suTab1, otherTab1, row;
  };
  const Case cases[] = {
      {8.25, 2433, 2846, 249},
      {10, 2950, 3450, 302},
      {8.24996, 2433, 2846, 249},  // the font object keeps 4 decimals
      {12, 3540, 4140, 363},
  };
  for (const Case& c : cases) {
    const auto su = ParameterViewMetrics(c.points, "SU1");
    const auto sm = ParameterViewMetrics(c.points, "SM-2,1");
    EXPECT_EQ(su.tab0, 24);
    EXPECT_EQ(su.tab1, c.suTab1) << c.points;
    EXPECT_EQ(sm.tab1, c.otherTab1) << c.points;
    EXPECT_EQ(su.rowHeight, c.row) << c.points;
    const auto pgm = ProgramViewMetrics(c.points);
    EXPECT_EQ(pgm.tab0, 240);
    EXPECT_EQ(pgm.tab1, -1);  // the program view leaves column 1 alone
    EXPECT_EQ(pgm.rowHeight, c.row);
  }
  // A half goes to the even neighbour before the division: 4.25 x 242 = 1028.5.
  EXPECT_EQ(talvero::ScaledWidth(4.25, 242), 1028 / 8);
  EXPECT_EQ(talvero::ScaledWidth(4.75, 242), 1150 / 8);  // 1149.5 -> 1150
}

}  // namespace
