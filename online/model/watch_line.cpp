#include "online/model/watch_line.h"

#include <cmath>

#include "editing/model/format_num.h"
#include "mainwin/model/units_list.h"
#include "runtime/cstr.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace talvero::online {

const std::array<WatchItem, 10>& PredefinedWatchItems() {
  static const std::array<WatchItem, 10> items = {{
      {"WA_TP", "Target Position ", "######0.0000", "~u", "TPOS", 1.0f},
      {"WA_TV", "Target Velocity ", "######0.00", "~u/sec", "RUNV", 1.0f},
      {"WA_TPS", "Tasks/Second ", "#####0.0", "", "TPS", 1.0f},
      {"WA_TDPS", "Events/Second ", "#####0.0", "", "TDPS", 1.0f},
      {"WA_MC", "Motor Current ", "##0.00", "amps", "IRA", 1.0f},
      {"WA_VEL", "Motor Velocity ", "#####0.0", "RPM", "VEL", 1.0f},
      {"WA_FA", "Feedback Angle ", "####0", "counts", "THET", 1.0f},
      {"WA_FP", "Feedback Position ", "######0.0000", "~u", "FPOS", 1.0f},
      {"WA_ADC0", "Analog Input ", "##0.000", "volts", "ADC1", 1.0f},
      {"WA_PMC", "Motor Current ", "###0.0", "%", "IREF", 12.5f},
  }};
  return items;
}

const WatchItem* FindWatchItem(std::string_view item) {
  for (const WatchItem& w : PredefinedWatchItems())
    if (item == w.item) return &w;
  return nullptr;
}

WatchSlotData SlotFor(const WatchItem& item, int node) {
  WatchSlotData s;
  s.WatchLabel = item.label;
  s.WatchFmt = item.fmt;
  s.WatchNode = node;
  s.WatchUnits = item.units;
  s.WatchScale = item.scale;
  s.WatchExpr = item.expr;
  return s;
}

WatchSlotData ArbitrarySlot(const std::string& expr, int node) {
  WatchSlotData s;
  s.WatchLabel = expr + " = ";
  s.WatchFmt = "#######0.000000";
  s.WatchNode = node;
  s.WatchUnits = "";
  s.WatchScale = 1.0f;
  s.WatchExpr = expr;
  return s;
}

int UnitsIndex(float uu) {
  if (!std::isfinite(uu)) return 0;
  const double r = rt::RoundHalfEven(uu);
  if (r < 0 || r >= double(UnitsList.size())) return 0;
  return int(r);
}

std::string WatchValueText(float v, const std::string& fmt) {
  const std::string text = rt::CStrSingle(v);
  if (!std::isfinite(v)) return text;
  return FormatNum(rt::Val(text), fmt);
}

std::string WatchLineText(const WatchSlotData& slot, bool driveKnown,
                          const std::function<std::optional<float>(const std::string& expr)>& valueOf) {
  const std::string head = "[" + std::to_string(slot.WatchNode) + "] " + slot.WatchLabel;
  if (!driveKnown) return head + " is unknown";
  const std::optional<float> read = valueOf(slot.WatchExpr);
  if (!read) return head;
  float v = *read;
  std::string units = slot.WatchUnits;
  const size_t at = units.find("~u");
  if (at != std::string::npos) {
    const std::string suffix = units.substr(at + 2);
    const std::optional<float> tr = valueOf("TR");
    if (!tr) return head;
    const std::optional<float> uu = valueOf("UU");
    if (!uu) return head;
    v = *tr == 0 ? 0.0f : v / *tr;
    units = UnitsName(UnitsIndex(*uu)) + suffix;
  }
  v = v / slot.WatchScale;
  return head + WatchValueText(v, slot.WatchFmt) + " " + units;
}

}  // namespace talvero::online
