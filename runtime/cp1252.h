#pragma once
// Windows-1252 bytes, as text crosses the serial line, and UTF-8, as the program keeps it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// nullopt when the UTF-8 is invalid or holds a character that has no Windows-1252 byte.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// What Utf8ToCp1252 stops at: the first character with no Windows-1252 byte (its UTF-8), or
// the first byte that is not UTF-8; nullopt when the whole text converts.
std::optional<std::string> FirstWithoutCp1252(std::string_view utf8);

// Every byte has a character: the five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become U+0081 etc., so that any bytes a drive sends survive the trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// How many characters the UTF-8 text holds: the bytes a drive gets for it,
// one Windows-1252 byte each, and the characters a field of the store counts.
std::size_t CharCount(std::string_view utf8);

// One character appended as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace rt
