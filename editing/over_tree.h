#pragma once
// What the step and event editors share: their place over the tree and the
// right-button press on their list of types.
class QEvent;
class QListWidget;
class QObject;
class QWidget;
class MainWin;

namespace editing {

// Moves dialog to the main window's position plus the tree's.
void PlaceOverTree(QWidget& dialog, MainWin& win);
// Whether e is a right-button press on list.
bool RightPressOn(const QListWidget* list, const QObject* watched, const QEvent* e);

}  // namespace editing
