#include "editing/model/list_metrics.h"

#include <cmath>

#include "runtime/rounding.h"

namespace talvero {

int ScaledWidth(double points, int k) {
  const double size = std::round(points * 10000.0) / 10000.0;
  return int(rt::RoundHalfEven(size * k)) / 8;
}

ListMetrics ParameterViewMetrics(double points, std::string_view selKey) {
  ListMetrics m;
  m.tab0 = 24;
  // Modes have short names; the other groups need the wider name column.
  m.tab1 = ScaledWidth(points, selKey.substr(0, 2) == "SU" ? 2360 : 2760);
  m.rowHeight = ScaledWidth(points, 242);
  return m;
}

ListMetrics ProgramViewMetrics(double points) {
  ListMetrics m;
  m.tab0 = 240;  // room for the step marker
  m.rowHeight = ScaledWidth(points, 242);
  return m;
}

}  // namespace talvero
