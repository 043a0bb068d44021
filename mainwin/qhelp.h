#pragma once
// The main window's own tooltips: a borderless window beside the pointer
// that hides itself about three seconds after the last request.
#include <QPoint>
#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QTimer;

class QHelp : public QWidget {
  Q_OBJECT
 public:
  // tipsOn: whether the Help menu's tips item is checked.
  QHelp(std::function<bool()> tipsOn, QWidget* parent = nullptr);
  void TT(const std::string& text);
  void TTtimer_Timer();

  QLabel* Helptxt;
  QTimer* TTtimer;
  int Countdown() const { return countdown_; }
  bool Skip() const { return skip_; }
  // Where the pointer is; tests place it.
  std::function<QPoint()> CursorPos;

 private:
  void HideTip();
  std::function<bool()> tipsOn_;
  int countdown_ = 0;
  bool skip_ = false;
};
