#pragma once
// One item record kept beside the list box item at the same index.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <optional>

#include "listbox/picture.h"

namespace tivolen {

// A copy of a bitmap picture with every pixel of the transparent colour
// replaced; nullopt for any other kind of picture.
std::optional<QImage> MakeTransparentVariant(const PicturePtr& picture, QColor transparent,
                                             QColor replacement);

class ListItem {
 public:
  QString GetText() const;  // at most the first 127 characters
  const QString& FullText() const { return text_; }
  void SetText(const QString& text) { text_ = text; }
  QString GetColumnText(int column) const;
  bool SetColumnText(const QString& t, int column);

  const std::optional<QFont>& Font() const { return font_; }
  void SetFont(std::optional<QFont> font) { font_ = std::move(font); }
  QFont& OwnFont() { return *font_; }

  const PicturePtr& GetPicture() const { return picture_; }
  void SetPicture(PicturePtr picture) { picture_ = std::move(picture); }

  void BuildSelectedVariant(QColor transparent, QColor replacement) {
    selected_ = MakeTransparentVariant(picture_, transparent, replacement);
  }
  void BuildNormalVariant(QColor transparent, QColor replacement) {
    normal_ = MakeTransparentVariant(picture_, transparent, replacement);
  }
  const std::optional<QImage>& SelectedVariant() const { return selected_; }
  const std::optional<QImage>& NormalVariant() const { return normal_; }

  // Own height in pixels, 0 = automatic.
  int16_t Height() const { return height_; }
  void SetHeight(int16_t h) { height_ = h; }

  bool IsGreaterThan(const QString& text) const;

 private:
  QString text_;
  std::optional<QFont> font_;
  PicturePtr picture_;
  std::optional<QImage> selected_, normal_;
  int16_t height_ = 0;
};

}  // namespace tivolen
