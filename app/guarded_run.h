#pragma once
// The program's event loop, guarded: an exception that escapes an event's
// handler (an allocation that failed, say) ends the loop instead of the
// process, so the user's applications are closed as at any exit and one box
// says why.
#include <QApplication>
#include <exception>
#include <string>

class MainWin;

namespace app {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* e) override;
  // Keeps the first failure (nullptr: one of no known kind) and ends the loop.
  void Fail(const std::exception* e);
  bool Failed() const { return failed_; }
  // Forgets a failure, so that another window can run (tests run many).
  void ClearFailure() {
    failed_ = false;
    failure_.clear();
  }
  const std::string& Failure() const { return failure_; }

 private:
  bool failed_ = false;
  std::string failure_;
};

// The one box's text after a failure.
std::string FailureText(const std::string& failure);

// Loads the window and runs it until it closes; its exit status.
int RunWindow(GuardedApplication& app, MainWin& win, const std::string& commandLine);
// Runs the loaded window until it closes: after a failure its applications
// are closed and stored, the box shown, and the status is 1.
int RunLoadedWindow(GuardedApplication& app, MainWin& win);

}  // namespace app
