// The expression checker on arbitrary text: blanks around the whole text do
// not change the parse, a text with a blank is never a valid expression, and
// no nesting overflows the stack.
#include <string>

#include "fuzz/fuzz_target.h"
#include "store/syntax.h"

TALVERO_FUZZ_TARGET(expression) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool parses = Syntax::EvaluateExpression(text);
  FUZZ_CHECK(Syntax::EvaluateExpression("  " + text + " ") == parses,
             "blanks around the expression changed the parse");
  const bool valid = Syntax::IsValidExpression(text);
  FUZZ_CHECK(!valid || parses, "valid but does not parse");
  FUZZ_CHECK(!Syntax::IsValidExpression(" " + text), "a leading blank was taken as valid");
  FUZZ_CHECK(!valid || Syntax::IsValidExpression("(" + text + ")"), "a valid expression stopped being one in brackets");
  return 0;
}
