#pragma once
// The I/O configuration dialog: the family's I/O functions as a list with
// "on" and "off" pictures, switched by a double click or the space key, and
// the configuration word IOCW written back by "Set Configuration and Exit".
// Created once and kept; each opening starts from Load_IOCW.
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "wizards/model/io_functions.h"

class QLabel;
class QPushButton;
class EditListBox;
class MainWin;

namespace wizards {

class IOConfig : public QDialog {
  Q_OBJECT
 public:
  explicit IOConfig(MainWin& win, QWidget* parent = nullptr);

  // Reads the axis' word now; LoadOnShow leaves the read to the dialog's
  // showing, when the main window takes no input.
  void Load_IOCW();
  void LoadOnShow() { loadPending_ = true; }
  void Form_Activate();
  void IOL_DblClick();
  void IOL_KeyPress(int16_t& KeyAscii);
  void IOSet_Click();
  void IOExit_Click() { hide(); }

  // The drive did not answer: no function shows and Set writes nothing.
  bool Unread() const { return unread_; }

  EditListBox* IOL;
  QLabel* Label1;
  QLabel* Notice;  // "Node n does not answer", where the list would be
  QPushButton *IOSet, *IOExit;

  int32_t IOCW = 0;
  std::string IOTableKey;

 protected:
  void showEvent(QShowEvent* e) override;
  // Refused while the word is read: the dialog's own loop may not run yet.
  void closeEvent(QCloseEvent* e) override;

 private:
  void Place();

  MainWin& win_;
  IoFunctions functions_;
  bool loadPending_ = false;
  bool unread_ = false;
};

}  // namespace wizards
