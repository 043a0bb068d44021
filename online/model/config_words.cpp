#include "online/model/config_words.h"

#include <limits>

#include "runtime/rounding.h"
#include "runtime/val.h"

namespace online {

const std::array<ConfigCheck, kConfigChecks> kConfigCheckTable = {{
    {"Force ISP", 0, 0},
    {"DSP board is in an B700", 0, 1},
    {"Input 0 is QuickStop", 6, 0},
    {"ADC is AD7851", 6, 1},
    {"Implement 'I Squared t'", 6, 2},
    {"Implement Adaptive Control", 6, 3},
    {"Invert Current Command", 0, 2},
    {"New Power PCB", 0, 3},
    {"Force Old 'Monitor'", 0, 4},
    {"Tavrion Intelligence", 7, 0},
    {"40 KHz Switching", 0, 5},
    {"20 KHz Switching", 0, 6},
    {"Test Mode", 0, 7},
    {"Reserved", 0, 8},
    {"Reserved", 0, 9},
    {"Reserved", 0, 10},
}};

const std::array<const char*, kConfigBoxes> kConfigBoxLabels = {
    "Model", "Continuous Current", "Peak Current", "Custom"};

namespace {

int32_t Number(const std::string& text) { return rt::CLng(rt::Val(text)); }

// -v, with the one value that has no negation held at the largest.
int32_t Negated(int32_t v) {
  return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -v;
}

uint32_t Bit(int bit) { return uint32_t(1) << bit; }

}  // namespace

std::string ConfigWords::Name(int i) { return "CONFIG(" + std::to_string(i) + ")"; }

ConfigWords ConfigWords::FromReplies(const std::array<std::string, kConfigWords>& replies) {
  ConfigWords c;
  for (int i = 0; i < kConfigWords; ++i) c.word[size_t(i)] = Number(replies[size_t(i)]);
  if (int64_t(c.word[8]) != -int64_t(c.word[9])) c.word[8] = c.word[9] = 0;
  return c;
}

ConfigView ConfigWords::Show() const {
  ConfigView v;
  for (int i = 0; i < kConfigChecks; ++i) {
    const ConfigCheck& c = kConfigCheckTable[size_t(i)];
    v.checks[size_t(i)] = (uint32_t(word[size_t(c.word)]) & Bit(c.bit)) != 0;
  }
  v.boxes[0] = std::to_string(word[1]);
  if (word[2] == word[3]) v.boxes[1] = std::to_string(word[2]);
  if (word[4] == word[5]) v.boxes[2] = std::to_string(word[4]);
  v.boxes[3] = std::to_string(word[8]);
  return v;
}

ConfigWords ConfigWords::FromView(const ConfigView& view, const ConfigWords& read) {
  ConfigWords c;
  // Words with check boxes start from what was read, less the bits shown.
  std::array<uint32_t, kConfigWords> shown{};
  for (const ConfigCheck& k : kConfigCheckTable) shown[size_t(k.word)] |= Bit(k.bit);
  for (int w = 0; w < kConfigWords; ++w)
    if (shown[size_t(w)]) c.word[size_t(w)] = int32_t(uint32_t(read.word[size_t(w)]) & ~shown[size_t(w)]);
  for (int i = 0; i < kConfigChecks; ++i) {
    const ConfigCheck& k = kConfigCheckTable[size_t(i)];
    if (view.checks[size_t(i)])
      c.word[size_t(k.word)] = int32_t(uint32_t(c.word[size_t(k.word)]) | Bit(k.bit));
  }
  c.word[1] = Number(view.boxes[0]);
  c.word[2] = c.word[3] = Number(view.boxes[1]);
  c.word[4] = c.word[5] = Number(view.boxes[2]);
  c.word[8] = Number(view.boxes[3]);
  c.word[9] = Negated(c.word[8]);
  return c;
}

std::string ConfigWords::ConfigList() const {
  std::string out;
  for (int i = 0; i < kConfigWords; ++i) {
    if (i) out += ',';
    out += std::to_string(word[size_t(i)]);
  }
  return out;
}

std::vector<std::string> SplitConfigList(const std::string& list) {
  std::vector<std::string> out;
  if (list.empty()) return out;
  size_t from = 0;
  for (;;) {
    size_t comma = list.find(',', from);
    out.push_back(list.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) return out;
    from = comma + 1;
  }
}

}  // namespace online
