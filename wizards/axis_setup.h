#pragma once
// The servo set-up wizard: the application inputs, the motor and feedback
// page, and OK, which writes the whole set-up through ChP. Created once;
// OK and Cancel only hide it, and every activation reads the axis afresh.
#include <array>

#include "wizards/model/motor_page.h"
#include "wizards/wizard_dialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace wizards {

class AxisSetup : public WizardDialog {
  Q_OBJECT
 public:
  AxisSetup(MainWin& win, QWidget* parent = nullptr);

  void Form_Load();
  void Form_Activate() override;
  void FillData(bool UseCurrent) override;
  void FeedT_Click(int Index);
  void ASet_Click(int Index);
  void ASW_OK_Click() override;

  QGroupBox *Frame1, *Frame2, *Frame3;
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
  float CoffValue = 0;
  float IkpqValue = 5000;

 private:
  void Build();
  void ClearPage() override;
  MotorPage Page() const;
  void Show(const MotorPage& page);

  int shownFeed_ = -1;
};

}  // namespace wizards
