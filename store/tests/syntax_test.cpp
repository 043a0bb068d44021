#include <gtest/gtest.h>

#include <string>

#include "store/syntax.h"

namespace {

TEST(Syntax, ValidExpressions) {
  for (const char* text :
       {"1", "-3", "2*(-3)", "2^-3", "~-1", "!1", "1/0", "sqrt(-1)", "log(0)", "1.2.3", ".", "foo", "SQRT(4)",
        "Tbl(3)", "nv(1)", "a=b=c", "~a=b", "(a)eqv(b)", "(1)imp(x)", "aeqvb", "a!=b", "a<=b", "a>=b",
        "x_1+PPG*2", "-(1+2)^2", "((1))", "a&b|c", "1<2>3", "outon(3)", "config(1)", "log10(100)", "abs(-x)",
        "_a", "2^3^4", "-a^2", "int(2.5)-off(1)", "a+-b", "a=-b", "a|!b", "2*~-3", "a*b^-c"}) {
    EXPECT_TRUE(Syntax::IsValidExpression(text)) << text;
  }
}

TEST(Syntax, InvalidExpressions) {
  for (const char* text :
       {"", "1 + 2", " 1", "1\t", "2*-3", "2/!1", "--3", "-!1", "2.5e", "foo(1)", "tbl(1,2)", "(1, 1)", "a!b",
        "2x", "$", "(1", "1)", "sqrt()", "1+", "*2", "a eqv b", "(a)EQV(b)", "\xC3\xA4", "1=\x01", "a,b", "f(1)(2)",
        "()", "2*!1", "-a*-b", "2^--3", "~a*-b"}) {
    EXPECT_FALSE(Syntax::IsValidExpression(text)) << text;
  }
}

TEST(Syntax, OnlyTheDrivesFunctionsCanBeCalled) {
  for (const char* name : {"sqrt", "abs", "log", "log10", "exp", "sin", "cos", "tan", "sinh", "cosh", "tanh", "int",
                           "on", "off", "config", "tbl", "nv", "outon"}) {
    EXPECT_TRUE(Syntax::IsValidExpression(std::string(name) + "(x)")) << name;
    EXPECT_TRUE(Syntax::IsValidExpression(std::string(name))) << name;  // a bare name is any variable
  }
  for (const char* call : {"sqr(x)", "ln(x)", "log2(x)", "atan(x)", "max(x)", "outoff(x)", "tb(x)", "cfg(x)"})
    EXPECT_FALSE(Syntax::IsValidExpression(call)) << call;
}

TEST(Syntax, DeepNestingIsRefusedNotACrash) {
  auto nested = [](size_t n, const std::string& open, const std::string& close) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += open;
    s += "1";
    for (size_t i = 0; i < n; ++i) s += close;
    return s;
  };
  EXPECT_TRUE(Syntax::IsValidExpression(nested(300, "(", ")")));
  EXPECT_TRUE(Syntax::IsValidExpression(nested(300, "~", "")));
  for (const std::string& text : {nested(1000000, "(", ")"), nested(1000000, "~", ""), nested(1000000, "-", ""),
                                  nested(1000000, "sqrt(", ")")})
    EXPECT_FALSE(Syntax::IsValidExpression(text)) << text.substr(0, 8);
  EXPECT_TRUE(Syntax::IsValidExpression("sqrt((1))"));  // the next check starts afresh
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
