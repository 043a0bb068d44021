#include "scope/model/chart_model.h"

#include <algorithm>
#include <cmath>

namespace scope {

double NiceStep(double v) {
  const double p = std::pow(10.0, std::floor(std::log10(v)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * p >= v * (1 - 1e-9)) return m * p;
  return 10 * p;
}

Ticks NiceTicks(double lo, double hi, int wanted) {
  if (!(hi > lo)) {
    // A flat trace still gets a scale around its value.
    const double pad = lo == 0 ? 1 : std::fabs(lo) * 0.1;
    lo -= pad;
    hi += pad;
  }
  Ticks t;
  t.step = NiceStep((hi - lo) / wanted);
  t.range.lo = std::floor(lo / t.step + 1e-9) * t.step;
  t.range.hi = std::ceil(hi / t.step - 1e-9) * t.step;
  return t;
}

void ChartModel::SetData(std::vector<double> x, std::vector<double> y, double seconds) {
  x_ = std::move(x);
  y_ = std::move(y);
  seconds_ = seconds > 0 ? seconds : 0.1;
  if (y_.empty()) yTicks_ = Ticks{};
  else {
    auto [lo, hi] = std::minmax_element(y_.begin(), y_.end());
    yTicks_ = NiceTicks(*lo, *hi);
  }
  zoom_ = false;
}

void ChartModel::Clear() { SetData({}, {}, seconds_); }

double ChartModel::XStep() const {
  const Range r = XRange();
  return NiceStep((r.hi - r.lo) / 10);
}

double ChartModel::YStep() const { return zoom_ ? NiceStep((zoomY_.hi - zoomY_.lo) / 8) : yTicks_.step; }

void ChartModel::Zoom(Range x, Range y) {
  if (x.hi < x.lo) std::swap(x.lo, x.hi);
  if (y.hi < y.lo) std::swap(y.lo, y.hi);
  if (x.hi - x.lo <= 0 || y.hi - y.lo <= 0) return;
  zoomX_ = x;
  zoomY_ = y;
  zoom_ = true;
}

std::optional<DataPoint> ChartModel::PixelToData(int x, int y) const {
  if (!plot_.Contains(x, y) || plot_.width <= 1 || plot_.height <= 1) return std::nullopt;
  const Range rx = XRange(), ry = YRange();
  DataPoint p;
  p.x = rx.lo + (x - plot_.left) * (rx.hi - rx.lo) / (plot_.width - 1);
  p.y = ry.hi - (y - plot_.top) * (ry.hi - ry.lo) / (plot_.height - 1);
  return p;
}

double ChartModel::XToPixel(double x) const {
  const Range r = XRange();
  return plot_.left + (x - r.lo) * (plot_.width - 1) / (r.hi - r.lo);
}

double ChartModel::YToPixel(double y) const {
  const Range r = YRange();
  return plot_.top + (r.hi - y) * (plot_.height - 1) / (r.hi - r.lo);
}

int ChartModel::Nearest(double x) const {
  if (x_.empty()) return -1;
  auto it = std::lower_bound(x_.begin(), x_.end(), x);
  if (it == x_.end()) return int(x_.size()) - 1;
  if (it != x_.begin() && x - *(it - 1) <= *it - x) --it;
  return int(it - x_.begin());
}

}  // namespace scope
