#pragma once
// The watch lines: the predefined items of the watch menu and the text one
// slot shows, from the values its drive reports.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "mainwin/model/watch_slot.h"

namespace talvero::online {

struct WatchItem {
  const char* item;  // the menu item's name
  const char* label;
  const char* fmt;
  const char* units;
  const char* expr;
  float scale;
};

// The ten predefined items, in menu order (WA_TP .. WA_PMC).
const std::array<WatchItem, 10>& PredefinedWatchItems();
// nullptr for a name that is not one of them.
const WatchItem* FindWatchItem(std::string_view item);

// The slot of a predefined item, or of an arbitrary expression already
// trimmed and upper-cased.
WatchSlotData SlotFor(const WatchItem& item, int node);
WatchSlotData ArbitrarySlot(const std::string& expr, int node);

// The units list's index for a drive's UU: nearest, a half to the even
// neighbour; anything outside the list, NaN or infinite gives 0.
int UnitsIndex(float uu);
// The value as the line shows it: through its single-precision text, then
// the picture; "NaN", "Inf" or "-Inf" for a value that is not finite.
std::string WatchValueText(float v, const std::string& fmt);

// What the line of a non-empty slot shows. driveKnown: the last search found
// a drive at the slot's node; valueOf asks that drive, nullopt when it did
// not answer: the line then keeps its name and shows no value.
std::string WatchLineText(const WatchSlotData& slot, bool driveKnown,
                          const std::function<std::optional<float>(const std::string& expr)>& valueOf);

}  // namespace talvero::online
