#include "platform/ui/qt/title_width.h"

#include <QFontMetrics>

namespace talvero {

int WidthForTitle(const QString& title, const QFont& font) {
  QFont bold = font;
  bold.setBold(true);
  const QFontMetrics fm(bold);
  // An icon and up to three buttons, each about a line high with padding.
  const int decorations = 4 * (fm.height() + 8) + 16;
  return fm.horizontalAdvance(title) + decorations;
}

}  // namespace talvero
