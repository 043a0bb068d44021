#include "mainwin/model/axis_type_match.h"

namespace talvero {

bool AxisTypeMatch(std::string_view codes, std::string_view familyCode) {
  return !familyCode.empty() && codes.find(familyCode) != std::string_view::npos;
}

}  // namespace talvero
