#pragma once
// Column widths and row heights of the list's views, from its font size.
// All figures are in the window's container units (twips).
#include <string_view>

namespace talvero {

// The font size as the font object keeps it (4 decimals) times k, to the
// nearest whole number (a half to the even one), then divided by 8.
int ScaledWidth(double points, int k);

struct ListMetrics {
  int tab0 = 0;       // the picture column
  int tab1 = -1;      // -1: column 1 keeps its width
  int rowHeight = 0;  // every row's height and the default height
};

// The parameter view; selKey is the key of the node clicked.
ListMetrics ParameterViewMetrics(double points, std::string_view selKey);
ListMetrics ProgramViewMetrics(double points);

}  // namespace talvero
