#pragma once
// Every subsystem installed into the main window's hooks, as the program has them.
class MainWin;

namespace app {

void InstallSubsystems(MainWin& win);

}  // namespace app
