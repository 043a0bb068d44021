#pragma once
// The rules of the parameter view and the value, event and settings editors
// that need no window: row texts, the range box, what a typed text must be.
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/prompter.h"

namespace talvero {

// "fullname (NAME)" TAB value " " units; with no units the row ends with the blank.
std::string ParameterRowText(std::string_view fullname, std::string_view name, std::string_view value,
                             const std::optional<std::string>& units);
// "(NAME)", what finds a parameter's row again.
std::string RowTag(std::string_view name);
// Read-only parameters are shown in italics, except in service mode.
bool ParameterRowItalic(const std::optional<std::string>& rw, bool serviceMode);

// A drive limit as the range box shows it: to 7 significant digits and back,
// so a single's 0.1 reads 0.1, then through the parameter's Format.
std::string LimitText(float limit, std::string_view format);
bool WithinLimits(float x, float lo, float hi);
MessageBox OutOfRangeBox(std::string_view name, float lo, float hi, std::string_view format);

// The entry of an enumeration a value names (to the nearest, a half to the
// even one), nullopt when it names none of the count entries.
std::optional<int> EnumerationIndex(double value, int count);

// Whether two values are the same number once held as singles.
bool SameSingle(double a, double b);

// The whole text (blanks round it aside) is one decimal number.
bool IsPlainNumber(std::string_view text);
// A transmission ratio: a positive number a single can hold.
std::optional<float> TransmissionRatio(std::string_view text);

// Event operands that the drive evaluates, by their label; the others
// ("Label", "Command") are free text.
bool OperandIsExpression(std::string_view label);

}  // namespace talvero
