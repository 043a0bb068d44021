#pragma once
// The drive's ten factory configuration words and how the configuration
// dialog shows them: sixteen check boxes over bits of CONFIG(0), (6) and (7),
// four number boxes over the other words. Qt-free.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace online {

constexpr int kConfigWords = 10;
constexpr int kConfigChecks = 16;
constexpr int kConfigBoxes = 4;

struct ConfigCheck {
  const char* caption;
  int word;
  int bit;
};
// The check boxes CF_Check(0..15), in index order.
extern const std::array<ConfigCheck, kConfigChecks> kConfigCheckTable;
// The labels over CF_Box(0..3).
extern const std::array<const char*, kConfigBoxes> kConfigBoxLabels;

// What the dialog's controls hold.
struct ConfigView {
  std::array<bool, kConfigChecks> checks{};
  std::array<std::string, kConfigBoxes> boxes;
};

struct ConfigWords {
  std::array<int32_t, kConfigWords> word{};

  // "CONFIG(i)", the drive variable of word i.
  static std::string Name(int i);
  // The words as the drive's value replies give them: each text's leading
  // number rounded half to even; CONFIG(8) and (9) count only as a pair
  // (CONFIG(8) = -CONFIG(9)), else both are 0.
  static ConfigWords FromReplies(const std::array<std::string, kConfigWords>& replies);
  ConfigView Show() const;
  // The words "Set Configuration" writes: the controls' bits and numbers over
  // the words read, so bits that have no box keep the value the drive had.
  static ConfigWords FromView(const ConfigView& view, const ConfigWords& read);
  // Decimal texts joined by ",", CONFIG(0) first.
  std::string ConfigList() const;
};

// The texts of a configuration list between its commas, in order.
std::vector<std::string> SplitConfigList(const std::string& list);

}  // namespace online
