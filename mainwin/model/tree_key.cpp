#include "mainwin/model/tree_key.h"

#include <array>
#include <cstring>

const ParameterGroup kParameterGroups[5] = {
    {"SU", "Modes"}, {"SM", "Motor"}, {"SF", "Feedback"}, {"SC", "Command"}, {"TU", "Tuning"}};

namespace {

struct Range {
  int lo, hi;
  bool Has(int v) const { return v >= lo && v <= hi; }
};

constexpr Range kDrive{0, 31};
constexpr Range kLibrarySlot{0, 127};
constexpr Range kApp{1, 16};
constexpr Range kMinusAxis{-16, -1};
constexpr Range kMinusApp{-16, -1};
constexpr Range kProgram{1, 64};

bool IsGroupKind(std::string_view k) {
  for (const auto& g : kParameterGroups)
    if (k == g.kind) return true;
  return k == "MO" || k == "OT";
}

// A decimal integer with an optional minus, no blanks, no leading zeros.
std::optional<int> ParseNumber(std::string_view s) {
  bool negative = !s.empty() && s[0] == '-';
  if (negative) s.remove_prefix(1);
  if (s.empty() || s.size() > 4) return std::nullopt;
  if (s.size() > 1 && s[0] == '0') return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negative && v == 0) return std::nullopt;
  return negative ? -v : v;
}

bool ShapeFits(std::string_view kind, const std::vector<int>& n) {
  const bool one = n.size() == 1, two = n.size() == 2;
  if (kind == "#" || kind == "TH" || kind == "PP" || kind == "PL" || kind == "SS")
    return one && kDrive.Has(n[0]);
  if (kind == "PA" || IsGroupKind(kind))
    return (one && kDrive.Has(n[0])) || (two && kMinusAxis.Has(n[0]) && kApp.Has(n[1]));
  if (kind == "LE") return two && kDrive.Has(n[0]) && kLibrarySlot.Has(n[1]);
  if (kind == "AP") return one && kApp.Has(n[0]);
  if (kind == "PR")
    return (one && kMinusApp.Has(n[0])) || (two && kMinusApp.Has(n[0]) && kProgram.Has(n[1]));
  if (kind == "AX" || kind == "EV") return two && kMinusAxis.Has(n[0]) && kApp.Has(n[1]);
  return false;
}

}  // namespace

bool IsParameterKind(std::string_view kind) { return kind == "PA" || IsGroupKind(kind); }

std::optional<TreeKey> TreeKey::Parse(std::string_view text) {
  if (text == "!SY") return SystemRoot();
  if (text == "!AP") return AppsRoot();
  TreeKey key;
  std::string_view rest;
  if (!text.empty() && text[0] == '#') {
    key.kind = "#";
    rest = text.substr(1);
  } else {
    if (text.size() < 2) return std::nullopt;
    key.kind = std::string(text.substr(0, 2));
    rest = text.substr(2);
  }
  const auto comma = rest.find(',');
  if (comma == std::string_view::npos) {
    auto n = ParseNumber(rest);
    if (!n) return std::nullopt;
    key.numbers = {*n};
  } else {
    auto a = ParseNumber(rest.substr(0, comma));
    auto b = ParseNumber(rest.substr(comma + 1));
    if (!a || !b) return std::nullopt;
    key.numbers = {*a, *b};
  }
  if (!ShapeFits(key.kind, key.numbers)) return std::nullopt;
  return key;
}

std::string TreeKey::Format() const {
  std::string s = kind;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i) s += ',';
    s += std::to_string(numbers[i]);
  }
  return s;
}

std::optional<std::string> TreeKey::ParentKey() const {
  const bool app = !numbers.empty() && numbers[0] < 0;
  if (kind == "!SY" || kind == "!AP") return std::nullopt;
  if (kind == "#") return std::string("!SY");
  if (kind == "AP") return std::string("!AP");
  if (kind == "PR") {
    if (HasComma()) return Make("PR", {N1()}).Format();
    return Make("AP", {-N()}).Format();
  }
  if (kind == "AX") return Make("AP", {N2()}).Format();
  if (kind == "EV") return Make("AX", numbers).Format();
  if (kind == "PA") return app ? Make("AX", numbers).Format() : Make("#", numbers).Format();
  if (IsGroupKind(kind)) return Make("PA", numbers).Format();
  if (kind == "LE") return Make("PL", {N1()}).Format();
  return Make("#", numbers).Format();  // TH, PP, PL, SS
}

std::optional<std::string> TreeKey::FixedText() const {
  if (kind == "!SY") return std::string("Connected Application");
  if (kind == "!AP") return std::string("Applications");
  if (kind == "PA") return std::string("Parameters");
  for (const auto& g : kParameterGroups)
    if (kind == g.kind) return std::string(g.text);
  if (kind == "TH" || kind == "EV") return std::string("Events");
  if (kind == "PP") return std::string("Active Program");
  if (kind == "PL") return std::string("Program Library");
  if (kind == "PR" && !HasComma()) return std::string("Program Library");
  if (kind == "SS") return std::string("Status");
  return std::nullopt;
}

std::string TreeKey::PictureKey() const {
  if (kind == "!SY" || kind == "!AP" || kind == "AP") return "applic";
  if (kind == "#" || kind == "AX") return "axis";
  if (kind == "PA") return "par";
  if (kind == "TH" || kind == "PP" || kind == "LE") return "pgm";
  if (kind == "PL") return "pgmlib";
  if (kind == "PR") return HasComma() ? "doc" : "pgmlib";
  if (kind == "SS") return "diag";
  return "doc";  // parameter groups and application events
}
