#pragma once
// One copy as the user sees it: the window's long-operation guard on the
// copy's node, the hourglass and the progress bar, both reset at the end.
// Escape asks the copy to stop; a copy checks only where stopping leaves the
// drive whole (between programs).
#include <QObject>
#include <string>

#include "mainwin/long_operation.h"

class MainWin;

namespace editing {

class CopyRun : public QObject {
 public:
  CopyRun(MainWin& win, int node);
  ~CopyRun() override;
  explicit operator bool() const { return bool(op_); }
  int Node() const { return op_.Node(); }
  void Progress(int value);
  // Gives pending events their turn.
  void Yield();
  bool StopRequested() const { return op_.StopRequested(); }
  // The hourglass off while a box shows, and back.
  void Pause();
  void Resume();
  // An OK and Cancel question with the hourglass off; true on OK.
  bool Confirm(const std::string& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  MainWin& win_;
  mainwin::LongOperation op_;
};

}  // namespace editing
