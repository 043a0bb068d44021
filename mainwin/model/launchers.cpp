#include "mainwin/model/launchers.h"

#include "mainwin/model/axis_type_match.h"

namespace talvero {

AxisWizard WizardForAxis(std::string_view family) {
  return AxisTypeMatch("PSI", family) ? AxisWizard::StepperSetup : AxisWizard::AxisSetup;
}

std::optional<int> GettingStartedContext(int index) {
  if (index < 0 || index > 4) return std::nullopt;
  return 8001 + index;
}

TipsState ToggleTips(bool checkedNow) {
  return checkedNow ? TipsState{false, "0"} : TipsState{true, "1"};
}

ScopeAction ScopeButton(bool scopeOpen) { return scopeOpen ? ScopeAction::Activate : ScopeAction::Open; }

bool RebuildViewAfterSettle(bool parameterViewShown, bool eventViewShown) {
  return parameterViewShown || eventViewShown;
}

}  // namespace talvero
