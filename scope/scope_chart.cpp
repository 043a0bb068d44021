#include "scope/scope_chart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace scope {
namespace {

QColor ToQColor(uint32_t v) { return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)); }

QFont ChartFont() {
  QFont f("Liberation Sans");
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(8);
  return f;
}

// Device pixels per screen pixel, so lines keep their weight on paper.
double Scale(const QPainter& p) { return std::max(1.0, p.device()->logicalDpiX() / 96.0); }

QString TickText(double v, double step) {
  const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
  if (std::fabs(v) < step * 1e-6) v = 0;
  return QString::number(v, 'f', decimals);
}

// Cuts the segment a-b to the box (Liang-Barsky); false when none of it is inside.
bool ClipSegment(const QRectF& box, QPointF& a, QPointF& b) {
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  double t0 = 0, t1 = 1;
  const double eps = 1e-6;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - box.left() + eps, box.right() - a.x() + eps, a.y() - box.top() + eps,
                       box.bottom() - a.y() + eps};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF from = a;
  if (t1 < 1) b = QPointF(from.x() + t1 * dx, from.y() + t1 * dy);
  if (t0 > 0) a = QPointF(from.x() + t0 * dx, from.y() + t0 * dy);
  return true;
}

}  // namespace

int CaptureKeyCode(int qtKey) {
  if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return 13;
  if (qtKey == Qt::Key_Escape) return 27;
  return 0;
}

ScopeChart::ScopeChart(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  colours_ = {0, 0xFFFFFF, 0x000000, 0xBEBEBE, 0x00FFFF, 0x9314FF};
  setFont(ChartFont());
}

void ScopeChart::SetTitle(const QString& title) {
  title_ = title;
  Redraw();
}

uint32_t ScopeChart::Colour(int element) const {
  return element >= 1 && element <= 5 ? colours_[element] : 0;
}

void ScopeChart::SetColour(int element, uint32_t colour) {
  if (element < 1 || element > 5) return;
  colours_[element] = colour & 0xFFFFFF;
  Redraw();
}

void ScopeChart::SetBatched(bool on) {
  batched_ = on;
  if (!on) Redraw();
}

void ScopeChart::SetTrace(std::vector<double> x, std::vector<double> y, double seconds) {
  model_.SetData(std::move(x), std::move(y), seconds);
  Redraw();
}

void ScopeChart::MoveMarker(double x) {
  model_.SetMarker(x);
  Redraw();
}

void ScopeChart::Redraw() {
  if (!batched_) update();
}

std::optional<DataPoint> ScopeChart::PixelToData(QPoint p) const { return model_.PixelToData(p.x(), p.y()); }

QRect ScopeChart::PlotArea(const QFontMetrics& fm, const QRect& r) {
  const int line = fm.height();
  const int left = fm.horizontalAdvance("-0000.00") + line / 2;
  const int right = fm.horizontalAdvance("00.000") / 2 + line / 2;
  const int top = line * 3 / 2;
  const int bottom = line + line / 2;
  return QRect(r.left() + left, r.top() + top, std::max(0, r.width() - left - right),
               std::max(0, r.height() - top - bottom));
}

