#pragma once
// Puts the scope window into the program: the window factory makes it by
// the name "Scope", and the main window's scope button sets its node.
class MainWin;

namespace scope {

void Install(MainWin& main);

}  // namespace scope
