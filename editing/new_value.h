#pragma once
// "Change...": a new value for one parameter, picked from the enumeration's
// texts or typed as a value or expression. Hidden, not destroyed, between uses.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace editing {

class NewValue : public QDialog {
  Q_OBJECT
 public:
  explicit NewValue(QWidget* parent);

  QLabel* What;
  QComboBox* VList;
  QLineEdit* NewVal;
  QLabel* units;
  QPushButton* ChangeOK;
  QPushButton* ChangeCancel;
  // 1 after "Change", 0 after "Cancel" (and after the close box).
  int Result = 0;

  // Which of VList and NewVal shows.
  void ShowList(bool list);
  bool ListShown() const;

  void ChangeOK_Click();
  void ChangeCancel_Click();
  void Form_Activate();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;
};

}  // namespace editing
