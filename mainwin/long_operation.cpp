#include "mainwin/long_operation.h"

#include <QMenu>
#include <QMenuBar>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"

namespace mainwin {

LongOperation::LongOperation(MainWin& win, int node) : win_(win), node_(node) {
  if (win_.RunningOperation()) return;
  held_ = true;
  win_.longOp_ = this;
  Lock(win_.Sys);
  Lock(win_.menuBar());
  Lock(win_.AAMenu);
}

LongOperation::~LongOperation() {
  if (!held_) return;
  win_.longOp_ = nullptr;
  for (QPointer<QWidget>& w : locked_)
    if (w) w->setEnabled(true);
}

void LongOperation::Lock(QWidget* w) {
  if (!w || !w->isEnabled()) return;
  for (QPointer<QWidget>& slot : locked_)
    if (!slot) {
      slot = w;
      w->setEnabled(false);
      return;
    }
}

}  // namespace mainwin
