#pragma once
// A placeable Windows metafile built record by record, in logical units of
// the header's units per inch (twips, 1440, unless a picture that large
// would not fit a coordinate's 16 bits). Objects take the lowest free slot
// of the object table, as a playing program assigns them.
#include <cstdint>
#include <string>
#include <vector>

namespace scope {

struct WmfPoint {
  int16_t x = 0, y = 0;
};

// The logical units of a picture widthPx x heightPx pixels at dpiX x dpiY:
// twips where the picture fits 16-bit coordinates, else as many units per
// inch as keep every coordinate within 32767. The size in inches is kept.
struct WmfUnits {
  int unitsPerInch = 1440;
  int width = 0, height = 0;  // the extents in those units
};
WmfUnits UnitsForPicture(int widthPx, int heightPx, int dpiX, int dpiY);

class WmfRecords {
 public:
  static constexpr uint32_t kKey = 0x9AC6CDD7;
  static constexpr uint16_t kTwipsPerInch = 1440;
  enum Function : uint16_t {
    kEof = 0x0000,
    kSetBkMode = 0x0102,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kCreatePen = 0x02FA,
    kCreateFont = 0x02FB,
    kCreateBrush = 0x02FC,
    kPolyline = 0x0325,
    kRectangle = 0x041B,
    kTextOut = 0x0521,
  };
  enum PenStyle : uint16_t { kSolidPen = 0, kDotPen = 2, kNullPen = 5 };
  enum BrushStyle : uint16_t { kSolidBrush = 0, kNullBrush = 1 };

  // A picture of width x height units, unitsPerInch to the inch.
  WmfRecords(int16_t width, int16_t height, uint16_t unitsPerInch = kTwipsPerInch);

  // Colours are 0x00BBGGRR. Each Create returns the object's slot.
  int CreatePen(uint16_t style, int16_t width, uint32_t colour);
  int CreateBrush(uint16_t style, uint32_t colour);
  int CreateFont(int16_t height, int16_t weight, bool italic, const std::string& face);
  void SelectObject(int slot);
  void DeleteObject(int slot);
  void SetTextColor(uint32_t colour);
  void SetBkMode(uint16_t mode);  // 1 transparent
  void Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);
  void Polyline(const std::vector<WmfPoint>& points);
  // Text with its top-left corner at x, y (Windows-1252 bytes).
  void TextOut(int16_t x, int16_t y, const std::string& bytes);

  // The whole file: placeable header, metafile header, records, end record.
  std::vector<uint8_t> Finish() const;

 private:
  void Record(uint16_t function, const std::vector<uint16_t>& params);
  int TakeSlot();

  int16_t width_, height_;
  uint16_t unitsPerInch_;
  std::vector<uint16_t> body_;  // records in 16-bit words
  uint32_t largest_ = 3;
  std::vector<bool> slots_;
};

}  // namespace scope
