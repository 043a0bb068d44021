#pragma once
// "Edit Program Step...": the kind and type of one program step and its two
// operands. Made once when the library opens, hidden between uses.
#include <string>

#include "editing/over_tree.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class MainWin;
class Program;

namespace editing {

class EdStep : public OverTreeDialog {
  Q_OBJECT
 public:
  explicit EdStep(MainWin& win);

  QListWidget *Typ, *Step;
  QPushButton *Prev, *OK, *Cancel;

  bool EditDone = false;
  int EditDirection = 1;

  // Fills the kinds from the library's step types.
  void EditStepInit();
  // Edits line of pgm modally; the line's display text afterwards. Next and
  // Prev replace the step, Cancel leaves it and sets EditDone.
  std::string EditaStep(Program& pgm, int line);

  void Select_Based_on_OP();
  void Fill_in();
  void Typ_Click();
  void Step_Click();
  void OK_Click() { Accept(1); }
  void Prev_Click() { Accept(-1); }

  int Op() const { return op_; }

 protected:
  const QListWidget* HelpList() const override;
  void ShowTypeHelp() override;

 private:
  void Accept(int direction);
  // Checks one visible field; false (and says why) when it is refused.
  bool FieldOk(int operand, const QLabel* des, QLineEdit* text);
  // Moves the step records to the first of id op; false when there is none.
  bool SeekStep(int op);

  int op_ = -1, oldOp_ = -1;
  std::string oldP1_, oldP2_;
  bool accepted_ = false;
  int kindIndex_ = -2;
  bool filling_ = false;
};

}  // namespace editing
