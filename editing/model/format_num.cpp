#include "editing/model/format_num.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "runtime/format.h"
#include "runtime/rounding.h"

namespace talvero {
namespace {

struct Code {
  std::string_view code;
  std::vector<std::string_view> entries;
};

const std::vector<Code>& Codes() {
  static const std::vector<Code> codes = {
      {"1", {"Variable-Frequency", "Brushless", "Induction", "Brush DC", "Brushless 6-step (trap)",
             "Brushless (ignore Halls)"}},
      {"2", {"Opto Input", "SWE and-ed with Opto-In", "SWE or-ed with Opto-In", "Parameter SWE"}},
      {"3", {"Velocity", "Current", "Position", "Step & Dir", "Step Up/Down", "Quad Encoder",
             "Open Loop"}},
      {"4", {"Analog", "Digital"}},
      {"5", {"Inactive", "Active"}},
      {"10", {"Encoder", "Resolver", "Tachometer/Encoder", "Encoder w/Z-Commutation"}},
      {"11", {"2.0 MHz", "250 kHz", "30 kHz"}},
      {"12", {"Open Loop", "Open Loop w/Encoder", "Closed Loop"}},
      {"13", {"0.45 : 1", "1 : 1"}},
  };
  return codes;
}

}  // namespace

std::string FormatEntry(std::string_view code, double index) {
  if (!std::isfinite(index)) return "";
  const double k = rt::Int(index + 0.1);
  for (const Code& c : Codes()) {
    if (c.code != code) continue;
    if (k < 0 || k >= double(c.entries.size())) return "";
    return std::string(c.entries[size_t(k)]);
  }
  return "";
}

std::string FormatNum(double value, std::string_view fmt) {
  if (!fmt.empty() && fmt.front() == '#') return rt::Format(value, fmt);
  return FormatEntry(fmt, value);
}

}  // namespace talvero
