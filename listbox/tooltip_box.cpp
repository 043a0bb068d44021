#include "listbox/tooltip_box.h"

#include <QPainter>

namespace tivolen {

namespace {
QFont TooltipFont() {
  QFont f("MS Sans Serif");
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(8);  // a character height of 8 pixels, whatever the resolution
  return f;
}
}  // namespace

TooltipBox::TooltipBox() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFont(TooltipFont());
}

void TooltipBox::SetText(const QString& text) {
  text_ = text;
  resize(BoxSize());
  update();
}

QSize TooltipBox::BoxSize() const {
  const QFontMetrics fm(font());
  return QSize(fm.horizontalAdvance(text_) + 32, fm.height() + 8);
}

QRect TooltipBox::Place(QPoint cursor, QSize box, QSize screen) {
  int x = cursor.x(), y = cursor.y();
  if (x + box.width() + 10 > screen.width()) x = screen.width() - box.width() - 10;
  if (y + box.height() + 18 > screen.height()) y = screen.height() - box.height() - 18;
  return QRect(QPoint(x + 10, y + 18), box);
}

void TooltipBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, Qt::black);
  const QRect inside = r.adjusted(1, 1, -1, -1);
  p.fillRect(inside, QColor(255, 255, 128));
  p.setClipRect(inside);
  p.setPen(Qt::black);
  const QFontMetrics fm(font());
  p.drawText(QRect(inside.left(), r.top() + 4, inside.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, text_);
}

}  // namespace tivolen
