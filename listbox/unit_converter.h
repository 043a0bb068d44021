#pragma once
// Container units <-> pixels through HIMETRIC at the screen's resolution.
#include <cstdint>

namespace tivolen {

class UnitConverter {
 public:
  UnitConverter(int dpiX = 96, int dpiY = 96) : dpiX_(dpiX), dpiY_(dpiY) {}

  void SetContainerUnitsPerInch(double unitsPerInch) { unitsPerInch_ = unitsPerInch; }
  double ContainerUnitsPerInch() const { return unitsPerInch_; }
  int DpiX() const { return dpiX_; }
  int DpiY() const { return dpiY_; }

  // Truncated toward zero; a magnitude of 0 gives 0.
  int ToPixelsY(double units) const { return ToPixels(units, dpiY_); }
  int ToPixelsX(double units) const { return ToPixels(units, dpiX_); }
  double ToUnitsY(int pixels) const { return ToUnits(pixels, dpiY_); }
  double ToUnitsX(int pixels) const { return ToUnits(pixels, dpiX_); }

  // HIMETRIC of a picture to pixels, truncated.
  int HimetricToPixelsX(int himetric) const { return int(int64_t(himetric) * dpiX_ / 2540); }
  int HimetricToPixelsY(int himetric) const { return int(int64_t(himetric) * dpiY_ / 2540); }

 private:
  int ToPixels(double units, int dpi) const;
  double ToUnits(int pixels, int dpi) const;

  int dpiX_, dpiY_;
  double unitsPerInch_ = 1440.0;
};

}  // namespace tivolen
