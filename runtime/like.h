#pragma once
// The legacy Like operator with binary (case-sensitive) comparison.
#include <string_view>

namespace rt {

// "?" one character, "*" any run (also none), "#" one digit 0-9, "[list]" one character of
// the list, "[!list]" one character not in it; "a-z" inside brackets is a range, a hyphen
// first or last in a list stands for itself, "[]" matches no character at all. "[[]", "[*]",
// "[?]", "[#]" match those characters literally; "]" outside brackets is an ordinary
// character. Text and pattern are UTF-8: "?" and lists take one whole character.
// A malformed pattern (an unclosed "[" or a descending range) matches nothing.
bool Like(std::string_view text, std::string_view pattern);

}  // namespace rt
