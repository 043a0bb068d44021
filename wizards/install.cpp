#include "wizards/install.h"

#include "platform/ui/qt/window_factory.h"
#include "wizards/axis_setup.h"
#include "wizards/stepper_setup.h"

namespace wizards {

void Install(MainWin& win) {
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.Register("AxisSetup", [&win](QWidget* parent) { return new AxisSetup(win, parent); });
  wf.Register("StepperSetup", [&win](QWidget* parent) { return new StepperSetup(win, parent); });
}

AxisSetup* TheAxisSetup() {
  return qobject_cast<AxisSetup*>(talvero::TheWindowFactory().Window("AxisSetup"));
}

}  // namespace wizards
