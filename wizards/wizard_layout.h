#pragma once
// The wizards' small layout pieces, so their dialogs line up alike.
#include <QString>
#include <utility>
#include <vector>

class QGridLayout;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace wizards {

// A value box of the wizards' common width.
QLineEdit* TextBox(QWidget* parent, const QString& text);
// Caption and box side by side, one row each; rows whose two widgets are
// hidden take no room.
QGridLayout* LabelledRows(const std::vector<std::pair<QWidget*, QWidget*>>& rows);
// The layout moved in under the check box that governs it.
QLayout* Indented(QLayout* inner);
// OK and Cancel at the right.
QLayout* ButtonRow(QPushButton* ok, QPushButton* cancel);

}  // namespace wizards
