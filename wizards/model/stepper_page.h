#pragma once
// The stepper wizard's page as data: the value boxes and their sources, the
// feedback choice, the three filling states, and the 21 writes of OK.
#include <array>
#include <string>
#include <vector>

#include "wizards/model/axis_port.h"
#include "wizards/model/motor_library.h"
#include "wizards/model/motor_page.h"

namespace wizards {

struct StepperPage {
  std::array<PageBox, 10> box;  // MP(0..9); 1, 4 and 6 stay hidden and untouched
  bool mp9CaptionEnabled = true;
  bool encoder = true;          // FeedT(0) chosen, else FeedT(1)
  std::array<bool, 2> feedEnabled{true, true};
  bool FromCurrent = false;
  bool FromLibrary = false;
};

// As the window is created.
StepperPage DesignStepperPage();

// The two fixed rows, each 34 characters.
const std::array<std::string, 2>& StepperFixedRows();

// FillData: useCurrent takes the axis' present values (row 0); otherwise a
// library motor, or the generic stepper when motor is nullptr.
void StepperFill(StepperPage& page, bool useCurrent, const MotorRecord* motor, AxisPort& axis);

// The operator chose a feedback option (0 Encoder, 1 None).
void StepperFeedTClick(StepperPage& page, int index);

// What OK writes, in order, from the boxes as they stand.
std::vector<ParamWrite> StepperWrites(const StepperPage& page);

}  // namespace wizards
