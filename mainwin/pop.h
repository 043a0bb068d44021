#pragma once
// The progress window of the drive search. The first search (at start-up)
// reports on the splash screen instead; every later one shows this window
// over the disabled main window. Ctrl-C or the stop button ends a search.
#include <QDialog>
#include <string>

#include "mainwin/drive_search.h"

class QLabel;
class QPushButton;
class Splash;

class POP : public QDialog, public mainwin::SearchProgress {
  Q_OBJECT
 public:
  POP(QWidget* mainWindow, Splash* splash);

  void StatOn(const std::string& caption) override;
  void Stat(const std::string& text) override;
  void StatOff();
  bool Clicked() override { return clicked_; }
  void SetClicked();
  void POP_Form_KeyPress(int keyAscii);
  bool PopupMode() const { return popupMode_; }

  QLabel* PS1;
  QLabel* PS2;
  QPushButton* Stop;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void reject() override;  // Escape and the close box stop, never just hide

 private:
  QWidget* main_;
  Splash* splash_;
  bool clicked_ = false;
  bool popupMode_ = false;
  std::string caption_;
};

bool IsControlC(QKeyEvent* e);
