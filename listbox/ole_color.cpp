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
      default: return QColor(0, 0, 0);
    }
  }
  return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

}  // namespace tivolen
