#include "mainwin/model/main_layout.h"

#include <algorithm>
#include <cmath>

#include "runtime/rounding.h"

namespace talvero {

namespace {

template <class Control>
const Control* Named(const std::vector<Control>& controls, const std::string& name) {
  for (const Control& c : controls)
    if (c.name == name) return &c;
  return nullptr;
}

constexpr double kDesignLeft = 120;  // tree and right-hand area
constexpr double kDesignTop = 120;
constexpr double kButtonSize = 375;
constexpr double kProgHeight = 240;
constexpr int kInputs = 9, kOutputs = 12;

// Nearest whole number, halves to the even neighbour.
double Whole(double v) { return rt::RoundHalfEven(v); }
// whole(v) \ 2, the remainder dropped.
double Half(double v) { return double(static_cast<long long>(Whole(v)) / 2); }

struct Button {
  const char* name;
  double top;
};
constexpr Button kButtons[] = {{"BtnRS", 120},    {"BtnPause", 480}, {"Btn1", 840},
                               {"ShowScope", 1620}, {"SWE_ON", 3180}, {"SWE_OFF", 3540},
                               {"BrakeAll", 4140}, {"Toggle", 2280}};

class Placer {
 public:
  explicit Placer(Layout& l) : l_(l) {}
  void Set(const std::string& name, const std::string& container, RectSet r) {
    l_.controls.push_back({name, container, r});
  }

