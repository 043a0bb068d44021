#pragma once
// What the set-up wizards share: the modal dialog that reads the selected
// axis afresh at each activation, its parameter access, the motor list with
// its catalogue look-up, and OK and Cancel, which only hide it.
#include <QDialog>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "wizards/model/motor_library.h"
#include "wizards/param_access.h"

class QComboBox;
class QLabel;
class QPushButton;
class MainWin;

namespace wizards {

class WizardDialog : public QDialog {
  Q_OBJECT
 public:
  WizardDialog(MainWin& win, const QString& title, QWidget* parent);

  // The wizards' parameter write on the selected axis.
  bool ChP(const std::string& name, const std::string& value) { return access_.ChP(name, value); }
  ParamAccess& Access() { return access_; }

  virtual void Form_Activate() = 0;
  virtual void FillData(bool UseCurrent) = 0;
  virtual void ASW_OK_Click() = 0;
  // Row 0 (or none) is the axis' present settings.
  void MtrSelection_Click();
  void ASW_Cancel_Click() { reject(); }
  // The drive did not answer the page's read: the page shows no value and
  // OK writes nothing until the whole page is read again.
  bool Unread() const { return unread_; }

  QComboBox* MtrSelection;
  QPushButton *ASW_OK, *ASW_Cancel;
  QLabel* Notice;  // "Node n does not answer" while the page is unread

 protected:
  void showEvent(QShowEvent* e) override;
  // Refused while the axis is read: the dialog's own loop may not run yet.
  void closeEvent(QCloseEvent* e) override;
  // The page after a failed read: its values cleared (ClearPage), its parts
  // and OK off, the notice shown, and the page read again once the drive
  // answers.
  void ShowUnread(const ParamAccess::PageRead& read);
  // The whole page was read.
  void ShowRead();
  virtual void ClearPage() = 0;
  // The page's parts that take no input while it is unread.
  std::vector<QWidget*> parts_;
  // The fixed rows, then the catalogue's steppers or servo motors; no row chosen.
  void LoadMotorList(std::span<const std::string> fixedRows, bool steppers);
  // The catalogue's record of the chosen row. A name the catalogue no longer
  // holds is said, and the page goes back to the present settings.
  std::optional<MotorRecord> ChosenMotor();
  // Connects the list and the two buttons.
  void Connect();

  MainWin& win_;
  ParamAccess access_;
  bool unread_ = false;
};

}  // namespace wizards
