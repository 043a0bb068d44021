#include "platform/ui/qt/window_place.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace talvero {

QRect KeepWithin(const QRect& frame, const QRect& area) {
  QRect r = frame;
  r.setWidth(std::min(r.width(), area.width()));
  r.setHeight(std::min(r.height(), area.height()));
  r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
  r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
  return r;
}

namespace {

QScreen* ScreenAt(QPoint p) {
  if (QScreen* s = QGuiApplication::screenAt(p)) return s;
  QScreen* best = QGuiApplication::primaryScreen();
  int bestDistance = INT_MAX;
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect g = s->geometry();
    const int dx = std::max({g.left() - p.x(), 0, p.x() - g.right()});
    const int dy = std::max({g.top() - p.y(), 0, p.y() - g.bottom()});
    if (dx + dy < bestDistance) {
      bestDistance = dx + dy;
      best = s;
    }
  }
  return best;
}

// The window manager's frame round a window. Before the first showing it is
// not known yet: another decorated window of the program tells what it will
// be, or else a frame as thick as common title bars and borders.
QMargins FrameMargins(const QWidget& w) {
  auto margins = [](const QWidget& x) {
    const QRect f = x.frameGeometry(), g = x.geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
  };
  auto known = [](const QMargins& m) { return !m.isNull(); };
  if (w.isVisible() && known(margins(w))) return margins(w);
  if (w.windowFlags().testFlag(Qt::FramelessWindowHint) || w.windowType() == Qt::ToolTip) return {};
  const QWidget* other = w.parentWidget() ? w.parentWidget()->window() : nullptr;
  if (!other || !other->isVisible()) other = QApplication::activeWindow();
  if (other && other != &w && other->isVisible() && known(margins(*other))) return margins(*other);
  return {8, 40, 8, 8};
}

QScreen* ScreenOf(const QWidget& w) {
  const QWidget* parent = w.parentWidget() ? w.parentWidget()->window() : nullptr;
  if (parent && parent->isVisible()) return ScreenAt(parent->frameGeometry().center());
  return QGuiApplication::primaryScreen();
}

QPoint CentredTopLeft(const QSize& frame, const QRect& area) {
  return {area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2};
}

}  // namespace

void PlaceWindow(QWidget& window, QPoint frameTopLeft) {
  QScreen* screen = ScreenAt(frameTopLeft);
  if (!screen) {
    window.move(frameTopLeft);
    return;
  }
  const QMargins m = FrameMargins(window);
  const QSize inner = window.size().expandedTo(window.minimumSize());
  const QRect frame(frameTopLeft, inner.grownBy(m));
  const QRect kept = KeepWithin(frame, screen->availableGeometry());
  const QSize fitted = kept.size().shrunkBy(m).expandedTo(window.minimumSize());
  if (fitted != window.size()) window.resize(fitted);
  window.move(kept.topLeft());
}

void CentreOnScreen(QWidget& window) {
  QScreen* screen = ScreenOf(window);
  if (!screen) return;
  const QSize frame = window.size().grownBy(FrameMargins(window));
  PlaceWindow(window, CentredTopLeft(frame, screen->availableGeometry()));
}

void CentreOver(QWidget& window, const QWidget& over) {
  const QSize frame = window.size().grownBy(FrameMargins(window));
  const QRect target = over.frameGeometry();
  QScreen* screen = ScreenAt(target.center());
  if (!screen) return;
  // Centred over the other window, moved onto that window's screen.
  QRect r(CentredTopLeft(frame, target), frame);
  r = KeepWithin(r, screen->availableGeometry());
  PlaceWindow(window, r.topLeft());
}

}  // namespace talvero
