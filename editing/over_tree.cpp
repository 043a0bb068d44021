#include "editing/over_tree.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QShowEvent>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/ui/qt/window_place.h"

namespace editing {

void PlaceOverTree(QWidget& dialog, MainWin& win) {
  const QPoint tree = win.Sys->mapTo(&win, QPoint(0, 0));
  talvero::PlaceWindow(dialog, QPoint(win.geometry().left() + tree.x(), win.geometry().top() + tree.y()));
}

bool RightPressOn(const QListWidget* list, const QObject* watched, const QEvent* e) {
  return watched == list->viewport() && e->type() == QEvent::MouseButtonPress &&
         static_cast<const QMouseEvent*>(e)->button() == Qt::RightButton;
}

OverTreeDialog::OverTreeDialog(MainWin& win, bool& accepted)
    : QDialog(&win), win_(win), accepted_(accepted) {}

void OverTreeDialog::MakeOperands() {
  Des1 = new QLabel(this);
  Des1->setObjectName("Des1");
  Des2 = new QLabel(this);
  Des2->setObjectName("Des2");
  Text1 = new QLineEdit(this);
  Text1->setObjectName("Text1");
  Text2 = new QLineEdit(this);
  Text2->setObjectName("Text2");
}

void OverTreeDialog::PlaceOperands(QGridLayout* grid) {
  grid->addWidget(Des1, 1, 0);
  grid->addWidget(Text1, 1, 1);
  grid->addWidget(Des2, 2, 0);
  grid->addWidget(Text2, 2, 1);
}

void OverTreeDialog::Cancel_Click() {
  accepted_ = false;
  done(QDialog::Rejected);
}

void OverTreeDialog::reject() {
  accepted_ = false;
  QDialog::reject();
}

void OverTreeDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (placed_) return;
  placed_ = true;
  PlaceOverTree(*this, win_);
}

bool OverTreeDialog::eventFilter(QObject* watched, QEvent* e) {
  if (RightPressOn(HelpList(), watched, e)) {
    ShowTypeHelp();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace editing
