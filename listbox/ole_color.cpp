#include "listbox/ole_color.h"

namespace tivolen {

QColor TranslateColor(OleColor color) {
  if (color & 0x80000000u) {
    switch (color & 0xFF) {
      case 0: return QColor(192, 192, 192);           // scroll bar
      case 1: return QColor(0, 128, 128);             // desktop
      case kColorActiveCaption: return QColor(0, 0, 128);
      case kColorInactiveCaption: return QColor(128, 128, 128);
      case 4: return QColor(192, 192, 192);           // menu
      case kColorWindow: return QColor(255, 255, 255);
      case kColorWindowFrame: return QColor(0, 0, 0);
      case 7: return QColor(0, 0, 0);                 // menu text
      case kColorWindowText: return QColor(0, 0, 0);
      case kColorCaptionText: return QColor(255, 255, 255);
      case 10: case 11: return QColor(192, 192, 192); // borders
      case 12: return QColor(128, 128, 128);          // application workspace
      case kColorHighlight: return QColor(0, 0, 128);
      case kColorHighlightText: return QColor(255, 255, 255);
      case 15: return QColor(192, 192, 192);          // button face
      case 16: return QColor(128, 128, 128);          // button shadow
      case kColorGrayText: return QColor(128, 128, 128);
      case 18: return QColor(0, 0, 0);                // button text
      case kColorInactiveCaptionText: return QColor(192, 192, 192);
      case 20: return QColor(255, 255, 255);          // button highlight
      case 21: return QColor(0, 0, 0);                // 3D dark shadow
      case 22: return QColor(192, 192, 192);          // 3D light
      case 23: return QColor(0, 0, 0);                // tooltip text
      case 24: return QColor(255, 255, 225);          // tooltip background
      default: return QColor(0, 0, 0);
    }
  }
  return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

QString OleColorText(OleColor c) { return "0x" + QString("%1").arg(c, 8, 16, QChar('0')).toUpper(); }

ParsedColor ParseOleColor(const QString& typed) {
  const QString text = typed.trimmed();
  bool ok = false;
  qlonglong v = 0;
  if (text.startsWith("0x", Qt::CaseInsensitive)) {
    v = text.mid(2).toLongLong(&ok, 16);
  } else if (text.startsWith("&H", Qt::CaseInsensitive)) {
    QString digits = text.mid(2);
    if (digits.endsWith('&')) digits.chop(1);
    v = digits.toLongLong(&ok, 16);
  } else {
    v = text.toLongLong(&ok, 10);
    // Hosts print a system colour as a signed 32-bit number.
    if (ok && v < 0) {
      ok = v >= INT32_MIN;
      v &= 0xFFFFFFFF;
    }
  }
  const QString form = "Enter a colour as 0x00BBGGRR, or a system colour 0x800000nn.";
  if (!ok || v < 0 || v > 0xFFFFFFFFLL) return {std::nullopt, form};
  const OleColor c = OleColor(v);
  const bool system = (c & 0xFFFFFF00u) == 0x80000000u;
  if (c <= 0xFFFFFF || (system && int(c & 0xFF) < kSystemColorCount)) return {c, {}};
  if (!system) return {std::nullopt, form};
  return {std::nullopt, OleColorText(c) + " is not a system colour: they are " + OleColorText(SystemColor(0)) +
                            " to " + OleColorText(SystemColor(kSystemColorCount - 1)) + "."};
}

}  // namespace tivolen
