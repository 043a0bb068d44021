// The text rules of items, as tables.
#include <gtest/gtest.h>

#include <QStringList>

#include "listbox/item_text.h"

namespace tivolen {
namespace {

struct PictureColumnCase {
  const char* text;
  int pictureTab;
  const char* stored;
};

TEST(ItemText, PictureColumnIsInsertedWhereTheTextReachesIt) {
  const PictureColumnCase cases[] = {
      {"abc", 0, "\tabc"},
      {"", 0, ""},
      {"abc", 1, "abc"},
      {"abc\tdef", 1, "abc\t\tdef"},
      {"abc\t", 1, "abc\t"},
      {"a\tb\tc", 2, "a\tb\t\tc"},
      {"a\tb", 3, "a\tb"},
      {"\tx", 0, "\t\tx"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(InsertPictureColumn(c.text, c.pictureTab), c.stored) << c.text << " / " << c.pictureTab;
}

struct ColumnCase {
  const char* text;
  int column;
  const char* newText;
  const char* after;
  const char* read;
};

TEST(ItemText, ColumnsAreReplacedOrAppended) {
  const ColumnCase cases[] = {
      {"a", 3, "x", "a\t\t\tx", "x"},
      {"a\tb\tc", 1, "XY", "a\tXY\tc", "XY"},
      {"a\tb\tc", 2, "", "a\tb\t", ""},
      {"", 0, "z", "z", "z"},
      {"a\tb", 0, "q", "q\tb", "q"},
  };
  for (const auto& c : cases) {
    QString t = c.text;
    ASSERT_TRUE(SetColumnText(t, c.column, c.newText));
    EXPECT_EQ(t, c.after) << c.text;
    EXPECT_EQ(ColumnText(t, c.column), c.read);
  }
  QString t = "a";
  EXPECT_FALSE(SetColumnText(t, 0, "x\ty"));
  EXPECT_EQ(t, "a");
  EXPECT_EQ(ColumnText("a\tb", 5), "");
}

TEST(ItemText, ReadsStopAt127Characters) {
  const QString longText(200, 'x');
  EXPECT_EQ(LimitText(longText).size(), 127);
  EXPECT_EQ(ColumnText("a\t" + longText, 1).size(), 127);
}

TEST(ItemText, SortedPositionGoesAfterEqualTexts) {
  const QStringList texts{"a", "b", "b", "c"};
  auto at = [&](int i) { return texts[i]; };
  EXPECT_EQ(SortedPosition(4, "b", at), 3);
  EXPECT_EQ(SortedPosition(4, "B", at), 0);  // byte order: upper case first
  EXPECT_EQ(SortedPosition(4, "d", at), 4);
  EXPECT_EQ(SortedPosition(0, "x", at), 0);
  EXPECT_LT(CompareItemText("", "a"), 0);
  EXPECT_GT(CompareItemText("ab", "a"), 0);
}

}  // namespace
}  // namespace tivolen
