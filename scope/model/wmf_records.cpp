#include "scope/model/wmf_records.h"

#include <algorithm>
#include <cmath>

namespace scope {
namespace {

uint16_t Lo(uint32_t v) { return uint16_t(v & 0xFFFF); }
uint16_t Hi(uint32_t v) { return uint16_t(v >> 16); }

void PutWord(std::vector<uint8_t>& out, uint16_t w) {
  out.push_back(uint8_t(w & 0xFF));
  out.push_back(uint8_t(w >> 8));
}

// A rectangle's right and bottom edges lie one past what it fills, so the
// extents stop one short of the largest 16-bit coordinate.
constexpr int kMaxExtent = 32766;

}  // namespace

WmfUnits UnitsForPicture(int widthPx, int heightPx, int dpiX, int dpiY) {
  widthPx = std::max(1, widthPx);
  heightPx = std::max(1, heightPx);
  dpiX = std::max(1, dpiX);
  dpiY = std::max(1, dpiY);
  WmfUnits u;
  // The largest whole number of units per inch that keeps both extents in range.
  const double fits = std::min(double(kMaxExtent) * dpiX / widthPx, double(kMaxExtent) * dpiY / heightPx);
  u.unitsPerInch = std::clamp(int(std::floor(fits)), 1, int(WmfRecords::kTwipsPerInch));
  u.width = std::min(kMaxExtent, int(std::lround(double(widthPx) * u.unitsPerInch / dpiX)));
  u.height = std::min(kMaxExtent, int(std::lround(double(heightPx) * u.unitsPerInch / dpiY)));
  return u;
}

WmfRecords::WmfRecords(int16_t width, int16_t height, uint16_t unitsPerInch)
    : width_(width), height_(height), unitsPerInch_(unitsPerInch) {
  // The window is the picture itself, in the header's units.
  Record(kSetWindowOrg, {0, 0});
  Record(kSetWindowExt, {uint16_t(height_), uint16_t(width_)});
}

void WmfRecords::Record(uint16_t function, const std::vector<uint16_t>& params) {
  const uint32_t size = uint32_t(3 + params.size());
  body_.push_back(Lo(size));
  body_.push_back(Hi(size));
  body_.push_back(function);
  body_.insert(body_.end(), params.begin(), params.end());
  largest_ = std::max(largest_, size);
}

int WmfRecords::TakeSlot() {
  for (size_t i = 0; i < slots_.size(); ++i)
    if (!slots_[i]) {
      slots_[i] = true;
      return int(i);
    }
  slots_.push_back(true);
  return int(slots_.size() - 1);
}

int WmfRecords::CreatePen(uint16_t style, int16_t width, uint32_t colour) {
  Record(kCreatePen, {style, uint16_t(width), 0, Lo(colour), Hi(colour)});
  return TakeSlot();
}

int WmfRecords::CreateBrush(uint16_t style, uint32_t colour) {
  Record(kCreateBrush, {style, Lo(colour), Hi(colour), 0});
  return TakeSlot();
}

int WmfRecords::CreateFont(int16_t height, int16_t weight, bool italic, const std::string& face) {
  std::vector<uint16_t> p = {uint16_t(height), 0, 0, 0, uint16_t(weight)};
  p.push_back(uint16_t(italic ? 1 : 0));  // italic, underline
  p.push_back(0);                         // strike-out, ANSI character set
  p.push_back(0);                         // output and clip precision
  p.push_back(uint16_t(2 | (0x22 << 8))); // proof quality; variable pitch, swiss
  std::string name = face.substr(0, 31);
  name.push_back('\0');
  if (name.size() % 2) name.push_back('\0');
  for (size_t i = 0; i < name.size(); i += 2) p.push_back(uint16_t(uint8_t(name[i]) | uint8_t(name[i + 1]) << 8));
  Record(kCreateFont, p);
  return TakeSlot();
}

void WmfRecords::SelectObject(int slot) { Record(kSelectObject, {uint16_t(slot)}); }

void WmfRecords::DeleteObject(int slot) {
  Record(kDeleteObject, {uint16_t(slot)});
  if (slot >= 0 && size_t(slot) < slots_.size()) slots_[slot] = false;
}

void WmfRecords::SetTextColor(uint32_t colour) { Record(kSetTextColor, {Lo(colour), Hi(colour)}); }

void WmfRecords::SetBkMode(uint16_t mode) { Record(kSetBkMode, {mode}); }

void WmfRecords::Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  Record(kRectangle, {uint16_t(bottom), uint16_t(right), uint16_t(top), uint16_t(left)});
}

void WmfRecords::Polyline(const std::vector<WmfPoint>& points) {
  // A record's point count is one word.
  for (size_t first = 0; first + 1 < points.size(); first += 8000) {
    const size_t n = std::min<size_t>(8001, points.size() - first);
    std::vector<uint16_t> p = {uint16_t(n)};
    for (size_t i = first; i < first + n; ++i) {
      p.push_back(uint16_t(points[i].x));
      p.push_back(uint16_t(points[i].y));
    }
    Record(kPolyline, p);
  }
}

void WmfRecords::TextOut(int16_t x, int16_t y, const std::string& bytes) {
  std::string s = bytes.substr(0, 4000);
  std::vector<uint16_t> p = {uint16_t(s.size())};
  if (s.size() % 2) s.push_back('\0');
  for (size_t i = 0; i < s.size(); i += 2) p.push_back(uint16_t(uint8_t(s[i]) | uint8_t(s[i + 1]) << 8));
  p.push_back(uint16_t(y));
  p.push_back(uint16_t(x));
  Record(kTextOut, p);
}

std::vector<uint8_t> WmfRecords::Finish() const {
  std::vector<uint16_t> all = body_;
  all.insert(all.end(), {3, 0, kEof});
  std::vector<uint8_t> out;
  // Placeable header: key, handle, box, units per inch, reserved, checksum.
  std::vector<uint16_t> head = {Lo(kKey), Hi(kKey), 0, 0, 0, uint16_t(width_), uint16_t(height_),
                                unitsPerInch_, 0, 0};
  uint16_t sum = 0;
  for (uint16_t w : head) sum ^= w;
  head.push_back(sum);
  for (uint16_t w : head) PutWord(out, w);
  const uint32_t words = uint32_t(9 + all.size());
  const std::vector<uint16_t> meta = {1, 9, 0x0300, Lo(words), Hi(words), uint16_t(slots_.size()),
                                      Lo(largest_), Hi(largest_), 0};
  for (uint16_t w : meta) PutWord(out, w);
  for (uint16_t w : all) PutWord(out, w);
  return out;
}

}  // namespace scope
