#pragma once
// The stepper set-up wizard: one stepper motor's data from the axis, the
// generic stepper or the library, the feedback choice, and OK, which writes
// the 21 parameters through its ChP. Created once, then shown and hidden.
#include <QDialog>
#include <array>
#include <string>

#include "wizards/model/stepper_page.h"
#include "wizards/param_access.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class MainWin;

namespace wizards {

class StepperSetup : public QDialog {
  Q_OBJECT
 public:
  StepperSetup(MainWin& win, QWidget* parent = nullptr);

  bool ChP(const std::string& name, const std::string& value) { return access_.ChP(name, value); }
  ParamAccess& Access() { return access_; }

  void Form_Load();
  void Form_Activate();
  void FillData(bool UseCurrent);
  void MtrSelection_Click();
  void FeedT_Click(int Index);
  void ASW_OK_Click();
  void ASW_Cancel_Click();
  bool FromCurrent() const { return page_.FromCurrent; }
  bool FromLibrary() const { return page_.FromLibrary; }

  QGroupBox *Frame1, *Frame2;
  QComboBox* MtrSelection;
  std::array<QLineEdit*, 10> MP{};
  std::array<QLabel*, 10> MPL{};  // MPL(9) captions MP(8), MPL(8) captions MP(9)
  std::array<QRadioButton*, 2> FeedT{};
  QPushButton *ASW_OK, *ASW_Cancel;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Build();
  // The page with the operator's edits.
  StepperPage Page() const;
  void Show(const StepperPage& page);

  MainWin& win_;
  ParamAccess access_;
  StepperPage page_;
};

}  // namespace wizards
