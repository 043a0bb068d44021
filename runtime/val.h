#pragma once
// The leading-number rule: the number a text starts with.
#include <cstddef>
#include <string_view>

namespace rt {

// How many characters from the start of text (leading blanks included) form its leading
// number: blanks and tabs, an optional sign, digits with at most one decimal point (at least
// one digit), and an optional exponent ("E" or "e", optional sign, digits; an "E" without
// digits is not part of the number). 0 when the text does not start with a number.
std::size_t LeadingNumberLength(std::string_view text);

// The value of the leading number, 0 when there is none. A number beyond the range of a
// double gives the largest double of its sign; one too small to hold gives 0.
double Val(std::string_view text);

}  // namespace rt
