#pragma once
// The legacy runtime's small text functions.
#include <string>
#include <string_view>

namespace rt {

// ASCII letters only; every other byte stays as it is.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// Equal once both are in UCase; no copy is made.
bool SameText(std::string_view a, std::string_view b);

// Blanks (the space character) only, as the legacy Trim: tabs and line ends stay.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// Every occurrence of find, left to right and without rescanning the replacement.
// An empty find changes nothing.
std::string Replace(std::string_view text, std::string_view find, std::string_view with);

}  // namespace rt
