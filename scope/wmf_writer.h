#pragma once
// A paint device that records what is painted on it as a placeable Windows
// metafile in twips: rectangles, lines and polylines, text. The chart draws
// itself here exactly as on screen and on paper.
//
//   WmfWriter wmf(widthTwips, heightTwips);
//   { QPainter p(&wmf); chart->Render(p, QRect(0, 0, widthTwips, heightTwips)); }
//   std::vector<uint8_t> bytes = wmf.Bytes();
#include <QPaintDevice>
#include <cstdint>
#include <memory>
#include <vector>

namespace scope {

class WmfEngine;

class WmfWriter : public QPaintDevice {
 public:
  WmfWriter(int widthTwips, int heightTwips);
  ~WmfWriter() override;
  QPaintEngine* paintEngine() const override;
  // The file's bytes; valid once the painter has ended.
  std::vector<uint8_t> Bytes() const;

 protected:
  int metric(PaintDeviceMetric m) const override;

 private:
  int width_, height_;
  std::unique_ptr<WmfEngine> engine_;
};

}  // namespace scope
