#pragma once
// The legacy Format of a number with a display picture.
#include <string>
#include <string_view>

namespace rt {

// Picture characters: "0" a digit always shown, "#" a digit shown only when significant,
// "." the decimal point (the first one), "," before the point turns on grouping by
// thousands, "\" shows the next character as it is, text between double quotes is shown as
// it is, every other character is shown as it is (also "%": it does not scale).
// The value is rounded half away from zero on its 15-digit decimal text to the places the
// picture shows; integer digits beyond the picture are still shown; a picture without a
// "0" before the point shows no integer digit for a value below 1 (0 in "#.##" is "."), and
// the point stays when no decimal follows it (5 in "#.##" is "5."). A negative value gets a
// leading "-" unless it rounds to zero. An empty picture gives CStrDouble(value).
std::string Format(double value, std::string_view picture);

// The same for a 32-bit float, which the legacy runtime prints from 7 significant digits.
std::string FormatSingle(float value, std::string_view picture);

}  // namespace rt
