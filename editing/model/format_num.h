#pragma once
// Display text of a parameter value from the library's Format field: a
// numeric picture (it starts with "#") or the code of an enumeration.
// The list views, the value editor, the status panel, the watch lines and the
// reports all format through here.
#include <string>
#include <string_view>

namespace talvero {

std::string FormatNum(double value, std::string_view fmt);

// The entry of an enumeration code, "" when the code or the entry is none.
std::string FormatEntry(std::string_view code, double index);

}  // namespace talvero
