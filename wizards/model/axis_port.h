#pragma once
// What the wizards' pages need of the selected axis: its present values by
// the one read rule, and its family. The window supplies the real axis;
// tests give a table.
#include <string>

namespace wizards {

class AxisPort {
 public:
  virtual ~AxisPort() = default;
  // The present value's text; "" when the drive does not answer (the window
  // then shows no value).
  virtual std::string Read(const std::string& name) = 0;
  // Whether the selected axis is of the family (a code such as "TAU").
  virtual bool IsFamily(const std::string& code) = 0;

  // The leading number of the value, 0 when it has none.
  double Number(const std::string& name);
  // A code (CM, DCM, DM, FEED): the number rounded half to even.
  int Code(const std::string& name);
  // TAU, then PHI.
  bool TauOrPhi() { return IsFamily("TAU") || IsFamily("PHI"); }
};

// One parameter as a wizard writes it.
struct ParamWrite {
  std::string name;
  std::string value;
  bool operator==(const ParamWrite&) const = default;
};

// A number shown with a picture, for writing: a picture that prints nothing
// or a bare point ("" or ".") writes "0", never an empty value.
std::string WritePic(double value, const char* picture);

}  // namespace wizards
