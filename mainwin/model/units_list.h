#pragma once
// The position units a drive keeps as an index in "UU" ("TUU" for a program
// of its library); applications store the name. The settings dialog, the
// watch lines, the scope and the reports all read this one table.
#include <array>
#include <string>
#include <string_view>

namespace talvero {

inline constexpr std::array<std::string_view, 7> UnitsList = {
    "cm", "degree", "inch", "meter", "mm", "system-rev", "table rev"};
inline constexpr int kDefaultUnits = 5;  // "system-rev"

// The index of the first entry equal to the name (exact), else "system-rev".
int FindUU(std::string_view name);
// The entry at the index, "" outside the list.
std::string UnitsName(int index);

}  // namespace talvero
