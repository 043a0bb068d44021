#pragma once
// The servo wizard's motor and feedback page as data: what each box and
// caption shows, which are live, and the two values kept for the write-back.
// The dialog draws it and reads the operator's edits back into it.
#include <array>
#include <string>

#include "wizards/model/axis_port.h"
#include "wizards/model/motor_library.h"

namespace wizards {

struct PageBox {
  bool visible = true;
  bool enabled = true;
  std::string text;
};

enum Feed { kEncoder = 0, kResolver = 1, kTachometer = 2 };

struct MotorPage {
  std::string type;                    // MtrType
  std::array<std::string, 9> caption;  // MPL(0..8)
  std::array<PageBox, 9> box;          // MP(0..8)
  int feed = kEncoder;                 // the chosen FeedT
  std::array<bool, 3> feedEnabled{true, true, true};
  std::string ctkCaption = "Commutation Tracks (Z-chan)";
  bool ctkEnabled = true;
  bool ctk = false;
  float coff = 0;     // CoffValue
  float ikpq = 5000;  // IkpqValue
};

// The page as the dialog is created.
MotorPage DesignMotorPage();

// The fixed rows of the motor list, each 34 characters.
const std::array<std::string, 6>& ServoFixedRows();

// Row 0: the axis' present settings (DM gives the page).
void FillFromCurrent(MotorPage& page, AxisPort& axis);
// Rows 1 to 5: the generic motors, with the axis' present values.
void FillGeneric(MotorPage& page, int row, AxisPort& axis);
// A library motor: its fields, every box locked. A Type that is not a servo
// code leaves the page as it was.
void FillLibrary(MotorPage& page, const MotorRecord& motor, AxisPort& axis);

// The operator chose a feedback option.
void FeedTClick(MotorPage& page, int index);

}  // namespace wizards
