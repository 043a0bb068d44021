#include "platform/ui/qt/plain_text.h"

#include <QLabel>

namespace talvero {

QString LiteralMenuText(const std::string& text) {
  QString q = ToQ(text);
  q.replace(QLatin1Char('&'), QLatin1String("&&"));
  return q;
}

void SetPlainText(QLabel* label, const std::string& text) {
  label->setTextFormat(Qt::PlainText);
  label->setText(ToQ(text));
}

}  // namespace talvero
