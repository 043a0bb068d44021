#include "mainwin/tree_images.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

// A rounded square with a letter, in the colour of the node's kind.
QIcon Badge(QColor colour, QChar letter) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(colour);
  p.setPen(colour.darker(140));
  p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 6, 6);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(18);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QString(letter));
  return QIcon(pm);
}

}  // namespace

QIcon TreeImage(const std::string& picture, QStyle* style) {
  if (picture == "applic") return style->standardIcon(QStyle::SP_DirIcon);
  if (picture == "axis") return Badge(QColor(40, 110, 190), 'A');
  if (picture == "par") return Badge(QColor(120, 120, 130), 'P');
  if (picture == "doc") return style->standardIcon(QStyle::SP_FileIcon);
  if (picture == "pgm") return Badge(QColor(50, 150, 80), 'p');
  if (picture == "pgmlib") return Badge(QColor(180, 120, 30), 'L');
  if (picture == "diag") return Badge(QColor(190, 60, 60), 'S');
  return QIcon();
}
