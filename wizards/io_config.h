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

  void Load_IOCW();
  void Form_Activate();
  void IOL_DblClick();
  void IOL_KeyPress(int16_t& KeyAscii);
  void IOSet_Click();
  void IOExit_Click() { hide(); }

  EditListBox* IOL;
  QLabel* Label1;
  QPushButton *IOSet, *IOExit;

  int32_t IOCW = 0;
  std::string IOTableKey;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Place();

  MainWin& win_;
  IoFunctions functions_;
};

}  // namespace wizards
