#pragma once
// The servo set-up wizard: the application inputs, the motor and feedback
// page, and OK, which writes the whole set-up through ChP. Created once;
// OK and Cancel only hide it, and every activation reads the axis afresh.
#include <QDialog>
#include <array>
#include <string>

#include "wizards/model/motor_page.h"
#include "wizards/param_access.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class MainWin;

namespace wizards {

class AxisSetup : public QDialog {
  Q_OBJECT
 public:
  AxisSetup(MainWin& win, QWidget* parent = nullptr);

  // The wizards' parameter write on the selected axis.
  bool ChP(const std::string& name, const std::string& value) { return access_.ChP(name, value); }
  ParamAccess& Access() { return access_; }

  void Form_Load();
  void Form_Activate();
  void FillData(bool UseCurrent);
  void MtrSelection_Click();
  void FeedT_Click(int Index);
  void ASet_Click(int Index);
  void ASW_OK_Click();
  void ASW_Cancel_Click();

  QGroupBox *Frame1, *Frame2, *Frame3;
  QComboBox* MtrSelection;
  QLabel* MtrType;
  std::array<QLineEdit*, 9> MP{};
  std::array<QLabel*, 9> MPL{};
  std::array<QRadioButton*, 3> FeedT{};
  QCheckBox* CTK;
  std::array<QCheckBox*, 4> ASet{};
  std::array<QLineEdit*, 7> ASI{};
  std::array<QLabel*, 5> ASL{};
  std::array<QLabel*, 3> Label1{};
  QCheckBox* DA;
  QPushButton *ASW_OK, *ASW_Cancel;
  float CoffValue = 0;
  float IkpqValue = 5000;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Build();
  MotorPage Page() const;
  void Show(const MotorPage& page);

  MainWin& win_;
  ParamAccess access_;
};

}  // namespace wizards
