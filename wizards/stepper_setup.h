#pragma once
// The stepper set-up wizard: one stepper motor's data from the axis, the
// generic stepper or the library, the feedback choice, and OK, which writes
// the 21 parameters through its ChP. Created once, then shown and hidden.
#include <array>

#include "wizards/model/stepper_page.h"
#include "wizards/wizard_dialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace wizards {

class StepperSetup : public WizardDialog {
  Q_OBJECT
 public:
  StepperSetup(MainWin& win, QWidget* parent = nullptr);

  void Form_Load();
  void Form_Activate() override;
  void FillData(bool UseCurrent) override;
  void FeedT_Click(int Index);
  void ASW_OK_Click() override;
  bool FromCurrent() const { return page_.FromCurrent; }
  bool FromLibrary() const { return page_.FromLibrary; }

  QGroupBox *Frame1, *Frame2;
  std::array<QLineEdit*, 10> MP{};
  std::array<QLabel*, 10> MPL{};  // MPL(9) captions MP(8), MPL(8) captions MP(9)
  std::array<QRadioButton*, 2> FeedT{};

 private:
  void Build();
  void ClearPage() override;
  // The page with the operator's edits.
  StepperPage Page() const;
  void Show(const StepperPage& page);

  StepperPage page_;
};

}  // namespace wizards
