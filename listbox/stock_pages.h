#pragma once
// The font, colour and picture pages of the control's property sheet. Each
// lists the control's properties of its kind, keeps the user's choice for
// every one of them until Apply, and writes back only those that changed.
#include <QMap>

#include "listbox/ole_color.h"
#include "listbox/picture.h"
#include "listbox/property_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tivolen {

class FontPropPage : public PropertyPage {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 4002;
  FontPropPage(TivolenCtrl* control, QWidget* parent = nullptr);
  void LoadFromControl() override;
  bool Apply() override;

  QComboBox* PropertyName() const { return property_; }
  QComboBox* Face() const { return face_; }
  QComboBox* Size() const { return size_; }
  QCheckBox* Bold() const { return bold_; }
  QCheckBox* Italic() const { return italic_; }
  QCheckBox* Underline() const { return underline_; }
  QCheckBox* Strikethrough() const { return strike_; }
  QLabel* Sample() const { return sample_; }
  // The font the fields make for the property shown.
  QFont Chosen() const;

 private:
  void ShowProperty();
  void FieldChanged(QWidget* field);

  QComboBox* property_;
  QComboBox* face_;
  QComboBox* size_;
  QCheckBox *bold_, *italic_, *underline_, *strike_;
  QLabel* sample_;
  QMap<int, QFont> pending_;  // by member number
  QMap<int, bool> changed_;
  bool loading_ = false;
  bool faceTyped_ = false, sizeTyped_ = false;  // checked on Apply only when typed
};

class ColorPropPage : public PropertyPage {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 4003;
  ColorPropPage(TivolenCtrl* control, QWidget* parent = nullptr);
  void LoadFromControl() override;
  bool Apply() override;

  QComboBox* PropertyName() const { return property_; }
  // System colours by name, each as the control stores it (0x800000nn).
  QComboBox* SystemColors() const { return system_; }
  QListWidget* Palette() const { return palette_; }
  // The value as text: "0x80000005" or "0x00BBGGRR"; typing one sets it.
  QLineEdit* Value() const { return value_; }
  // The colour chosen for the property shown.
  OleColor Chosen() const;
  // Sets the colour of the property shown, as a choice of the user's.
  void Choose(OleColor color);

 private:
  void ShowProperty();
  void ShowColor(OleColor color);

  QComboBox* property_;
  QComboBox* system_;
  QListWidget* palette_;
  QLineEdit* value_;
  QLabel* swatch_;
  QMap<int, OleColor> pending_;
  QMap<int, bool> changed_;
  bool loading_ = false;
  bool typed_ = false;  // the value box holds the user's typing
  OleColor beforeTyping_ = 0;
};

class PicturePropPage : public PropertyPage {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 4004;
  PicturePropPage(TivolenCtrl* control, QWidget* parent = nullptr);
  void LoadFromControl() override;
  bool Apply() override;

  QComboBox* PropertyName() const { return property_; }
  QLabel* Preview() const { return preview_; }
  // The picture in a file for the property shown; false, and why on the
  // page, when the file holds none.
  bool LoadFile(const QString& path);
  void ClearPicture();
  PicturePtr Chosen() const;

 private:
  void ShowProperty();
  void Browse();

  QComboBox* property_;
  QLabel* preview_;
  QLabel* kind_;
  QMap<int, PicturePtr> pending_;
  QMap<int, bool> changed_;
};

// The colours the colour page lists: the system colours, then the palette.
struct NamedColor {
  const char* name;
  OleColor value;
};
const std::vector<NamedColor>& SystemColorNames();
const std::vector<NamedColor>& PaletteColors();

}  // namespace tivolen
