#include <gtest/gtest.h>

#include "store/syntax.h"

namespace {

TEST(Syntax, ValidExpressions) {
  for (const char* text :
       {"1", "-3", "2*(-3)", "2^-3", "~-1", "!1", "1/0", "sqrt(-1)", "log(0)", "1.2.3", ".", "foo", "SQRT(4)",
        "Tbl(3)", "nv(1)", "a=b=c", "~a=b", "(a)eqv(b)", "(1)imp(x)", "aeqvb", "a!=b", "a<=b", "a>=b",
        "x_1+PPG*2", "-(1+2)^2", "((1))", "a&b|c", "1<2>3", "outon(3)", "config(1)", "log10(100)", "abs(-x)",
        "_a", "2^3^4", "-a^2", "int(2.5)-off(1)"}) {
    EXPECT_TRUE(Syntax::IsValidExpression(text)) << text;
  }
}

TEST(Syntax, InvalidExpressions) {
  for (const char* text :
       {"", "1 + 2", " 1", "1\t", "2*-3", "2/!1", "--3", "-!1", "2.5e", "foo(1)", "tbl(1,2)", "(1, 1)", "a!b",
        "2x", "$", "(1", "1)", "sqrt()", "1+", "*2", "a eqv b", "(a)EQV(b)", "\xC3\xA4", "1=\x01", "a,b", "f(1)(2)",
        "()", "2*!1"}) {
    EXPECT_FALSE(Syntax::IsValidExpression(text)) << text;
  }
}

TEST(Syntax, BlanksAreRefusedBeforeTheParseThatWouldSkipThem) {
  EXPECT_TRUE(Syntax::EvaluateExpression("a eqv b"));
  EXPECT_TRUE(Syntax::EvaluateExpression(" 1 +\r\n2 "));
  EXPECT_FALSE(Syntax::IsValidExpression("a eqv b"));
  // One check's fault does not carry into the next.
  EXPECT_FALSE(Syntax::IsValidExpression("2*-3"));
  EXPECT_TRUE(Syntax::IsValidExpression("2*3"));
}

}  // namespace
