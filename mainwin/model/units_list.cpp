#include "mainwin/model/units_list.h"

namespace talvero {

int FindUU(std::string_view name) {
  for (size_t i = 0; i < UnitsList.size(); ++i)
    if (UnitsList[i] == name) return int(i);
  return kDefaultUnits;
}

std::string UnitsName(int index) {
  if (index < 0 || index >= int(UnitsList.size())) return "";
  return std::string(UnitsList[size_t(index)]);
}

}  // namespace talvero
