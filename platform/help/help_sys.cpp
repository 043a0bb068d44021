#include "platform/help/help_sys.h"

#include "platform/help/help_service.h"

namespace HelpSys {

void ShowHelpContents() { talvero::TheHelp().ShowHelpContents(); }
void ShowStepHelp(int16_t context) { talvero::TheHelp().ShowStepHelp(context); }
void ShowHelpPopup(int16_t context) { talvero::TheHelp().ShowHelpPopup(context); }
void ShowHelpSearch() { talvero::TheHelp().ShowHelpSearch(""); }

}  // namespace HelpSys
