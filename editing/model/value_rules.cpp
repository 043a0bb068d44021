#include "editing/model/value_rules.h"

#include <cfloat>
#include <cmath>

#include "editing/model/format_num.h"
#include "runtime/cstr.h"
#include "runtime/rounding.h"
#include "runtime/text.h"
#include "runtime/val.h"

namespace talvero {

std::string RowTag(std::string_view name) { return "(" + std::string(name) + ")"; }

std::string ParameterRowText(std::string_view fullname, std::string_view name, std::string_view value,
                             const std::optional<std::string>& units) {
  return std::string(fullname) + " " + RowTag(name) + "\t" + std::string(value) + " " + units.value_or("");
}

bool ParameterRowItalic(const std::optional<std::string>& rw, bool serviceMode) {
  return !serviceMode && rw && *rw == "N";
}

std::string LimitText(float limit, std::string_view format) {
  return FormatNum(rt::Val(rt::CStrSingle(limit)), format);
}

bool WithinLimits(float x, float lo, float hi) { return lo <= x && x <= hi; }

MessageBox OutOfRangeBox(std::string_view name, float lo, float hi, std::string_view format) {
  MessageBox box;
  box.text = "Error: parameter is out of range\n\nMinimum = " + LimitText(lo, format) +
             "\nMaximum = " + LimitText(hi, format);
  box.title = std::string(name) + ": Out of range....";
  box.buttons = Buttons::OkCancel;
  box.icon = Icon::None;
  return box;
}

std::optional<int> EnumerationIndex(double value, int count) {
  const double k = rt::RoundHalfEven(value);
  if (!(k >= 0 && k < count)) return std::nullopt;
  return int(k);
}

bool SameSingle(double a, double b) { return rt::CSng(a) == rt::CSng(b); }

bool IsPlainNumber(std::string_view text) {
  const std::string t = rt::Trim(text);
  return !t.empty() && rt::LeadingNumberLength(t) == t.size();
}

std::optional<float> TransmissionRatio(std::string_view text) {
  if (!IsPlainNumber(text)) return std::nullopt;
  const double v = rt::Val(rt::Trim(text));
  if (!(v > 0) || v > FLT_MAX) return std::nullopt;
  const float f = float(v);
  if (!(f > 0)) return std::nullopt;  // too small for a single
  return f;
}

bool OperandIsExpression(std::string_view label) {
  return label == "Condition" || label == "Position" || label == "Input" || label == "Period (sec)";
}

}  // namespace talvero
