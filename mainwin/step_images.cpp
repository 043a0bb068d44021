#include "mainwin/step_images.h"

#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kSize = 16;

QImage Blank() {
  QImage img(kSize, kSize, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

QImage Lamp(const QColor& fill) {
  QImage img = Blank();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(fill);
  p.drawEllipse(3, 3, 9, 9);
  return img;
}

QImage Arrow(const QColor& fill) {
  QImage img = Blank();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(fill.darker(150));
  p.setBrush(fill);
  p.drawPolygon(QPolygon({QPoint(3, 2), QPoint(12, 7), QPoint(3, 12)}));
  return img;
}

}  // namespace

StepImageList::StepImageList() {
  pictures_["on"] = tivolen::Picture::Bitmap(Lamp(QColor(0, 176, 0)));
  pictures_["off"] = tivolen::Picture::Bitmap(Lamp(QColor(160, 160, 160)));
  pictures_["step-mt"] = tivolen::Picture::Bitmap(Blank());
  pictures_["step-cur"] = tivolen::Picture::Bitmap(Arrow(QColor(0, 96, 224)));
  pictures_["step-bad"] = tivolen::Picture::Bitmap(Arrow(QColor(224, 0, 0)));
}

tivolen::PicturePtr StepImageList::Picture(const std::string& key) const {
  auto it = pictures_.find(key);
  return it == pictures_.end() ? nullptr : it->second;
}

std::vector<std::string> StepImageList::Keys() const {
  std::vector<std::string> keys;
  for (const auto& [key, picture] : pictures_) keys.push_back(key);
  return keys;
}
