#include "mainwin/model/main_layout.h"

#include <gtest/gtest.h>

namespace talvero {
namespace {

LayoutInput Window(double W, double H, double mon1Top) {
  LayoutInput in;
  in.W = W;
  in.H = H;
  in.mon1Top = mon1Top;
  return in;
}

RectSet At(const Layout& l, const char* name) {
  const auto* c = l.Find(name);
  EXPECT_NE(c, nullptr) << name;
  return c ? c->rect : RectSet{};
}

TEST(MainLayout, FontsGrowWithTheWidth) {
  struct Case {
    double W;
    int tree, list;
  } cases[] = {{7305, 6, 6},   {9600, 8, 8},   {12000, 10, 10}, {14399, 10, 10},
               {14400, 12, 12}, {16800, 14, 14}, {19199, 14, 14}, {19200, 16, 14},
               {30000, 24, 14}};
  for (const auto& c : cases) {
    auto l = ComputeLayout(Window(c.W, 6000, 5000));
    EXPECT_EQ(l.treeFontPt, c.tree) << c.W;
    EXPECT_EQ(l.listFontPt, c.list) << c.W;
  }
}

TEST(MainLayout, NeverBelowTheMinimum) {
  auto small = ComputeLayout(Window(6000, 5000, 4000));
  EXPECT_EQ(small.W, 7305);
  EXPECT_EQ(small.H, 5475);
  auto exact = ComputeLayout(Window(7305, 5475, 4000));
  EXPECT_EQ(exact.W, 7305);
  EXPECT_EQ(exact.H, 5475);
  EXPECT_DOUBLE_EQ(*At(exact, "Sys").height, 5475 * 0.7);
}

TEST(MainLayout, ColumnsFromTheWindowSize) {
  const auto l = ComputeLayout(Window(10585, 10000, 9000));
  struct Expect {
    const char* name;
    double left, top, width, height;
  } want[] = {
      {"Sys", 120, 120, 4000, 7000},
      {"EditList", 4585, 120, 5760, 8565},
      {"StatStrip", 4585, 120, 5760, 8565},
      {"Prog", 4585, 8730, 5760, 240},
      {"Watch", 120, 7165, 4000, 1805},
      {"BtnRS", 4165, 120, 375, 375},
      {"ShowScope", 4165, 1620, 375, 375},
      {"Toggle", 4165, 2280, 375, 375},
      {"BrakeAll", 4165, 4140, 375, 375},
      {"Mon1", 0, 9000, 10585, 255},
  };
  for (const auto& w : want) {
    SCOPED_TRACE(w.name);
    auto r = At(l, w.name);
    EXPECT_DOUBLE_EQ(*r.left, w.left);
    EXPECT_DOUBLE_EQ(*r.top, w.top);
    EXPECT_DOUBLE_EQ(*r.width, w.width);
    EXPECT_DOUBLE_EQ(*r.height, w.height);
  }
  EXPECT_DOUBLE_EQ(l.lineX2, 10570);
  EXPECT_EQ(l.Find("GS_stat"), nullptr);  // no tab shown, no tab contents moved
  EXPECT_EQ(l.Find("IN(0)"), nullptr);
}

TEST(MainLayout, GapsHoldAtEverySize) {
  for (double W : {7305.0, 8000.0, 12345.0, 28800.0}) {
    for (double H : {5475.0, 9000.0, 16200.0}) {
      SCOPED_TRACE(std::to_string(W) + "x" + std::to_string(H));
      const auto l = ComputeLayout(Window(W, H, H - 850));
      const auto sys = At(l, "Sys"), list = At(l, "EditList"), prog = At(l, "Prog");
      const double treeRight = *sys.left + *sys.width;
      EXPECT_NEAR(*At(l, "Btn1").left - treeRight, 45, 0.5);
      EXPECT_DOUBLE_EQ(*list.left - treeRight, 465);
      EXPECT_DOUBLE_EQ(W - (*list.left + *list.width), 240);
      EXPECT_DOUBLE_EQ(*prog.top - (*list.top + *list.height), 45);
      EXPECT_GE(*At(l, "Watch").height, 60);
    }
  }
}

TEST(MainLayout, LampsOfTheInputsFrame) {
  auto cells = LampCells(4000, 900, 9, 9);
  ASSERT_EQ(cells.size(), 9u);
  EXPECT_DOUBLE_EQ(cells[8].left, 325);
  EXPECT_DOUBLE_EQ(cells[0].left, 3525);
  for (const auto& c : cells) {
    EXPECT_DOUBLE_EQ(c.size, 200);
    EXPECT_DOUBLE_EQ(c.top, 383.75);
  }
  // One lamp shown is laid out as two; a low frame bounds the lamp size.
  EXPECT_EQ(LampCells(4000, 900, 1, 9).size(), 2u);
  EXPECT_EQ(LampCells(4000, 900, 0, 9).size(), 2u);
  EXPECT_EQ(LampCells(4000, 900, 20, 12).size(), 12u);
  EXPECT_DOUBLE_EQ(LampCells(4000, 300, 2, 9)[0].size, 150);
}

TEST(MainLayout, LegendSwatchesAndLabels) {
  // The frame at its design size: the design places themselves.
  LegendLayout l = LegendPlaces(2835, 1515);
  ASSERT_EQ(l.swatches.size(), 4u);
  ASSERT_EQ(l.labels.size(), 4u);
  for (size_t k = 0; k < 4; ++k) {
    const LegendPlace &sw = l.swatches[k], &lab = l.labels[k];
    EXPECT_DOUBLE_EQ(sw.left, 900);
    EXPECT_DOUBLE_EQ(sw.top, 405 + 240.0 * k);
    EXPECT_DOUBLE_EQ(sw.width, 120);
    EXPECT_DOUBLE_EQ(sw.height, 120);
    EXPECT_DOUBLE_EQ(lab.left, 1140);
    EXPECT_DOUBLE_EQ(lab.top, 360 + 240.0 * k);
    EXPECT_DOUBLE_EQ(lab.width, 1635);
    EXPECT_DOUBLE_EQ(lab.height, 195);
  }
  EXPECT_DOUBLE_EQ(l.textHeight, 195);

  // Stretched three times as wide and twice as high: square swatches twice the
  // size, centred where the design centres them; labels beside them, inside
  // the frame, their text as high as twice the design's.
  l = LegendPlaces(3 * 2835, 2 * 1515);
  for (size_t k = 0; k < 4; ++k) {
    const LegendPlace &sw = l.swatches[k], &lab = l.labels[k];
    EXPECT_DOUBLE_EQ(sw.width, 240);
    EXPECT_DOUBLE_EQ(sw.height, 240);
    EXPECT_DOUBLE_EQ(sw.left + sw.width / 2, 3 * 960);
    EXPECT_DOUBLE_EQ(sw.top + sw.height / 2, 2 * (465 + 240.0 * k));
    EXPECT_DOUBLE_EQ(lab.left, 3 * 1140);
    EXPECT_GT(lab.left, sw.left + sw.width);
    EXPECT_LE(lab.left + lab.width, 3 * 2835);
    EXPECT_DOUBLE_EQ(lab.top, 2 * (360 + 240.0 * k));
  }
  EXPECT_DOUBLE_EQ(l.textHeight, 390);
  // A tall, narrow frame: the width bounds the swatches and the text.
  l = LegendPlaces(2835, 4 * 1515);
  EXPECT_DOUBLE_EQ(l.swatches[0].width, 120);
  EXPECT_DOUBLE_EQ(l.textHeight, 195);
}

TEST(MainLayout, OnlyTheShownTabIsArranged) {
  auto in = Window(10585, 10000, 9000);  // status strip 5760 x 8565
  in.statStripVisible = true;
  in.tabRowHeight = 360;
  in.textHeight = [](int pt) { return pt * 23.0; };

  in.currentTab = "IO";
  auto io = ComputeLayout(in);
  for (const char* absent : {"GS_stat", "DriveReset", "FaultList", "UV_Select", "Frame1"})
    EXPECT_EQ(io.Find(absent), nullptr) << absent;
  auto legend = At(io, "LegendFrame");
  EXPECT_DOUBLE_EQ(*legend.width, 4800);
  EXPECT_DOUBLE_EQ(*legend.left, 480);
  EXPECT_DOUBLE_EQ(*legend.top, 1180 / 1.5);  // u = whole(1180.5): halves go to the even neighbour
  EXPECT_DOUBLE_EQ(*legend.height, 2855);
  auto inputs = At(io, "InputsFrame");
  EXPECT_DOUBLE_EQ(*inputs.top, 1180 / 1.5 + 2855 + 1180 / 3.0);
  EXPECT_DOUBLE_EQ(*inputs.height, 1713);
  EXPECT_EQ(io.inputLamps, 9);
  EXPECT_EQ(io.outputLamps, 12);
  EXPECT_DOUBLE_EQ(*At(io, "IN(8)").left, LampCells(4800, 1713, 9, 9)[8].left);
  EXPECT_DOUBLE_EQ(*At(io, "OUT(0)").top, LampCells(4800, 1713, 12, 12)[0].top);
  EXPECT_EQ(io.Find("IN(8)")->container, "InputsFrame");
  EXPECT_EQ(io.Find("Label3")->container, "LegendFrame");
  // The legend stretched by 4800 / 2835 and 2855 / 1515: its text may take
  // whole(195 * 1.693) = 330; 14 * 23 fits, 15 * 23 does not.
  EXPECT_EQ(io.legendFontPt, 14);
  EXPECT_EQ(io.Find("isforcedon")->container, "LegendFrame");
  EXPECT_DOUBLE_EQ(*At(io, "ison").width, *At(io, "ison").height);
  EXPECT_GT(*At(io, "Label2").left, *At(io, "ison").left + *At(io, "ison").width);

  in.currentTab = "General";
  auto general = ComputeLayout(in);
  auto gs = At(general, "GS_stat");
  EXPECT_DOUBLE_EQ(*gs.width, 5184);
  EXPECT_DOUBLE_EQ(*gs.left, 2880 - 2592);
  EXPECT_DOUBLE_EQ(*gs.top, 540);
  EXPECT_DOUBLE_EQ(*gs.height, (8565 - 360 - 375 - 180) * 0.95);
  auto reset = At(general, "DriveReset");
  EXPECT_DOUBLE_EQ(*reset.top, 540 + *gs.height + 90);
  EXPECT_DOUBLE_EQ(*reset.left, 2880 - 607);  // half(1215): the remainder dropped
  EXPECT_FALSE(reset.width.has_value());
  EXPECT_EQ(general.Find("LegendFrame"), nullptr);
  EXPECT_EQ(general.legendFontPt, 0);

  in.currentTab = "Faults";
  auto faults = At(ComputeLayout(in), "FaultList");
  EXPECT_DOUBLE_EQ(*faults.width, 5472);
  EXPECT_DOUBLE_EQ(*faults.left, 2880 - 2736);
  EXPECT_DOUBLE_EQ(*faults.height, 8205 * 0.95);

  in.currentTab = "Variables";
  auto vars = ComputeLayout(in);
  auto uv = At(vars, "UV_Select");
  EXPECT_DOUBLE_EQ(*uv.height, 8565 - 360 - 615 - 855 - 375 - 520);
  EXPECT_DOUBLE_EQ(*At(vars, "AddUV").top, 540 + *uv.height + 90);
  EXPECT_DOUBLE_EQ(*At(vars, "DeleteUV").left, *uv.left + *uv.width - 855);
  EXPECT_DOUBLE_EQ(*At(vars, "Frame1").top, *At(vars, "AddUV").top + 375 + 60);
  EXPECT_DOUBLE_EQ(*At(vars, "Frame2").top, *At(vars, "Frame1").top + 615 + 90);
  EXPECT_DOUBLE_EQ(*At(vars, "UV_NV").width, *uv.width - 240);
  EXPECT_EQ(vars.Find("UV_PV")->container, "Frame1");

  in.currentTab = "io";  // captions compared exactly
  EXPECT_EQ(ComputeLayout(in).Find("LegendFrame"), nullptr);
}

TEST(PixelLayout, ConvertsAtTheScreensDpi) {
  for (double dpi : {96.0, 144.0}) {
    SCOPED_TRACE(dpi);
    PixelLayoutInput in;
    in.metrics.dpi = dpi;
    in.clientWidthPx = 1600;
    in.clientHeightPx = 900;
    auto l = ComputePixelLayout(in);
    const double tpp = 1440 / dpi;
    EXPECT_DOUBLE_EQ(l.twips.W, (1600 + 8) * tpp);
    const auto& list = l.Find("EditList")->rect;
    // 240 twips short of the outer width, the border's share taken off.
    EXPECT_EQ(*list.left + *list.width, int(1600 + 8 - 240 / tpp));
    EXPECT_EQ(*l.Find("Sys")->rect.left, int(120 / tpp));
    EXPECT_EQ(*l.Find("Mon1")->rect.top, 900 - 17);
  }
}

TEST(PixelLayout, MinimumSizeMatchesTheRule) {
  const WindowMetrics m;  // 96 DPI: 15 twips a pixel
  const auto min = MinimumClientSize(m);
  EXPECT_EQ(min.width, 487 - 8);
  EXPECT_EQ(min.height, 365 - 40);
  PixelLayoutInput in;
  in.clientWidthPx = 100;
  in.clientHeightPx = 100;
  auto l = ComputePixelLayout(in);
  EXPECT_EQ(l.twips.W, 7305);
  EXPECT_EQ(l.twips.H, 5475);
  EXPECT_EQ(*l.Find("Mon1")->rect.top, min.height - 17);
}

}  // namespace
}  // namespace talvero
