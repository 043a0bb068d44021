#pragma once
// Text helpers at the link's edge: drive text is bytes (Windows-1252).
#include <cstdint>
#include <string>

namespace linktext {

// Upper case of ASCII and of the Windows-1252 letters.
std::string UpperCase(const std::string& s);

// One byte of request data: a line, slot or code number.
inline std::string Byte(int b) { return std::string(1, char(uint8_t(b))); }

}  // namespace linktext
