#include "listbox/unit_converter.h"

#include <cmath>

namespace tivolen {

// HIMETRIC is kept unrounded: rounding it first made a value read back in
// container units and set again lose a pixel (300 twips gave 19 pixels).
int UnitConverter::ToPixels(double units, int dpi) const {
  if (units == 0.0) return 0;
  const double himetric = units * 2540.0 / unitsPerInch_;
  const double pixels = dpi * himetric / 2540.0;
  return int(std::trunc(pixels + (pixels >= 0 ? 1e-6 : -1e-6)));
}

double UnitConverter::ToUnits(int pixels, int dpi) const {
  const double himetric = double(pixels) / dpi * 2540.0;
  return himetric * unitsPerInch_ / 2540.0;
}

}  // namespace tivolen
