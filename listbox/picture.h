#pragma once
// A picture object as hosts hand it to the control: shared, not copied.
// Header-only so a host builds pictures without linking the control.
#include <QImage>
#include <QMetaType>
#include <cmath>
#include <memory>

namespace tivolen {

struct Picture {
  enum class Type { Empty, Bitmap, Icon, Metafile };
  Type type = Type::Empty;
  QImage image;
  // Size in HIMETRIC (0.01 mm), as picture objects report it.
  int himetricWidth = 0;
  int himetricHeight = 0;

  static std::shared_ptr<Picture> Make(Type type, const QImage& image, int dpi = 96) {
    auto p = std::make_shared<Picture>();
    p->type = type;
    p->image = image.convertToFormat(QImage::Format_ARGB32);
    // Rounded up, so converting back at the same resolution gives the pixels again.
    p->himetricWidth = int(std::ceil(image.width() * 2540.0 / dpi));
    p->himetricHeight = int(std::ceil(image.height() * 2540.0 / dpi));
    return p;
  }
  static std::shared_ptr<Picture> Bitmap(const QImage& image, int dpi = 96) {
    return Make(Type::Bitmap, image, dpi);
  }
  static std::shared_ptr<Picture> Icon(const QImage& image, int dpi = 96) {
    return Make(Type::Icon, image, dpi);
  }
  static std::shared_ptr<Picture> None() { return std::make_shared<Picture>(); }
};

using PicturePtr = std::shared_ptr<Picture>;

}  // namespace tivolen

Q_DECLARE_METATYPE(tivolen::PicturePtr)
