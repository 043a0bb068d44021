#pragma once
// Text helpers at the link's edge: drive text is bytes (Windows-1252).
#include <string>

namespace linktext {

// Leading and trailing blanks removed.
std::string Trim(const std::string& s);
// Upper case of ASCII and of the Windows-1252 letters.
std::string UpperCase(const std::string& s);
// The longest decimal number at the start (blanks skipped, optional sign,
// "." as the point, optional exponent); 0 when there is none.
double LeadingNumber(const std::string& s);

}  // namespace linktext
