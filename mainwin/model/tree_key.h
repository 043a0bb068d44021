#pragma once
// The keys of the tree's nodes: what a node stands for, written as a kind and
// numbers ("#4", "LE4,17", "AX-3,2"). Everything that reads or writes a key
// goes through here, so the shapes stay in one place.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TreeKey {
  // "!SY", "!AP", "#", or two letters ("PA", "LE", "AX", ...).
  std::string kind;
  // None for the roots, N, or N1 and N2. Application nodes carry a negative
  // first number: minus the axis slot, or minus the application slot for "PR".
  std::vector<int> numbers;

  // nullopt for anything that is not a key this tree makes: unknown kind, a
  // number missing or extra, non-digits, blanks, leading zeros, out of range.
  static std::optional<TreeKey> Parse(std::string_view text);
  std::string Format() const;

  int N() const { return numbers.empty() ? 0 : numbers[0]; }
  int N1() const { return N(); }
  int N2() const { return numbers.size() > 1 ? numbers[1] : 0; }
  bool HasComma() const { return numbers.size() == 2; }

  // Key of the node this one hangs under; nullopt for the two roots.
  std::optional<std::string> ParentKey() const;
  // The fixed text of the node ("Parameters", "Modes", ...); nullopt where the
  // text comes from data (drives, applications, axes, program names).
  std::optional<std::string> FixedText() const;
  // Picture key of the tree's image list: "applic", "axis", "par", "doc", "pgm", ...
  std::string PictureKey() const;

  bool operator==(const TreeKey&) const = default;

  static TreeKey SystemRoot() { return {"!SY", {}}; }
  static TreeKey AppsRoot() { return {"!AP", {}}; }
  static TreeKey Make(std::string kind, std::vector<int> numbers) {
    return {std::move(kind), std::move(numbers)};
  }
};

// The parameter groups under every "Parameters" node, in tree order.
struct ParameterGroup {
  const char* kind;
  const char* text;
};
extern const ParameterGroup kParameterGroups[5];

// True for the kinds whose node fills a parameter view.
bool IsParameterKind(std::string_view kind);