void ScopeChart::Render(QPainter& p, const QRect& r) const {
  p.save();
  p.setFont(ChartFont());
  const double s = Scale(p);
  const int thin = std::max(1, int(std::lround(s)));
  const QRect plot = PlotArea(QFontMetrics(ChartFont(), p.device()), r);
  ChartModel m = model_;
  m.SetPlot({plot.left(), plot.top(), plot.width(), plot.height()});
  const QFontMetrics fm = p.fontMetrics();

  p.setPen(Qt::NoPen);
  p.setBrush(ToQColor(colours_[kBackground]));
  p.drawRect(r);
  p.setBrush(Qt::NoBrush);

  const Range xr = m.XRange(), yr = m.YRange();
  const double xs = m.XStep(), ys = m.YStep();
  const QColor fg = ToQColor(colours_[kForeground]);
  QPen grid(ToQColor(colours_[kGrid]), thin, Qt::DotLine);
  QPen axis(fg, thin);
  if (plot.width() > 1 && plot.height() > 1) {
    // Grid lines and their labels, at whole steps inside each range.
    for (double v = std::ceil(xr.lo / xs - 1e-9) * xs; v <= xr.hi + xs * 1e-9; v += xs) {
      const int x = int(std::lround(m.XToPixel(v)));
      p.setPen(grid);
      p.drawLine(x, plot.top(), x, plot.bottom());
      p.setPen(axis);
      const QString t = TickText(v, xs);
      p.drawText(x - fm.horizontalAdvance(t) / 2, plot.bottom() + fm.ascent() + thin * 3, t);
    }
    for (double v = std::ceil(yr.lo / ys - 1e-9) * ys; v <= yr.hi + ys * 1e-9; v += ys) {
      const int y = int(std::lround(m.YToPixel(v)));
      p.setPen(grid);
      p.drawLine(plot.left(), y, plot.right(), y);
      p.setPen(axis);
      const QString t = TickText(v, ys);
      p.drawText(plot.left() - fm.horizontalAdvance(t) - thin * 4, y + fm.ascent() / 2 - thin, t);
    }
    // The trace, cut at the plot area's edges when zoomed.
    if (m.Count() > 1) {
      const QRectF box(plot.left(), plot.top(), plot.width() - 1, plot.height() - 1);
      p.setPen(QPen(ToQColor(colours_[kData]), thin));
      QPolygonF line;
      auto flush = [&]() {
        if (line.size() > 1) p.drawPolyline(line);
        line.clear();
      };
      const auto& X = m.X();
      const auto& Y = m.Y();
      QPointF prev(m.XToPixel(X[0]), m.YToPixel(Y[0]));
      for (int k = 1; k < m.Count(); ++k) {
        const QPointF next(m.XToPixel(X[k]), m.YToPixel(Y[k]));
        QPointF a = prev, b = next;
        if (ClipSegment(box, a, b)) {
          if (line.isEmpty() || line.back() != a) {
            flush();
            line << a;
          }
          line << b;
        } else {
          flush();
        }
        prev = next;
      }
      flush();
    }
    if (auto mk = m.Marker(); mk && *mk >= xr.lo && *mk <= xr.hi) {
      const int x = int(std::lround(m.XToPixel(*mk)));
      p.setPen(QPen(ToQColor(colours_[kMarker]), thin));
      p.drawLine(x, plot.top(), x, plot.bottom());
    }
    p.setPen(axis);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
  }
  p.setPen(axis);
  p.drawText(plot.left(), r.top() + fm.ascent() + fm.height() / 4, title_);
  p.restore();
}

void ScopeChart::UpdatePlotRect() {
  const QRect plot = PlotArea(QFontMetrics(ChartFont(), this), rect());
  model_.SetPlot({plot.left(), plot.top(), plot.width(), plot.height()});
}

void ScopeChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  UpdatePlotRect();
  Render(p, rect());
  if (dragFrom_) {
    p.setPen(QPen(ToQColor(colours_[kForeground]), 1, Qt::DashLine));
    p.drawRect(QRect(*dragFrom_, dragTo_).normalized());
  }
}

void ScopeChart::resizeEvent(QResizeEvent*) { UpdatePlotRect(); }

void ScopeChart::keyPressEvent(QKeyEvent* e) {
  if (int k = CaptureKeyCode(e->key())) emit KeyPressed(k);
  else QWidget::keyPressEvent(e);
}

void ScopeChart::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    dragFrom_ = dragTo_ = e->position().toPoint();
    return;
  }
  if (e->button() == Qt::LeftButton) emit MouseDown(1, e->position().toPoint());
  else if (e->button() == Qt::MiddleButton) emit MouseDown(4, e->position().toPoint());
}

void ScopeChart::mouseMoveEvent(QMouseEvent* e) {
  if (dragFrom_) {
    dragTo_ = e->position().toPoint();
    update();
  }
  emit MouseMoved(e->buttons(), e->position().toPoint());
}

void ScopeChart::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::RightButton || !dragFrom_) return;
  const QRect box = QRect(*dragFrom_, e->position().toPoint()).normalized();
  dragFrom_.reset();
  const PlotRect& pr = model_.Plot();
  auto clampPt = [&](QPoint q) {
    return model_.PixelToData(std::clamp(q.x(), pr.left, pr.left + pr.width - 1),
                              std::clamp(q.y(), pr.top, pr.top + pr.height - 1));
  };
  if (box.width() > 4 && box.height() > 4) {
    auto a = clampPt(box.topLeft()), b = clampPt(box.bottomRight());
    if (a && b) model_.Zoom({a->x, b->x}, {b->y, a->y});
  }
  update();
}

void ScopeChart::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    dragFrom_.reset();
    model_.ResetZoom();
    update();
  } else {
    mousePressEvent(e);
  }
}

}  // namespace scope
