#include "editing/model/step_fields.h"

#include "runtime/cp1252.h"
#include "runtime/text.h"
#include "store/syntax.h"

namespace talvero {

namespace {

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// Names and free texts, whose operands are no expressions.
bool ExpressionExempt(const std::string& d) {
  return d == "Label" || d == "Text" || d == "Variable" || Contains(d, "Output") || Contains(d, "P1");
}

bool IsVariableName(const std::string& t) {
  if (t.empty() || t[0] < 'A' || t[0] > 'Z') return false;
  for (char c : t)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

FieldCheck Refused(std::string message) { return {false, std::move(message), {}}; }

}  // namespace

std::string UnitsCaption(const std::string& d, const std::string& u) {
  if (Contains(d, "Position")) return d + " [" + u + "]";
  if (Contains(d, "Speed") || Contains(d, "Velocity")) return d + " [" + u + "/sec]";
  if (Contains(d, "Acceleration")) return d + " [" + u + "/sec\u00b2]";
  return d;
}

FieldCheck CheckStepField(int operand, const std::string& d, const std::string& t) {
  if (rt::CharCount(t) > 48)
    return Refused(operand == 1 ? "The 1st field is limited to 48 characters"
                                : "The 2nd field is limited to 48 characters");
  // A raw drive command is free text.
  if (operand == 1 && d.rfind("IML", 0) == 0) return {true, {}, t};
  if (rt::Trim(t).empty()) return Refused("A valid expression is required for " + d);
  if (!ExpressionExempt(d) && !Syntax::IsValidExpression(t))
    return Refused("A valid expression (without any spaces) is required for " + d);
  if (operand == 1 && d == "Text" && t.find_first_of(",:\\") != std::string::npos)
    return Refused("Commas, colons and backslashes are not allowed in a text field.");
  std::string upper = rt::UCase(t);
  if (operand == 1 && d == "Variable" && !IsVariableName(upper))
    return Refused("Invalid variable name: must be alphanumeric.");
  return {true, {}, upper};
}

}  // namespace talvero
