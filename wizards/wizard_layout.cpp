#include "wizards/wizard_layout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace wizards {

QLineEdit* TextBox(QWidget* parent, const QString& text) {
  auto* box = new QLineEdit(text, parent);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(14, QChar('0'))));
  return box;
}

QGridLayout* LabelledRows(const std::vector<std::pair<QWidget*, QWidget*>>& rows) {
  auto* grid = new QGridLayout;
  for (int r = 0; r < int(rows.size()); ++r) {
    grid->addWidget(rows[size_t(r)].first, r, 0);
    grid->addWidget(rows[size_t(r)].second, r, 1, Qt::AlignRight);
  }
  grid->setColumnStretch(0, 1);
  return grid;
}

QLayout* Indented(QLayout* inner) {
  auto* row = new QHBoxLayout;
  row->addSpacing(20);
  row->addLayout(inner, 1);
  return row;
}

QLayout* ButtonRow(QPushButton* ok, QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* b : {ok, cancel}) {
    b->setMinimumWidth(90);
    row->addWidget(b);
  }
  return row;
}

}  // namespace wizards
