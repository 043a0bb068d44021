#pragma once
// Text helpers at the link's edge: the program keeps text as UTF-8, a drive
// reads and writes Windows-1252 bytes. Every text crosses here, each way.
#include <cstdint>
#include <optional>
#include <string>

namespace linktext {

// Upper case of ASCII and of the Windows-1252 letters; works on bytes.
std::string UpperCase(const std::string& s);

// One byte of request data: a line, slot or code number.
inline std::string Byte(int b) { return std::string(1, char(uint8_t(b))); }

// The bytes a drive reads for `text`; nullopt, after one message naming the
// character, when a character has no Windows-1252 byte.
std::optional<std::string> ToDrive(const std::string& text);

// The message that refuses `text`; "" when every character has a byte.
std::string RefusalMessage(const std::string& text);

// A drive's bytes as the program's text; every byte has a character.
std::string FromDrive(const std::string& bytes);

}  // namespace linktext
