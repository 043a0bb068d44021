#include "listbox/item_text.h"

namespace tivolen {

QString LimitText(const QString& text, int limit) {
  return text.size() > limit ? text.left(limit) : text;
}

QString InsertPictureColumn(const QString& text, int pictureTab) {
  int pos = 0;
  for (int tabs = 0; tabs < pictureTab && pos < text.size(); ++pos)
    if (text[pos] == '\t') ++tabs;
  // A tab passed last leaves pos just after it; the loop also stops at the end.
  if (pos >= text.size()) return text;
  QString out = text;
  out.insert(pos, QChar('\t'));
  return out;
}

QString ColumnText(const QString& text, int column, int limit) {
  int pos = 0;
  for (int tabs = 0; tabs < column; ++tabs) {
    int next = text.indexOf('\t', pos);
    if (next < 0) return QString();
    pos = next + 1;
  }
  int end = text.indexOf('\t', pos);
  return LimitText(text.mid(pos, end < 0 ? -1 : end - pos), limit);
}

bool SetColumnText(QString& text, int column, const QString& t) {
  if (t.contains('\t')) return false;
  int pos = 0;
  for (int tabs = 0; tabs < column; ++tabs) {
    int next = text.indexOf('\t', pos);
    if (next < 0) {
      text += QString(column - tabs, QChar('\t')) + t;
      return true;
    }
    pos = next + 1;
  }
  int end = text.indexOf('\t', pos);
  text.replace(pos, (end < 0 ? text.size() : end) - pos, t);
  return true;
}

int CompareItemText(const QString& a, const QString& b) {
  const QByteArray x = a.toLatin1(), y = b.toLatin1();
  const int n = std::min(x.size(), y.size());
  for (int i = 0; i < n; ++i) {
    const auto cx = uchar(x[i]), cy = uchar(y[i]);
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

}  // namespace tivolen
