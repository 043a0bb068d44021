#pragma once
// Whether a typed text is one well-formed expression of the drive's
// expression language. A pure syntax check: nothing is evaluated.
#include <string_view>

namespace Syntax {

// False for any character below code 33 (blanks, control characters);
// otherwise EvaluateExpression.
bool IsValidExpression(std::string_view text);
// The parse alone, which skips blanks between tokens.
bool EvaluateExpression(std::string_view text);

}  // namespace Syntax
