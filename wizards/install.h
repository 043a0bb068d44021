#pragma once
// Puts the wizards' windows into the program: "AxisSetup", "StepperSetup",
// "Tune" and "IOConfig" by name in the window factory, and the main window's
// hooks that prepare the last two. Call before Form_Load.
class MainWin;

namespace wizards {

class AxisSetup;
class IOConfig;
class Tune;

void Install(MainWin& win);

// The one servo wizard, made (and its motor list loaded) on first use but not
// shown: the other wizard windows write through its ChP.
AxisSetup* TheAxisSetup();
// The tuning window and the I/O dialog, made on first use, not shown.
Tune* TheTune();
IOConfig* TheIOConfig();

}  // namespace wizards
