#include "listbox/list_item.h"

#include "listbox/item_text.h"

namespace tivolen {

std::optional<QImage> MakeTransparentVariant(const PicturePtr& picture, QColor transparent,
                                             QColor replacement) {
  if (!picture || picture->type != Picture::Type::Bitmap || picture->image.isNull())
    return std::nullopt;
  QImage out = picture->image.convertToFormat(QImage::Format_ARGB32);
  const QRgb from = transparent.rgb() & 0xFFFFFF, to = replacement.rgb() | 0xFF000000u;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] & 0xFFFFFF) == from) line[x] = to;
  }
  return out;
}

QString ListItem::GetText() const { return LimitText(text_); }

QString ListItem::GetColumnText(int column) const { return ColumnText(text_, column); }

bool ListItem::SetColumnText(const QString& t, int column) {
  return tivolen::SetColumnText(text_, column, t);
}

bool ListItem::IsGreaterThan(const QString& text) const {
  return CompareItemText(text_, text) > 0;
}

}  // namespace tivolen
