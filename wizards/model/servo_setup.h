#pragma once
// The servo wizard's application frame and its OK: which inputs are live for
// which use, the inputs pre-filled from the axis, and the whole ordered list
// of parameters that OK writes, refused before any write when it cannot be
// made.
#include <array>
#include <string>
#include <vector>

#include "wizards/model/axis_port.h"
#include "wizards/model/motor_page.h"

namespace wizards {

// The live controls for the first checked use (0..3, -1 none).
struct UseState {
  std::array<bool, 4> aset{};    // ASet(0..3) enabled
  std::array<bool, 7> asi{};     // ASI(0..6) and their labels
  std::array<bool, 3> label1{};  // Label1(0..2)
  bool ok = true;                // ASW_OK
  bool daEnabled = true;
  bool daFromDcm = true;  // DA checked by the axis' DCM; else checked and locked
};
UseState UseRule(int firstChecked);

// The application inputs each activation gives, from the axis (reads DCM,
// PET, SPPR, ACC, FSV and CM in that order).
struct ServoInputs {
  bool da = false;
  std::array<std::string, 7> asi;
  int use = -1;  // the use to check; -1 none (OK stays disabled)
};
ServoInputs PrefillInputs(const MotorPage& page, AxisPort& axis);

// Everything OK reads.
struct ServoForm {
  MotorPage page;
  std::array<bool, 4> aset{};
  std::array<std::string, 7> asi;
  bool da = false;
  bool tauOrPhi = false;
};

struct ServoWrites {
  std::vector<ParamWrite> writes;
  std::string error;  // why nothing may be written; "" when all is well
};
ServoWrites ServoSetupWrites(const ServoForm& form);

}  // namespace wizards
