#include "mainwin/signal_end.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>

#include "mainwin/main_win.h"

namespace mainwin {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_pipe[2] = {-1, -1};
struct sigaction g_old[3];

// All a signal handler may safely do: one byte into the pipe.
void OnSignal(int sig) {
  const int saved = errno;
  const unsigned char b = static_cast<unsigned char>(sig);
  (void)!::write(g_pipe[1], &b, 1);
  errno = saved;
}

}  // namespace

SignalEnd::SignalEnd(MainWin& win) : win_(win) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Read(); });
  retry_ = new QTimer(this);
  retry_->setSingleShot(true);
  retry_->setInterval(50);
  connect(retry_, &QTimer::timeout, this, [this] { TryEnd(); });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &sa, &g_old[i]);
}

SignalEnd::~SignalEnd() {
  if (!notifier_) return;
  for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &g_old[i], nullptr);
  delete notifier_;
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void SignalEnd::Read() {
  unsigned char b = 0;
  while (::read(g_pipe[0], &b, 1) == 1)
    if (!signal_) signal_ = b;
  if (signal_) TryEnd();
}

void SignalEnd::TryEnd() {
  // What runs is asked to finish: the search and an operation stop at their
  // next request, an open box is cancelled. A start under way then ends the
  // program itself; closing the window before the main loop runs would leave
  // that loop running for good.
  win_.RequestEnd();
  bool wait = win_.Starting() || win_.TreeRefreshing || win_.RunningOperation();
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    else modal->close();
    wait = true;
  }
  if (wait) {
    retry_->start();
    return;
  }
  win_.close();
  QCoreApplication::exit(0);
}

}  // namespace mainwin
