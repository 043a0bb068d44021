#pragma once
// What the step and event texts take from the main window's display state.
#include <string>

struct DisplayContext {
  // Units name of the program shown, for "~u" in display templates.
  std::string UnitsName = "system-rev";
  // Whether program lines show their number ("007: ") in front.
  bool StepNumbers = false;
};
