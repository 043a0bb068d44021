#pragma once
// The text rules of list items: tab-separated columns, the empty picture
// column, the 127-character read limit and the sort order.
#include <QString>

namespace tivolen {

// Every read of an item or column text yields at most this many characters.
inline constexpr int kTextReadLimit = 127;

QString LimitText(const QString& text, int limit = kTextReadLimit);

// Makes column pictureTab empty: inserts a tab where that column starts,
// unless the text ends before it.
QString InsertPictureColumn(const QString& text, int pictureTab);

// Column n (up to the next tab); empty when the text has fewer than n tabs.
QString ColumnText(const QString& text, int column, int limit = kTextReadLimit);

// Replaces column n, appending tabs when the text has fewer than n.
// Nullopt-like: returns false and leaves text alone when t holds a tab.
bool SetColumnText(QString& text, int column, const QString& t);

// The legacy multibyte string order (byte order in the item's code page).
int CompareItemText(const QString& a, const QString& b);

// Where a sorted insert places text: after every item not greater than it.
template <typename TextAt>
int SortedPosition(int count, const QString& text, TextAt textAt) {
  for (int i = 0; i < count; ++i)
    if (CompareItemText(textAt(i), text) > 0) return i;
  return count;
}

}  // namespace tivolen
