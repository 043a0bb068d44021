#pragma once
// The control's "General" property page and its About dialog.
#include <QDialog>
#include <QMap>
#include <QSet>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tivolen {

class TivolenCtrl;
class HelpWindow;

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

// Enumeration lines as the page lists them: "%ld - %s".
QStringList EnumLines(const char* enumName);

class TivolenPropPage : public QDialog {
  Q_OBJECT
 public:
  TivolenPropPage(TivolenCtrl* control, QWidget* parent = nullptr);

  // Values from the control into the fields.
  void LoadFromControl();
  // Changed fields to the control; false (and the reason shown) on a refusal.
  bool Apply();
  // False when a field does not validate; nothing is written then.
  bool SaveAsDefault();
  void ResetDefault();
  static constexpr int kHelpContext = 4001;
  // The page's topic of the control's help file (F1 or Help); false, and the
  // reason in the status line, when it cannot be shown.
  bool ShowHelp();
  HelpWindow* Help() const { return help_; }

  QLineEdit* Edit(int controlId) const { return edits_.value(controlId); }
  QCheckBox* Check(int controlId) const { return checks_.value(controlId); }
  QComboBox* Combo(int controlId) const { return combos_.value(controlId); }
  QString Status() const;
  bool IsPageModified() const { return pageModified_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool Validate();
  void MarkChanged(int controlId);

  TivolenCtrl* control_;
  QMap<int, QLineEdit*> edits_;
  QMap<int, QCheckBox*> checks_;
  QMap<int, QComboBox*> combos_;
  QSet<int> changed_;
  QLabel* status_ = nullptr;
  HelpWindow* help_ = nullptr;
  bool loading_ = false;
  bool pageModified_ = false;
};

}  // namespace tivolen
