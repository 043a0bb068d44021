#include "scope/model/channels.h"

#include "mainwin/model/units_list.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace scope {

std::string ChannelCaption(int channel) {
  if (channel < 0 || channel >= kChannels) channel = 0;
  return std::string(kChannelCaptions[channel]);
}

std::string UnitSuffix(int channel, const std::string& unit) {
  switch (channel) {
    case 0: return " (volts)";
    case 1: case 4: case 6: return " (" + unit + ")";
    case 2: case 5: return " (" + unit + "/sec)";
    case 3: return " (" + unit + "/sec/sec)";
    case 7: return " (amps)";
    case 8: return " (RPM)";
    case 12: return " rev/sec";
    default: return "";
  }
}

std::vector<std::string> SplitList(std::string_view list) {
  std::vector<std::string> items;
  while (!list.empty()) {
    size_t comma = list.find(',');
    items.emplace_back(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return items;
}

int TimebaseCode(const std::string& caption) { return rt::CInt(rt::Val(caption) * 10); }

std::string UnitNameFromIndex(float index) {
  const double rounded = rt::RoundHalfEven(index);
  const int i = rounded < 0 || rounded >= double(talvero::UnitsList.size()) ? 0 : int(rounded);
  return std::string(talvero::UnitsList[i]);
}

}  // namespace scope
