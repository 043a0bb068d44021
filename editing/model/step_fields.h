#pragma once
// The rules of the step editor's two operand fields: the units caption of a
// descriptor and the checks a typed operand must pass.
#include <optional>
#include <string>

namespace talvero {

// The descriptor with the program's units: " [u]", " [u/sec]", " [u/sec²]".
std::string UnitsCaption(const std::string& descriptor, const std::string& units);

struct FieldCheck {
  bool ok = false;
  std::string message;  // why it was refused
  std::string text;     // the text to store (upper case unless free)
};

// Checks operand 1 or 2, described by caption (units suffix included). The
// same rules hold for Next and Prev.
FieldCheck CheckStepField(int operand, const std::string& caption, const std::string& text);

}  // namespace talvero
