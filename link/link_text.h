#pragma once
// Text helpers at the link's edge: drive text is bytes (Windows-1252).
#include <string>

namespace linktext {

// Upper case of ASCII and of the Windows-1252 letters.
std::string UpperCase(const std::string& s);

}  // namespace linktext
