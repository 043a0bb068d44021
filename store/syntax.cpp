#include "store/syntax.h"

#include <string>

namespace Syntax {
namespace {

// The check's state, reset by every EvaluateExpression.
std::string_view rest;
std::string kind;   // "num", "id", an operator, a single character, "" at the end
std::string token;
bool error = false;
int depth = 0;

// Far deeper than any text a drive takes; deeper nesting would exhaust the
// stack on a pasted text, so it counts as malformed.
constexpr int kMaxDepth = 1000;

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool IsNameChar(char c) {
  c = Lower(c);
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

void NextToken() {
  kind.clear();
  token.clear();
  char c = 0;
  bool end = true;
  while (!rest.empty()) {
    c = rest.front();
    rest.remove_prefix(1);
    end = false;
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
    end = true;
  }
  if (end) return;  // kind and text ""
  if (IsDigitOrPoint(c)) {
    kind = "num";
    token = c;
    while (!rest.empty() && IsDigitOrPoint(rest.front())) {
      token += rest.front();
      rest.remove_prefix(1);
    }
    return;
  }
  char low = Lower(c);
  if ((low >= 'a' && low <= 'z') || c == '_') {
    kind = "id";
    token = c;  // the first letter as typed, the rest in lower case
    while (!rest.empty() && IsNameChar(rest.front())) {
      token += Lower(rest.front());
      rest.remove_prefix(1);
    }
    return;
  }
  kind = c;
  if ((c == '!' || c == '<' || c == '>') && !rest.empty() && rest.front() == '=') {
    kind += '=';
    rest.remove_prefix(1);
  }
  token = kind;
}

void ExpectToken(const char* expected) {
  if (kind != expected) error = true;
  NextToken();
}

void EvalFunction(const std::string& name) {
  static const char* const kFunctions[] = {"sqrt", "abs",  "log",  "log10", "exp", "sin", "cos",    "tan", "sinh",
                                           "cosh", "tanh", "int",  "on",    "off", "config", "tbl", "nv", "outon"};
  std::string low;
  for (char c : name) low += Lower(c);
  for (const char* f : kFunctions)
    if (low == f) return;
  error = true;
}

void ParseLevel(int level) {
  if (depth >= kMaxDepth) {
    error = true;
    return;
  }
  ++depth;
  struct Leave {
    ~Leave() { --depth; }
  } leave;

  // One operand.
  if (kind == "num") {
    NextToken();
  } else if (kind == "-" || kind == "!") {
    // No sign or "not" straight after "*", "/" or another sign.
    if (level == 11) error = true;
    NextToken();
    ParseLevel(11);
  } else if (kind == "~") {
    NextToken();
    ParseLevel(6);
  } else if (kind == "(") {
    NextToken();
    ParseLevel(1);
    ExpectToken(")");
  } else if (kind == "id") {
    std::string name = token;
    NextToken();
    if (kind == "(") {
      ExpectToken("(");
      ParseLevel(1);
      ExpectToken(")");
      EvalFunction(name);
    }
  } else {
    error = true;
  }

  // Binary operators, grouping from the left.
  struct Op {
    const char* kind;
    bool isName;
    int maxLevel;
    int rightLevel;
  };
  static const Op kOps[] = {{"^", false, 11, 12}, {"*", false, 10, 11},  {"/", false, 10, 11}, {"+", false, 7, 8},
                            {"-", false, 7, 8},   {"=", false, 6, 7},    {"<", false, 6, 7},   {">", false, 6, 7},
                            {"!=", false, 6, 7},  {"<=", false, 6, 7},   {">=", false, 6, 7},  {"&", false, 5, 6},
                            {"|", false, 4, 5},   {"eqv", true, 2, 3},   {"imp", true, 1, 2}};
  while (!error) {
    const Op* hit = nullptr;
    for (const Op& op : kOps) {
      bool same = op.isName ? (kind == "id" && token == op.kind) : kind == op.kind;
      if (same && level <= op.maxLevel) {
        hit = &op;
        break;
      }
    }
    if (!hit) return;
    NextToken();
    ParseLevel(hit->rightLevel);
  }
}

}  // namespace

bool EvaluateExpression(std::string_view text) {
  error = false;
  depth = 0;
  rest = text;
  NextToken();
  ParseLevel(1);
  if (!kind.empty()) error = true;
  return !error;
}

bool IsValidExpression(std::string_view text) {
  for (unsigned char c : text)
    if (c < 33) return false;
  return EvaluateExpression(text);
}

}  // namespace Syntax
