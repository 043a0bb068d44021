#pragma once
// Free text made safe for an RTF report, and fixed-width labels.
#include <string>
#include <string_view>

namespace reports {

// UTF-8 in: backslash and braces escaped, Windows-1252 characters above 127
// as \'hh, others as \uN?, TAB as \tab, control characters other than CR
// and LF dropped. A byte that is no UTF-8 is taken as Windows-1252.
std::string deRTF(std::string_view utf8);
// Drive text (Windows-1252 bytes) the same way.
std::string deRTF1252(std::string_view bytes);

// s padded with blanks to n characters; a longer s comes back whole.
std::string PadTo(std::string_view s, int n);

}  // namespace reports
