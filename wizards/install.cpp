#include "wizards/install.h"

#include "platform/ui/qt/window_factory.h"
#include "mainwin/main_win.h"
#include "wizards/axis_setup.h"
#include "wizards/io_config.h"
#include "wizards/stepper_setup.h"
#include "wizards/tune.h"

namespace wizards {

void Install(MainWin& win) {
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.Register("AxisSetup", [&win](QWidget* parent) { return new AxisSetup(win, parent); });
  wf.Register("StepperSetup", [&win](QWidget* parent) { return new StepperSetup(win, parent); });
  wf.Register("Tune", [&win](QWidget* parent) { return new Tune(win, parent); });
  wf.Register("IOConfig", [&win](QWidget* parent) { return new IOConfig(win, parent); });
  win.TuneFormStartHook = []() {
    if (Tune* t = TheTune()) t->Form_Start();
  };
  // The word is read once the dialog shows, when the tree can no longer move
  // under the read.
  win.IOConfigLoadHook = []() {
    if (IOConfig* d = TheIOConfig()) d->LoadOnShow();
  };
}

AxisSetup* TheAxisSetup() {
  return qobject_cast<AxisSetup*>(talvero::TheWindowFactory().Window("AxisSetup"));
}

Tune* TheTune() { return qobject_cast<Tune*>(talvero::TheWindowFactory().Window("Tune")); }

IOConfig* TheIOConfig() {
  return qobject_cast<IOConfig*>(talvero::TheWindowFactory().Window("IOConfig"));
}

}  // namespace wizards
