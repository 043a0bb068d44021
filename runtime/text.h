#pragma once
// The legacy runtime's small text functions.
#include <string>
#include <string_view>

namespace rt {

// UTF-8 text with its letters of the Windows-1252 code page cased, as the
// legacy runtime cases them ("café" -> "CAFÉ"); ß, µ and every other
// character stay as they are, and the text keeps its length in bytes.
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
