#pragma once
// The control's "General" property page and its About dialog.
#include <QDialog>
#include <QMap>
#include <QSet>

#include "listbox/property_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tivolen {

class TivolenCtrl;

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

// Enumeration lines as the page lists them: "%ld - %s".
QStringList EnumLines(const char* enumName);

// The control's own page, "General".
class TivolenPropPage : public PropertyPage {
  Q_OBJECT
 public:
  TivolenPropPage(TivolenCtrl* control, QWidget* parent = nullptr);

  void LoadFromControl() override;
  bool Apply() override;
  bool HasPendingChanges() const override { return !changed_.isEmpty(); }
  // False when a field does not validate; nothing is written then.
  bool SaveAsDefault();
  void ResetDefault();
  static constexpr int kHelpContext = 4001;

  QLineEdit* Edit(int controlId) const { return edits_.value(controlId); }
  QCheckBox* Check(int controlId) const { return checks_.value(controlId); }
  QComboBox* Combo(int controlId) const { return combos_.value(controlId); }

 private:
  bool Validate();
  void MarkChanged(int controlId);

  QMap<int, QLineEdit*> edits_;
  QMap<int, QCheckBox*> checks_;
  QMap<int, QComboBox*> combos_;
  QSet<int> changed_;
  bool loading_ = false;
};

}  // namespace tivolen
