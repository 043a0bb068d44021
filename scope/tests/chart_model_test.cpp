#include "scope/model/chart_model.h"

#include <gtest/gtest.h>

namespace scope {
namespace {

TEST(ChartModel, NiceTicksCoverTheDataOnOneTwoFiveSteps) {
  struct Case {
    double lo, hi, step, from, to;
  } cases[] = {
      {0, 1, 0.2, 0, 1},           {-56.9, 56.9, 20, -60, 60},  {3, 3, 0.1, 2.7, 3.3},  // flat trace
      {0, 0, 0.5, -1, 1},          {0.013, 0.047, 0.005, 0.01, 0.05},
  };
  for (const Case& c : cases) {
    const Ticks t = NiceTicks(c.lo, c.hi);
    EXPECT_DOUBLE_EQ(t.step, c.step) << c.lo << ".." << c.hi;
    EXPECT_NEAR(t.range.lo, c.from, 1e-9) << c.lo << ".." << c.hi;
    EXPECT_NEAR(t.range.hi, c.to, 1e-9) << c.lo << ".." << c.hi;
  }
}

TEST(ChartModel, PixelsMapToDataInsideThePlotOnly) {
  ChartModel m;
  m.SetData({0, 0.5, 1.0}, {0, 10, 20}, 1.0);
  m.SetPlot({10, 20, 101, 51});  // x 10..110, y 20..70
  auto p = m.PixelToData(60, 45);
  ASSERT_TRUE(p);
  EXPECT_DOUBLE_EQ(p->x, 0.5);
  EXPECT_DOUBLE_EQ(p->y, 10);
  EXPECT_FALSE(m.PixelToData(9, 45));
  EXPECT_FALSE(m.PixelToData(111, 45));
  EXPECT_FALSE(m.PixelToData(60, 71));
  EXPECT_DOUBLE_EQ(m.XToPixel(1.0), 110);
  EXPECT_DOUBLE_EQ(m.YToPixel(20), 20);
}

TEST(ChartModel, NearestSampleByTime) {
  ChartModel m;
  EXPECT_EQ(m.Nearest(0.3), -1);
  m.SetData({0, 0.1, 0.2, 0.3}, {1, 2, 3, 4}, 0.4);
  const std::pair<double, int> cases[] = {{-1, 0}, {0.04, 0}, {0.06, 1}, {0.15, 1}, {0.26, 3}, {5, 3}};
  for (auto [x, k] : cases) EXPECT_EQ(m.Nearest(x), k) << x;
}

TEST(ChartModel, ZoomNarrowsBothAxesUntilReset) {
  ChartModel m;
  m.SetData({0, 1}, {0, 100}, 1.0);
  m.Zoom({0.8, 0.2}, {10, 50});
  EXPECT_EQ(m.XRange(), (Range{0.2, 0.8}));
  EXPECT_EQ(m.YRange(), (Range{10, 50}));
  m.ResetZoom();
  EXPECT_EQ(m.XRange(), (Range{0, 1}));
  m.Zoom({0.5, 0.5}, {1, 2});  // an empty box changes nothing
  EXPECT_FALSE(m.Zoomed());
}

}  // namespace
}  // namespace scope
