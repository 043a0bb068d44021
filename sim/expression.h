#pragma once
// The drive's expression language: numbers, names, NAME(index) look-ups,
// unary - ! ~, ^ * / + -, comparisons, & |, eqv and imp.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace talvero::sim {

// Resolves a variable name (upper case) to its value; nullopt when unknown.
using NameLookup = std::function<std::optional<double>(const std::string& name)>;
// Resolves a function or indexed variable: name (upper case) applied to an argument.
using CallLookup = std::function<std::optional<double>(const std::string& name, double arg)>;

// The value of the text, or nullopt when it does not parse or names something unknown.
std::optional<double> Evaluate(std::string_view text, const NameLookup& names,
                               const CallLookup& calls);

}  // namespace talvero::sim
