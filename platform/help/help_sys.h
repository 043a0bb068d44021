#pragma once
// The help calls the windows make, on the program's help service (TheHelp()).
#include <cstdint>

namespace HelpSys {

void ShowHelpContents();
// A topic in the help's "step" window: the Getting Started items use 8001 + index.
void ShowStepHelp(int16_t context);
// A context pop-up: 1000 + step code, 1200 + parameter id, 1400 + event code.
void ShowHelpPopup(int16_t context);
// The keyword index, opened without a preset keyword.
void ShowHelpSearch();

}  // namespace HelpSys
