#include "editing/over_tree.h"

#include <QListWidget>
#include <QMouseEvent>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"

namespace editing {

void PlaceOverTree(QWidget& dialog, MainWin& win) {
  const QPoint tree = win.Sys->mapTo(&win, QPoint(0, 0));
  dialog.move(win.geometry().left() + tree.x(), win.geometry().top() + tree.y());
}

bool RightPressOn(const QListWidget* list, const QObject* watched, const QEvent* e) {
  return watched == list->viewport() && e->type() == QEvent::MouseButtonPress &&
         static_cast<const QMouseEvent*>(e)->button() == Qt::RightButton;
}

}  // namespace editing
