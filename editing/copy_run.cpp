#include "editing/copy_run.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>

#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"

namespace editing {

CopyRun::CopyRun(MainWin& win, int node) : win_(win), op_(win, node) {
  if (!op_) return;
  qApp->installEventFilter(this);
  Resume();
}

CopyRun::~CopyRun() {
  if (!op_) return;
  qApp->removeEventFilter(this);
  win_.Prog->setValue(0);
  win_.MousePointer(0);
}

void CopyRun::Progress(int value) { win_.Prog->setValue(value); }

void CopyRun::Yield() { talvero::TheClock().ProcessEvents(); }

void CopyRun::Pause() { win_.MousePointer(0); }

void CopyRun::Resume() {
  win_.MousePointer(11);
  Yield();
}

bool CopyRun::Confirm(const std::string& text) {
  Pause();
  const bool ok = talvero::ThePrompter().Confirm(text);
  Resume();
  return ok;
}

bool CopyRun::eventFilter(QObject* /*watched*/, QEvent* e) {
  if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
    op_.RequestStop();
  return false;
}

}  // namespace editing
