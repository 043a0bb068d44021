#pragma once
// A paint device that records what is painted on it as a placeable Windows
// metafile: rectangles, lines and polylines, text. Its resolution is the
// file's units per inch, so the chart draws itself here exactly as on
// screen and on paper.
//
//   const WmfUnits u = UnitsForPicture(w, h, dpiX, dpiY);
//   WmfWriter wmf(u);
//   { QPainter p(&wmf); chart->Render(p, QRect(0, 0, u.width, u.height)); }
//   std::vector<uint8_t> bytes = wmf.Bytes();
#include <QPaintDevice>
#include <cstdint>
#include <memory>
#include <vector>

#include "scope/model/wmf_records.h"

namespace scope {

class WmfEngine;

class WmfWriter : public QPaintDevice {
 public:
  explicit WmfWriter(const WmfUnits& units);
  ~WmfWriter() override;
  QPaintEngine* paintEngine() const override;
  // The file's bytes; valid once the painter has ended.
  std::vector<uint8_t> Bytes() const;

 protected:
  int metric(PaintDeviceMetric m) const override;

 private:
  WmfUnits units_;
  std::unique_ptr<WmfEngine> engine_;
};

}  // namespace scope
