#pragma once
// The decisions behind the Wizards and Help menus, the scope button and the
// settling timer; the window opens what they name.
#include <optional>
#include <string>
#include <string_view>

namespace talvero {

enum class AxisWizard { AxisSetup, StepperSetup };
// "Axis Setup...": the stepper wizard for a PSI axis, the servo wizard for any other.
AxisWizard WizardForAxis(std::string_view family);

// Help context of "Getting Started" item index (0..4); nullopt outside.
std::optional<int> GettingStartedContext(int index);

struct TipsState {
  bool checked;
  std::string setting;  // Setup/"TT"
};
TipsState ToggleTips(bool checkedNow);

enum class ScopeAction { Open, Activate };
// One scope window only: while it is open the button only brings it forward.
ScopeAction ScopeButton(bool scopeOpen);

// After a resize settles, a parameter or event view is rebuilt (node click
// with ForceNodeClick on LastNode) for its new fonts and columns.
bool RebuildViewAfterSettle(bool parameterViewShown, bool eventViewShown);

}  // namespace talvero
