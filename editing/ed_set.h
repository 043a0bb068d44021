#pragma once
// "Edit Settings...": units, transmission ratio and description of the
// program shown, written to the drive or the application by OK.
#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class MainWin;

namespace editing {

class EdSet : public QDialog {
  Q_OBJECT
 public:
  explicit EdSet(MainWin& win);

  QComboBox* sel;
  QLineEdit* trans;
  QLineEdit* des;
  QPushButton *ok, *cancel;
  QLabel *Label1, *Label2, *Label3;
  bool OKPressed = false;

  // The drive's units index of a name: the first exact match, else "system-rev".
  static int FindUU(const std::string& name);

  void Form_Activate();
  void sel_Click();
  void ok_Click();
  void cancel_Click();

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;

 private:
  void SetLabel2(const std::string& units);

  MainWin& win_;
  bool placed_ = false;
};

}  // namespace editing
