#pragma once
// OLE colours: 0x00BBGGRR, or 0x800000nn naming a system colour.
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

namespace tivolen {

using OleColor = uint32_t;

// System colour indexes the control uses.
enum SysColor : int {
  kColorActiveCaption = 2, kColorInactiveCaption = 3, kColorWindow = 5, kColorWindowFrame = 6,
  kColorWindowText = 8, kColorCaptionText = 9, kColorHighlight = 13, kColorHighlightText = 14,
  kColorGrayText = 17, kColorInactiveCaptionText = 19,
};

inline constexpr OleColor SystemColor(int index) { return 0x80000000u | OleColor(index); }

// The platform defines system colours 0 to 24; the numbers above name none.
inline constexpr int kSystemColorCount = 25;

// "0x8000000F", "0x00BBGGRR".
QString OleColorText(OleColor color);

// A colour as the user or a host types it: "0x80000005", "&H80000005&", or
// a decimal number, a negative one read as its 32 bits.
struct ParsedColor {
  std::optional<OleColor> color;
  QString error;  // why not, when there is no colour
};
ParsedColor ParseOleColor(const QString& text);

// The colour to paint with; system colours come from the classic scheme so
// drawings are the same on every desktop.
QColor TranslateColor(OleColor color);

inline OleColor ToOleColor(const QColor& c) {
  return OleColor(c.red()) | OleColor(c.green()) << 8 | OleColor(c.blue()) << 16;
}

}  // namespace tivolen
