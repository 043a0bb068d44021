#pragma once
// The reports in the main window: "PrintApp" by name in the window factory.
class MainWin;

namespace reports {

void Install(MainWin& win);

}  // namespace reports
