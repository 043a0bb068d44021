#pragma once
// SIGTERM (a logout, a shutdown), SIGHUP and SIGINT end the program as
// File -> Exit does: the applications closed and listed for the next start,
// the port closed. The handler only writes to a pipe; the event loop reads
// it and closes the window as soon as it may: the search or a running drive
// operation is asked to stop first, an open box is cancelled. During the
// start the start itself ends the program, at its next step.
#include <QObject>

class MainWin;
class QSocketNotifier;
class QTimer;

namespace mainwin {

// Made after the window and gone before it.
class SignalEnd : public QObject {
 public:
  explicit SignalEnd(MainWin& win);
  ~SignalEnd() override;
  SignalEnd(const SignalEnd&) = delete;
  SignalEnd& operator=(const SignalEnd&) = delete;

  // The signal that asked for the end, 0 while none did.
  int Signal() const { return signal_; }

 private:
  void Read();
  void TryEnd();

  MainWin& win_;
  QSocketNotifier* notifier_ = nullptr;
  QTimer* retry_ = nullptr;
  int signal_ = 0;
};

}  // namespace mainwin
