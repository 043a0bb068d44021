#include "wizards/model/stepper_page.h"

#include "runtime/format.h"
#include "runtime/val.h"

namespace wizards {

namespace {

struct Row {
  int box;
  const char* param;
  const char* fillPicture;
  float generic;
  float MotorRecord::*field;
};

// In fill order.
constexpr Row kRows[] = {
    {0, "MRSN", "####0", 200, &MotorRecord::mpol},  {2, "MCSV", "###0.00", 5, &MotorRecord::p5},
    {3, "IKP", "####0.0", 1, &MotorRecord::P2},     {5, "MCG", "##0.0", 0, &MotorRecord::p4},
    {7, "IC", "#0.00", 1, &MotorRecord::ic},        {8, "THC", "###0.0", 0, &MotorRecord::P1},
    {9, "EPPR", "#####0", 0, &MotorRecord::feedp},
};

}  // namespace

StepperPage DesignStepperPage() {
  StepperPage p;
  for (int hidden : {1, 4, 6}) p.box[size_t(hidden)].visible = false;
  return p;
}

const std::array<std::string, 2>& StepperFixedRows() {
  static const std::array<std::string, 2> rows = {"- Current Settings                ",
                                                  "- Generic Stepper                 "};
  return rows;
}

void StepperFill(StepperPage& p, bool useCurrent, const MotorRecord* motor, AxisPort& axis) {
  bool library = false;
  if (useCurrent) {
    p.encoder = axis.Number("DM") > 0;
  } else if (motor) {
    p.encoder = motor->feedback != "N";
    library = true;
  } else {
    p.encoder = false;
  }
  p.FromCurrent = useCurrent;
  p.FromLibrary = library;
  p.feedEnabled = {true, true};
  p.box[9].enabled = p.mp9CaptionEnabled = p.encoder;
  if (!p.encoder) p.box[9].text.assign(1, '0');  // not = "0": gcc 12 warns wrongly (-Wrestrict)
  if (library) {
    p.feedEnabled = {false, false};
    p.box[9].enabled = false;
    p.mp9CaptionEnabled = true;
  }
  for (int i = 0; i <= 8; ++i) p.box[size_t(i)].enabled = !library;
  // Grab
  for (const Row& r : kRows) {
    double v = r.generic;
    if (library)
      v = motor->*r.field;
    else if (useCurrent)
      v = axis.Number(r.param);
    p.box[size_t(r.box)].text = rt::Format(v, r.fillPicture);
  }
}

void StepperFeedTClick(StepperPage& p, int index) {
  if (index != 0 && index != 1) return;
  p.encoder = index == 0;
  if (!p.FromLibrary) p.box[9].enabled = p.encoder;
}

std::vector<ParamWrite> StepperWrites(const StepperPage& p) {
  auto w = [&](int box, const char* picture) {
    return WritePic(rt::Val(p.box[size_t(box)].text), picture);
  };
  return {{"DM", p.encoder ? "1" : "0"},
          {"MRSN", w(0, "#####0")},
          {"MCSV", w(2, "###0.00")},
          {"IKP", w(3, "####0.0")},
          {"MCG", w(5, "##0.0")},
          {"THC", w(8, "###0.0")},
          {"EPPR", w(9, "#####0")},
          {"IC", w(7, "##0.00")},
          {"IP", w(7, "##0.00")},
          {"ACC", "1000"},
          {"DEC", "1000"},
          {"OSPD", "20000"},
          {"EM", "0"},
          {"FBF", "500"},
          {"DCV", "0"},
          {"VFF", "0"},
          {"VFI", "0"},
          {"FBS", "1.0"},
          {"DCM", "0"},
          {"CM", "2"},
          {"PET", "0"}};
}

}  // namespace wizards
