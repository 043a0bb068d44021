#pragma once
// The library's step and event templates: "~1" and "~2" stand for the two
// operands, "~u" (display templates) for the units name.
#include <string>
#include <string_view>

// The template with its first "~1" and first "~2" replaced by the operands
// and, when units is given, every "~u" by it, all in one pass: an operand
// that itself holds "~2" or "~u" stays as it is.
std::string FillTemplate(std::string_view tmpl, std::string_view p1, std::string_view p2,
                         const std::string* units = nullptr);

// A drive-text prototype turned into a Like pattern, with the literals that
// stand before, between and after its operands.
struct PrototypePattern {
  bool hasOne = false;  // "~1" present
  std::string pattern;  // "~1", "~2" as "*", every "[" as "[[]"
  std::string lead;     // before "~1"
  std::string middle;   // between "~1" and "~2"
  std::string trail;    // after the last operand

  static PrototypePattern From(std::string_view prototype);
  // Cuts the operands out of a text the pattern matched. p2 is set only when
  // there is a middle literal; without "~1" nothing is set.
  void CutOperands(std::string_view text, std::string& p1, std::string& p2) const;
};
