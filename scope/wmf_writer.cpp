#include "scope/wmf_writer.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <optional>

#include "runtime/cp1252.h"
#include "scope/model/wmf_records.h"

namespace scope {
namespace {

uint32_t ColourRef(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

int16_t Clamp16(double v) { return int16_t(std::clamp<long>(std::lround(v), -32768, 32767)); }

}  // namespace

class WmfEngine : public QPaintEngine {
 public:
  explicit WmfEngine(const WmfUnits& u)
      : QPaintEngine(QPaintEngine::AllFeatures),
        records_(Clamp16(u.width), Clamp16(u.height), uint16_t(u.unitsPerInch)),
        unitsPerInch_(u.unitsPerInch) {}

  bool begin(QPaintDevice*) override {
    records_.SetBkMode(1);
    return true;
  }
  bool end() override {
    for (int* slot : {&pen_, &brush_, &font_}) Drop(*slot);
    bytes_ = records_.Finish();
    return true;
  }
  Type type() const override { return QPaintEngine::User; }

  void updateState(const QPaintEngineState& s) override {
    if (s.state() & DirtyPen) penDirty_ = true;
    if (s.state() & DirtyBrush) brushDirty_ = true;
    if (s.state() & DirtyFont) fontDirty_ = true;
    if (s.state() & DirtyTransform) transform_ = s.transform();
  }

  void drawRects(const QRectF* rects, int count) override {
    SelectPen();
    SelectBrush();
    for (int i = 0; i < count; ++i) {
      const QRectF r = transform_.mapRect(rects[i]);
      // The rectangle's pen runs inside its right and bottom edges.
      records_.Rectangle(Clamp16(r.left()), Clamp16(r.top()), Clamp16(r.right() + 1), Clamp16(r.bottom() + 1));
    }
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      const QRectF r(rects[i]);
      drawRects(&r, 1);
    }
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      const QPointF pts[2] = {lines[i].p1(), lines[i].p2()};
      drawPolygon(pts, 2, PolylineMode);
    }
  }
  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      const QLineF l(lines[i]);
      drawLines(&l, 1);
    }
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (count < 2) return;
    SelectPen();
    std::vector<WmfPoint> pts;
    pts.reserve(count + 1);
    for (int i = 0; i < count; ++i) {
      const QPointF p = transform_.map(points[i]);
      pts.push_back({Clamp16(p.x()), Clamp16(p.y())});
    }
    if (mode != PolylineMode) pts.push_back(pts.front());
    records_.Polyline(pts);
  }
  void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
    std::vector<QPointF> f(points, points + count);
    drawPolygon(f.data(), count, mode);
  }
  void drawPath(const QPainterPath& path) override {
    for (const QPolygonF& poly : path.toSubpathPolygons()) drawPolygon(poly.constData(), int(poly.size()), PolylineMode);
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    if (fontDirty_ || font_ < 0) {
      Drop(font_);
      const QFont f = item.font();
      const int px = f.pixelSize() > 0 ? f.pixelSize() : int(std::lround(f.pointSizeF() * unitsPerInch_ / 72));
      font_ = records_.CreateFont(int16_t(-px), int16_t(f.weight() >= QFont::Bold ? 700 : 400), f.italic(),
                                  f.family().toStdString());
      records_.SelectObject(font_);
      ascent_ = QFontMetricsF(f, device_).ascent();
      fontDirty_ = false;
    }
    const uint32_t colour = ColourRef(state->pen().color());
    if (!textColour_ || *textColour_ != colour) {
      records_.SetTextColor(colour);
      textColour_ = colour;
    }
    const QPointF at = transform_.map(QPointF(p.x(), p.y() - ascent_));
    const auto bytes = rt::Utf8ToCp1252(item.text().toStdString());
    records_.TextOut(Clamp16(at.x()), Clamp16(at.y()), bytes ? *bytes : item.text().toLatin1().toStdString());
  }

  void SetDevice(QPaintDevice* d) { device_ = d; }
  std::vector<uint8_t> bytes_;

 private:
  void Drop(int& slot) {
    if (slot < 0) return;
    records_.DeleteObject(slot);
    slot = -1;
  }
  void SelectPen() {
    if (!penDirty_ && pen_ >= 0) return;
    const QPen pen = state->pen();
    int old = pen_;
    const uint16_t style = pen.style() == Qt::NoPen ? WmfRecords::kNullPen
                           : pen.style() == Qt::SolidLine ? WmfRecords::kSolidPen
                                                          : WmfRecords::kDotPen;
    pen_ = records_.CreatePen(style, Clamp16(pen.widthF()), ColourRef(pen.color()));
    records_.SelectObject(pen_);
    Drop(old);
    penDirty_ = false;
  }
  void SelectBrush() {
    if (!brushDirty_ && brush_ >= 0) return;
    const QBrush b = state->brush();
    int old = brush_;
    brush_ = records_.CreateBrush(b.style() == Qt::NoBrush ? WmfRecords::kNullBrush : WmfRecords::kSolidBrush,
                                  ColourRef(b.color()));
    records_.SelectObject(brush_);
    Drop(old);
    brushDirty_ = false;
  }

  WmfRecords records_;
  int unitsPerInch_;
  QTransform transform_;
  QPaintDevice* device_ = nullptr;
  int pen_ = -1, brush_ = -1, font_ = -1;
  bool penDirty_ = true, brushDirty_ = true, fontDirty_ = true;
  qreal ascent_ = 0;
  std::optional<uint32_t> textColour_;
};

WmfWriter::WmfWriter(const WmfUnits& units) : units_(units), engine_(std::make_unique<WmfEngine>(units)) {
  engine_->SetDevice(this);
}

WmfWriter::~WmfWriter() = default;

QPaintEngine* WmfWriter::paintEngine() const { return engine_.get(); }

std::vector<uint8_t> WmfWriter::Bytes() const { return engine_->bytes_; }

int WmfWriter::metric(PaintDeviceMetric m) const {
  switch (m) {
    case PdmWidth: return units_.width;
    case PdmHeight: return units_.height;
    case PdmWidthMM: return int(units_.width * 25.4 / units_.unitsPerInch);
    case PdmHeightMM: return int(units_.height * 25.4 / units_.unitsPerInch);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return units_.unitsPerInch;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    default: return 0;
  }
}

}  // namespace scope
