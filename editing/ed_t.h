#pragma once
// "Edit an Event...": the type of one event and its two operands.
#include <string>

#include "editing/over_tree.h"
#include "store/threads_mod.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class MainWin;

namespace editing {

class EdT : public OverTreeDialog, public ThreadsMod::EventEditor {
  Q_OBJECT
 public:
  explicit EdT(MainWin& win);

  QListWidget* Step;
  QCheckBox* ThED;
  QPushButton *OK, *Cancel;

  int EventOp = -1;
  std::string EventP1, EventP2;
  bool OKPressed = false;
  bool Cancelled = false;
  int ChosenOp = -1;

  ThreadsMod::EventEdit DoEdit(const ThreadsMod::EventEdit& start) override;
  // Edits the event set in the public members and ThED, modally.
  void DoEdit();
  void Select_Based_on_OP();
  void Fill_in();
  void Step_Click();
  void OK_Click();

 protected:
  const QListWidget* HelpList() const override;
  void ShowTypeHelp() override;

 private:
  // Checks one visible operand box; false (and says why) when it is refused.
  bool OperandOk(const QLabel* label, const QLineEdit* text);

  bool filling_ = false;
};

}  // namespace editing
