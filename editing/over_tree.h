#pragma once
// What the step and event editors share: their place over the tree, their two
// operand rows, Cancel and the right-button press on their list of types.
#include <QDialog>

class QEvent;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QObject;
class QShowEvent;
class QWidget;
class MainWin;

namespace editing {

// Moves dialog to the main window's position plus the tree's.
void PlaceOverTree(QWidget& dialog, MainWin& win);
// Whether e is a right-button press on list.
bool RightPressOn(const QListWidget* list, const QObject* watched, const QEvent* e);

// A dialog shown over the tree, where the window was when it was first shown.
// Cancel, Escape and the close box clear accepted; a right-button press on
// HelpList() shows the help of the type under it.
class OverTreeDialog : public QDialog {
  Q_OBJECT
 public:
  OverTreeDialog(MainWin& win, bool& accepted);

  QLabel *Des1 = nullptr, *Des2 = nullptr;
  QLineEdit *Text1 = nullptr, *Text2 = nullptr;

  void Cancel_Click();

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* e) override;

  // Makes the operand captions and boxes, in their tab order.
  void MakeOperands();
  // Puts them in rows 1 and 2 of grid, captions left.
  void PlaceOperands(QGridLayout* grid);

  virtual const QListWidget* HelpList() const = 0;
  virtual void ShowTypeHelp() = 0;

  MainWin& win_;

 private:
  bool& accepted_;
  bool placed_ = false;
};

}  // namespace editing
