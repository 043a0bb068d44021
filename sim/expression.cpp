#include "sim/expression.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace talvero::sim {
namespace {

enum class Tok { End, Num, Name, Op, Bad };

class Parser {
 public:
  Parser(std::string_view text, const NameLookup& names, const CallLookup& calls)
      : text_(text), names_(names), calls_(calls) {
    Next();
  }

  std::optional<double> Run() {
    double v = Level(1);
    if (failed_ || kind_ != Tok::End) return std::nullopt;
    return v;
  }

 private:
  void Next() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    tok_.clear();
    if (pos_ >= text_.size()) {
      kind_ = Tok::End;
      return;
    }
    char c = text_[pos_];
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
      size_t start = pos_;
      while (pos_ < text_.size() &&
             (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.'))
        ++pos_;
      // An exponent belongs to the number when digits follow it.
      if (pos_ < text_.size() && (text_[pos_] == 'E' || text_[pos_] == 'e')) {
        size_t p = pos_ + 1;
        if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
        if (p < text_.size() && std::isdigit(static_cast<unsigned char>(text_[p]))) {
          while (p < text_.size() && std::isdigit(static_cast<unsigned char>(text_[p]))) ++p;
          pos_ = p;
        }
      }
      tok_ = std::string(text_.substr(start, pos_ - start));
      kind_ = Tok::Num;
      return;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t start = pos_;
      while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                     text_[pos_] == '_'))
        ++pos_;
      for (char ch : text_.substr(start, pos_ - start))
        tok_ += char(std::toupper(static_cast<unsigned char>(ch)));
      kind_ = Tok::Name;
      return;
    }
    ++pos_;
    tok_ = std::string(1, c);
    if ((c == '!' || c == '<' || c == '>') && pos_ < text_.size() && text_[pos_] == '=') {
      tok_ += '=';
      ++pos_;
    }
    kind_ = (c < 33 || static_cast<unsigned char>(c) > 126) ? Tok::Bad : Tok::Op;
  }

  bool IsOp(const char* op) const { return kind_ == Tok::Op && tok_ == op; }
  bool IsWord(const char* w) const { return kind_ == Tok::Name && tok_ == w; }

  double Fail() {
    failed_ = true;
    return 0;
  }

  static std::optional<double> Math(const std::string& f, double x) {
    if (f == "SQRT") return std::sqrt(x);
    if (f == "ABS") return std::fabs(x);
    if (f == "LOG") return std::log(x);
    if (f == "LOG10") return std::log10(x);
    if (f == "EXP") return std::exp(x);
    if (f == "SIN") return std::sin(x);
    if (f == "COS") return std::cos(x);
    if (f == "TAN") return std::tan(x);
    if (f == "SINH") return std::sinh(x);
    if (f == "COSH") return std::cosh(x);
    if (f == "TANH") return std::tanh(x);
    if (f == "INT") return std::floor(x);
    return std::nullopt;
  }

  static int64_t I(double v) { return static_cast<int64_t>(std::llround(v)); }

  double Primary() {
    if (kind_ == Tok::Num) {
      char* end = nullptr;
      double v = std::strtod(tok_.c_str(), &end);
      if (end == tok_.c_str() || *end != '\0') return Fail();
      Next();
      return v;
    }
    if (IsOp("-")) {
      Next();
      return -Level(11);
    }
    if (IsOp("!")) {
      Next();
      return Level(11) == 0 ? 1 : 0;
    }
    if (IsOp("~")) {
      Next();
      return double(~I(Level(6)));
    }
    if (IsOp("(")) {
      Next();
      double v = Level(1);
      if (!IsOp(")")) return Fail();
      Next();
      return v;
    }
    if (kind_ == Tok::Name) {
      std::string name = tok_;
      Next();
      if (IsOp("(")) {
        Next();
        double arg = Level(1);
        if (!IsOp(")")) return Fail();
        Next();
        if (failed_) return 0;
        if (auto m = Math(name, arg)) return *m;
        auto v = calls_ ? calls_(name, arg) : std::nullopt;
        return v ? *v : Fail();
      }
      auto v = names_ ? names_(name) : std::nullopt;
      return v ? *v : Fail();
    }
    return Fail();
  }

  double Level(int level) {
    double v = Primary();
    while (!failed_) {
      if (level <= 11 && IsOp("^")) {
        Next();
        v = std::pow(v, Level(12));
      } else if (level <= 10 && (IsOp("*") || IsOp("/"))) {
        bool mul = tok_ == "*";
        Next();
        double r = Level(11);
        if (!mul && r == 0) return Fail();
        v = mul ? v * r : v / r;
      } else if (level <= 7 && (IsOp("+") || IsOp("-"))) {
        bool add = tok_ == "+";
        Next();
        double r = Level(8);
        v = add ? v + r : v - r;
      } else if (level <= 6 && (IsOp("=") || IsOp("<") || IsOp(">") || IsOp("!=") ||
                                IsOp("<=") || IsOp(">="))) {
        std::string op = tok_;
        Next();
        double r = Level(7);
        bool t = op == "=" ? v == r : op == "<" ? v < r : op == ">" ? v > r
               : op == "!=" ? v != r : op == "<=" ? v <= r : v >= r;
        v = t ? 1 : 0;
      } else if (level <= 5 && IsOp("&")) {
        Next();
        v = double(I(v) & I(Level(6)));
      } else if (level <= 4 && IsOp("|")) {
        Next();
        v = double(I(v) | I(Level(5)));
      } else if (level <= 2 && IsWord("EQV")) {
        Next();
        v = double(~(I(v) ^ I(Level(3))));
      } else if (level <= 1 && IsWord("IMP")) {
        Next();
        v = double(~I(v) | I(Level(2)));
      } else {
        break;
      }
    }
    return v;
  }

  std::string_view text_;
  const NameLookup& names_;
  const CallLookup& calls_;
  size_t pos_ = 0;
  Tok kind_ = Tok::End;
  std::string tok_;
  bool failed_ = false;
};

}  // namespace

std::optional<double> Evaluate(std::string_view text, const NameLookup& names,
                               const CallLookup& calls) {
  Parser p(text, names, calls);
  auto v = p.Run();
  if (v && !std::isfinite(*v)) return std::nullopt;
  return v;
}

}  // namespace talvero::sim
