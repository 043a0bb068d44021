#pragma once
// The geometry and data of one scope chart, without a widget: the axis
// ranges and their 1-2-5 ticks, the mapping between the plot area's pixels
// and data, the nearest sample and the cursor marker.
#include <optional>
#include <vector>

namespace scope {

struct Range {
  double lo = 0, hi = 1;
  bool operator==(const Range&) const = default;
};

// A tidy range around [lo, hi] on a 1-2-5 step, and that step.
struct Ticks {
  Range range;
  double step = 0.2;
};
Ticks NiceTicks(double lo, double hi, int wanted = 8);
// The 1, 2 or 5 x 10^n at or above v (v > 0).
double NiceStep(double v);

struct PlotRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool Contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
};

struct DataPoint {
  double x = 0, y = 0;
};

class ChartModel {
 public:
  void SetData(std::vector<double> x, std::vector<double> y, double seconds);
  void Clear();
  const std::vector<double>& X() const { return x_; }
  const std::vector<double>& Y() const { return y_; }
  int Count() const { return int(x_.size()); }

  // The ranges shown: time 0 to the timebase, values auto-scaled, unless zoomed.
  Range XRange() const { return zoom_ ? zoomX_ : Range{0, seconds_}; }
  Range YRange() const { return zoom_ ? zoomY_ : yTicks_.range; }
  double XStep() const;
  double YStep() const;
  void Zoom(Range x, Range y);
  void ResetZoom() { zoom_ = false; }
  bool Zoomed() const { return zoom_; }

  // Where the plot area lies; the widget sets it before mapping.
  void SetPlot(const PlotRect& r) { plot_ = r; }
  const PlotRect& Plot() const { return plot_; }
  // Data at a pixel; nullopt outside the plot area.
  std::optional<DataPoint> PixelToData(int x, int y) const;
  double XToPixel(double x) const;
  double YToPixel(double y) const;
  // The index of the sample whose time is nearest, -1 without data.
  int Nearest(double x) const;

  void SetMarker(double x) { marker_ = x; }
  std::optional<double> Marker() const { return marker_; }

 private:
  std::vector<double> x_, y_;
  double seconds_ = 0.1;
  Ticks yTicks_;
  bool zoom_ = false;
  Range zoomX_, zoomY_;
  PlotRect plot_;
  std::optional<double> marker_;
};

}  // namespace scope
