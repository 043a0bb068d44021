#pragma once
// Puts the wizards' windows into the program: "AxisSetup" and
// "StepperSetup" by name in the window factory. Call before Form_Load.
class MainWin;

namespace wizards {

class AxisSetup;

void Install(MainWin& win);

// The one servo wizard, made (and its motor list loaded) on first use but not
// shown: the other wizard windows write through its ChP.
AxisSetup* TheAxisSetup();

}  // namespace wizards
