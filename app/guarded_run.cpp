#include "app/guarded_run.h"

#include <new>

#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"

namespace app {

bool GuardedApplication::notify(QObject* receiver, QEvent* e) {
  try {
    return QApplication::notify(receiver, e);
  } catch (const std::exception& ex) {
    Fail(&ex);
  } catch (...) {
    Fail(nullptr);
  }
  return false;
}

void GuardedApplication::Fail(const std::exception* e) {
  if (!failed_) {
    failed_ = true;
    if (dynamic_cast<const std::bad_alloc*>(e)) failure_ = "out of memory";
    else failure_ = e && *e->what() ? e->what() : "an unknown error";
  }
  exit(1);
}

std::string FailureText(const std::string& failure) {
  return "Talvero has to close: " + failure +
         ".\n\nThe open applications were closed and are opened again at the next start; every change "
         "made to them was already stored.";
}

namespace {
// Ends the window as any exit does and, after a failure, says why.
int Finish(GuardedApplication& app, MainWin& win, int rc) {
  try {
    win.Form_Terminate();
  } catch (const std::exception& e) {
    app.Fail(&e);
  } catch (...) {
    app.Fail(nullptr);
  }
  if (!app.Failed()) return rc;
  try {
    talvero::ThePrompter().Message(
        {FailureText(app.Failure()), "Talvero", talvero::Buttons::Ok, talvero::Icon::Critical, 0});
  } catch (...) {
    // No box could be shown: the applications are closed all the same.
  }
  return 1;
}
}  // namespace

int RunWindow(GuardedApplication& app, MainWin& win, const std::string& commandLine) {
  try {
    if (!win.Form_Load(commandLine)) return win.ExitStatus;
  } catch (const std::exception& e) {
    app.Fail(&e);
    return Finish(app, win, 1);
  } catch (...) {
    app.Fail(nullptr);
    return Finish(app, win, 1);
  }
  return RunLoadedWindow(app, win);
}

int RunLoadedWindow(GuardedApplication& app, MainWin& win) {
  int rc = 0;
  try {
    win.show();
    // A failure during the load has ended no loop yet: it ends this one at once.
    rc = app.Failed() ? 1 : app.exec();
  } catch (const std::exception& e) {
    app.Fail(&e);
  } catch (...) {
    app.Fail(nullptr);
  }
  return Finish(app, win, rc);
}

}  // namespace app
