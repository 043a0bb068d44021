#include "online/model/io_names.h"

#include <array>

#include "runtime/rounding.h"
#include "runtime/val.h"

namespace talvero::online {

namespace {

bool PhiOrPsi(const std::string& f) { return f == "PHI" || f == "PSI"; }

std::string Pins(int a, int b) { return "J1-" + std::to_string(a) + "," + std::to_string(b); }

}  // namespace

std::string INname(const std::string& family, const std::string& prefix, int n) {
  (void)prefix;
  if (n < 0) return "";
  if (family == "RHO") return "J1-" + std::to_string(n + 1);
  if (family == "TAU") {
    std::string s = Pins(2 * n + 1, 2 * n + 2);
    if (n == 0) s += " [Enable]";
    if (n == 1) s += " [Reset]";
    return s;
  }
  if (!PhiOrPsi(family)) return "";
  static const std::array<const char*, 7> kCommon = {
      "J1-5 [Enable]", "J1-6", "J1-7", "J1-8", "J1-9,10 [HSI1]", "J1-11,12 [HSI2]", "J1-13,14 [HSI2]"};
  if (n < 7) return kCommon[size_t(n)];
  if (n < 9) {
    if (family == "PHI") return n == 7 ? "J2-5" : "J2-6";
    return n == 7 ? "J1-15" : "J1-16";
  }
  return "";
}

std::string OUTname(const std::string& family, const std::string& prefix, int n) {
  if (n < 0) return "";
  if (family == "RHO") return "J1-" + std::to_string(n + 13);
  if (family == "TAU") {
    std::string s = Pins(2 * n + 15, 2 * n + 16);
    if (n == 2) s += " [Foldback]";
    if (n == 3) s += " [OK]";
    return s;
  }
  if (!PhiOrPsi(family)) return "";
  if (n == 0) return "J1-23,24 [OK]";
  if (n == 1) return "J1-21,22 [Foldback]";
  if (family == "PSI") {
    if (n == 2) return "J1-19,20";
    if (n == 3) return "J1-17,18";
    return "";
  }
  if (n == 2) {
    if (prefix == "KV") return "J2-1,2";
    if (prefix == "KZ") return "J1-19,20";
    return "";
  }
  if (n == 3) return "J2-3,4";
  return "";
}

IOCount IOCounts(const std::string& family, const std::string& prefix) {
  if (family == "RHO") return {8, 12};
  if (family == "TAU") return {7, 4};
  if (family == "PHI" && prefix == "KZ") return {7, 3};
  if (family == "PHI" && prefix == "KV") return {9, 4};
  if (family == "PSI") return {9, 4};
  return {0, 0};
}

int ToggleInputs(const std::string& family) {
  if (family == "RHO") return 8;
  if (family == "TAU" || family == "PHI") return 7;
  if (family == "PSI") return 9;
  return 0;
}

int32_t ReadWord(const std::string& text) { return rt::CLng(rt::Val(text)); }

Swatch SwatchFor(int32_t state, int32_t forcedOff, int32_t forcedOn, int point) {
  const uint32_t m = uint32_t(1) << point;
  if (uint32_t(forcedOff) & m) return Swatch::ForcedOff;
  if (uint32_t(forcedOn) & m) return Swatch::ForcedOn;
  if (uint32_t(state) & m) return Swatch::On;
  return Swatch::Off;
}

ForceMasks ApplyForce(Force f, int32_t forcedOff, int32_t forcedOn, int point) {
  const uint32_t bit = uint32_t(1) << point;
  uint32_t a0 = uint32_t(forcedOff), a1 = uint32_t(forcedOn);
  switch (f) {
    case Force::Off: a0 |= bit, a1 &= ~bit; break;
    case Force::On: a0 &= ~bit, a1 |= bit; break;
    case Force::None: a0 &= ~bit, a1 &= ~bit; break;
  }
  return {int32_t(a0), int32_t(a1)};
}

std::optional<int> ToggleAnswer(const std::string& answer, int count) {
  const double v = rt::RoundHalfEven(rt::Val(answer));
  if (v >= 1 && v <= count) return int(v);
  return std::nullopt;
}

}  // namespace talvero::online