 private:
  Layout& l_;
};

RectSet Full(double left, double top, double width, double height) {
  return {left, top, width, height};
}

void LayGeneral(Placer& p, const LayoutInput& in, double SW, double SH, double TH) {
  const double w = SW * 0.9;
  const double h = (SH - TH - in.design.driveResetHeight - 180) * 0.95;
  const double top = TH + 180;
  p.Set("GS_stat", "StatStrip", Full(Half(SW) - Half(w), top, w, h));
  RectSet reset;
  reset.top = top + h + 90;
  reset.left = Half(SW) - Half(in.design.driveResetWidth);
  p.Set("DriveReset", "StatStrip", reset);
}

void LayFaults(Placer& p, double SW, double SH, double TH) {
  const double w = SW * 0.95;
  p.Set("FaultList", "StatStrip", Full(Half(SW) - Half(w), TH + 180, w, (SH - TH) * 0.95));
}

void LayVariables(Placer& p, const LayoutInput& in, double SW, double SH, double TH) {
  const auto& d = in.design;
  const double w = SW * 0.9;
  const double h = SH - TH - d.frame1Height - d.frame2Height - d.addUvHeight - 520;
  const double top = TH + 180;
  const double left = Half(SW) - Half(w);
  p.Set("UV_Select", "StatStrip", Full(left, top, w, h));
  RectSet add, del, nv, f1, f2, change, pv;
  add.top = top + h + 90;
  add.left = left;
  p.Set("AddUV", "StatStrip", add);
  del.top = add.top;
  del.left = left + w - d.deleteUvWidth;
  p.Set("DeleteUV", "StatStrip", del);
  nv.width = w - 240;
  nv.left = Half(w) - Half(*nv.width);
  p.Set("UV_NV", "Frame2", nv);
  f1.top = *add.top + d.addUvHeight + 60;
  f1.left = left;
  f1.width = w;
  p.Set("Frame1", "StatStrip", f1);
  f2.top = *f1.top + d.frame1Height + 90;
  f2.left = left;
  f2.width = w;
  p.Set("Frame2", "StatStrip", f2);
  change.left = Half(w) - Half(d.uvChangeWidth);
  p.Set("UV_Change", "Frame2", change);
  pv.width = w - 240;
  pv.left = Half(w) - Half(*pv.width);
  p.Set("UV_PV", "Frame1", pv);
}

int LegendFont(const LayoutInput& in, double r) {
  auto height = in.textHeight ? in.textHeight : [](int pt) { return pt * 20 * 1.15; };
  int size = 50;
  while (size >= 2 && height(size) > r) --size;
  return size;
}

void LayIO(Placer& p, Layout& l, const LayoutInput& in, double SW, double SH, double TH) {
  const double fw = SW / 1.2;
  const double fleft = Half(SW) - Half(fw);
  const double u = Whole(TH + (SH - TH) * 0.1);
  const double legendTop = u / 1.5, legendH = SH / 3;
  const double inTop = legendTop + legendH + u / 3, inH = SH / 5;
  const double outTop = inTop + inH + u / 3, outH = SH / 5;
  p.Set("LegendFrame", "StatStrip", Full(fleft, legendTop, fw, legendH));
  p.Set("InputsFrame", "StatStrip", Full(fleft, inTop, fw, inH));
  p.Set("OutputsFrame", "StatStrip", Full(fleft, outTop, fw, outH));

  static const char* const kShapes[] = {"isoff", "ison", "isforcedoff", "isforcedon"};
  const LegendLayout legend = LegendPlaces(fw, legendH);
  for (size_t k = 0; k < legend.swatches.size(); ++k) {
    const LegendPlace& r = legend.swatches[k];
    p.Set(kShapes[k], "LegendFrame", Full(r.left, r.top, r.width, r.height));
  }
  for (size_t k = 0; k < legend.labels.size(); ++k) {
    const LegendPlace& r = legend.labels[k];
    p.Set("Label" + std::to_string(k + 1), "LegendFrame", Full(r.left, r.top, r.width, r.height));
  }
  l.legendFontPt = LegendFont(in, legend.textHeight);

  auto lamps = [&](const char* name, const char* frame, double h, int shown, int max) {
    const auto cells = LampCells(fw, h, shown, max);
    for (size_t i = 0; i < cells.size(); ++i)
      p.Set(std::string(name) + "(" + std::to_string(i) + ")", frame,
            Full(cells[i].left, cells[i].top, cells[i].size, cells[i].size));
    return int(cells.size());
  };
  l.inputLamps = lamps("IN", "InputsFrame", inH, in.visibleInputs, kInputs);
  l.outputLamps = lamps("OUT", "OutputsFrame", outH, in.visibleOutputs, kOutputs);
}

}  // namespace

int TreeFontPoints(double W) { return int(static_cast<long long>(Whole(W)) / 2400) * 2; }

std::vector<LampCell> LampCells(double frameWidth, double frameHeight, int shown, int max) {
  const int n = std::clamp(shown, 2, std::max(2, max));
  const double cell = Whole(frameWidth * 0.9 / n);
  double x = Whole(frameWidth * 0.05 * n / (n - 1));
  std::vector<LampCell> cells(static_cast<size_t>(n));
  // The highest index stands leftmost.
  for (int i = n - 1; i >= 0; --i) {
    double d = Whole(cell * 0.5);
    if (frameHeight / 2 < d) d = Whole(frameHeight / 2);
    cells[size_t(i)] = {(cell - d) / 2 + x, (frameHeight * 1.075 - d) / 2, d};
    x += cell;
  }
  return cells;
}

LegendLayout LegendPlaces(double frameWidth, double frameHeight) {
  // The legend as drawn in a frame of 2835 x 1515, stretched with the frame:
  // places follow its width and height, sizes the smaller stretch, so the
  // swatches stay square and the text keeps to its label.
  constexpr double kW = 2835, kH = 1515;
  constexpr double kSwatchCentreX = 960, kSwatchCentreY = 465, kSwatch = 120;
  constexpr double kLabelLeft = 1140, kLabelTop = 360, kLabelW = 1635, kLabelH = 195;
  constexpr double kRow = 240;
  const double sx = frameWidth / kW, sy = frameHeight / kH, s = std::min(sx, sy);
  LegendLayout l;
  const double d = Whole(kSwatch * s);
  for (int k = 0; k < 4; ++k) {
    l.swatches.push_back({Whole(kSwatchCentreX * sx - d / 2), Whole((kSwatchCentreY + kRow * k) * sy - d / 2), d, d});
    l.labels.push_back({Whole(kLabelLeft * sx), Whole((kLabelTop + kRow * k) * sy), Whole(kLabelW * sx),
                        Whole(kLabelH * sy)});
  }
  l.textHeight = Whole(kLabelH * s);
  return l;
}

const PlacedControl* Layout::Find(const std::string& name) const { return Named(controls, name); }

Layout ComputeLayout(const LayoutInput& in) {
  Layout l;
  Placer p(l);
  // The window cannot be made smaller than this (a minimum size, set once);
  // anything smaller is laid out as the minimum.
  const double W = std::max(in.W, kMinWindowWidthTw);
  const double H = std::max(in.H, kMinWindowHeightTw);
  l.W = W;
  l.H = H;

  l.treeFontPt = TreeFontPoints(W);
  l.listFontPt = l.treeFontPt > 14 ? 14 : l.treeFontPt;
  l.lineX2 = W - 15;

  const double sysH = H * 0.7, sysW = (W - 585) * 0.4;
  p.Set("Sys", "", Full(kDesignLeft, kDesignTop, sysW, sysH));
  const double right = sysW + 585;
  const double rightH = in.mon1Top - 435;
  const double rightW = W - right - 240;
  p.Set("StatStrip", "", Full(right, kDesignTop, rightW, rightH));
  p.Set("EditList", "", Full(right, kDesignTop, rightW, rightH));
  // Both stand in the same rectangle, so either gives the progress bar's place.
  p.Set("Prog", "", Full(right, rightH + 165, rightW, kProgHeight));
  const double watchH = std::max(60.0, Whole(rightH + 360 - (kDesignTop + sysH)));
  p.Set("Watch", "", Full(kDesignLeft, kDesignTop + sysH + 45, sysW, watchH));
  for (const auto& b : kButtons)
    p.Set(b.name, "", Full(Whole(sysW + 165), b.top, kButtonSize, kButtonSize));
  p.Set("Mon1", "", Full(0, in.mon1Top, W, in.design.mon1Height));

  if (!in.statStripVisible) return l;
  const double SW = rightW, SH = rightH, TH = in.tabRowHeight;
  if (in.currentTab == "General") LayGeneral(p, in, SW, SH, TH);
  else if (in.currentTab == "IO") LayIO(p, l, in, SW, SH, TH);
  else if (in.currentTab == "Faults") LayFaults(p, SW, SH, TH);
  else if (in.currentTab == "Variables") LayVariables(p, in, SW, SH, TH);
  return l;
}

// --- Pixels ---------------------------------------------------------------

double TwipsPerPixel(double dpi) { return 1440.0 / (dpi > 0 ? dpi : 96); }

namespace {

std::optional<int> ToPx(const std::optional<double>& tw, double tpp) {
  if (!tw) return std::nullopt;
  return int(std::lround(*tw / tpp));
}

}  // namespace

const PixelControl* PixelLayout::Find(const std::string& name) const { return Named(controls, name); }

PixelLayout ComputePixelLayout(const PixelLayoutInput& in) {
  const auto& m = in.metrics;
  const double tpp = TwipsPerPixel(m.dpi);
  LayoutInput t;
  t.W = (in.clientWidthPx + m.frameWidthPx) * tpp;
  t.H = (in.clientHeightPx + m.frameHeightPx) * tpp;
  const int minClientH = MinimumClientSize(m).height;
  t.mon1Top = (std::max(in.clientHeightPx, minClientH) - m.statusBarHeightPx) * tpp;
  t.statStripVisible = in.statStripVisible;
  t.currentTab = in.currentTab;
  t.tabRowHeight = m.tabRowHeightPx * tpp;
  t.visibleInputs = in.visibleInputs;
  t.visibleOutputs = in.visibleOutputs;
  if (in.textHeightPx) {
    auto px = in.textHeightPx;
    t.textHeight = [px, tpp](int pt) { return px(pt) * tpp; };
  }
  t.design = in.design;
  t.design.mon1Height = m.statusBarHeightPx * tpp;

  PixelLayout out;
  out.twips = ComputeLayout(t);
  for (const auto& c : out.twips.controls)
    out.controls.push_back({c.name, c.container,
                            {ToPx(c.rect.left, tpp), ToPx(c.rect.top, tpp),
                             ToPx(c.rect.width, tpp), ToPx(c.rect.height, tpp)}});
  return out;
}

PixelSize MinimumClientSize(const WindowMetrics& m) {
  const double tpp = TwipsPerPixel(m.dpi);
  return {int(std::ceil(kMinWindowWidthTw / tpp)) - m.frameWidthPx,
          int(std::ceil(kMinWindowHeightTw / tpp)) - m.frameHeightPx};
}

}  // namespace talvero
