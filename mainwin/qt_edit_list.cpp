#include "mainwin/qt_edit_list.h"

QtEditList::QtEditList(QWidget* parent) : QListWidget(parent) {
  setObjectName("EditList");
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAlternatingRowColors(true);
}

void QtEditList::Clear() { clear(); }

void QtEditList::AddItem(const std::string& text) {
  QString t = QString::fromStdString(text);
  t.replace(QLatin1Char('\t'), QLatin1String("    "));
  addItem(t);
}

int QtEditList::ListCount() const { return count(); }

std::string QtEditList::ItemText(int row) const {
  QListWidgetItem* it = item(row);
  return it ? it->text().toStdString() : std::string();
}

void QtEditList::SetNoRedraw(bool on) { setUpdatesEnabled(!on); }
