// Item rules of the control: positions, stored texts, widths and heights.
#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "listbox/tests/ctrl_fixture.h"

namespace tivolen::test {
namespace {

QStringList Texts(TivolenCtrl& c) {
  QStringList out;
  for (int i = 0; i < Count(c); ++i) out << c.GetProperty(kDispList, {ShortValue(i)}).value.toString();
  return out;
}

struct AddCase {
  const char* what;
  bool sort;
  int pictureTab;
  QStringList before;
  QVariantList args;  // AddItem arguments
  QStringList after;
  int newIndex;
};

TEST(Items, AddItemPlacesAndStoresTexts) {
  const AddCase cases[] = {
      {"row appends at ListCount", false, 15, {"a", "b", "c"}, {"x", {}, {}, {}, ShortValue(3)}, {"a", "b", "c", "x"}, 3},
      {"row inserts", false, 15, {"a", "b"}, {"x", {}, {}, {}, ShortValue(0)}, {"x", "a", "b"}, 0},
      {"32-bit row is ignored", false, 15, {"a", "b"}, {"x", {}, {}, {}, QVariant(0)}, {"a", "b", "x"}, 2},
      {"sorted between", true, 15, {"a", "c"}, {"b"}, {"a", "b", "c"}, 1},
      {"sorted after equal texts", true, 15, {"a", "b", "c"}, {"b"}, {"a", "b", "b", "c"}, 2},
      {"sorted ignores the row", true, 15, {"a", "c"}, {"d", {}, {}, {}, ShortValue(0)}, {"a", "c", "d"}, 2},
      {"sorted with picture column 0", true, 0, {"c", "a"}, {"b"}, {"\ta", "\tb", "\tc"}, 1},
      {"picture column past the text", false, 1, {}, {"abc"}, {"abc"}, 0},
      {"picture column inserted", false, 1, {}, {"abc\tdef"}, {"abc\t\tdef"}, 0},
  };
  for (const auto& c : cases) {
    auto ctrl = MakeControl();
    ctrl->PutProperty(kDispSort, ShortValue(c.sort ? -1 : 0));
    ctrl->PutProperty(kDispPictureTab, ShortValue(c.pictureTab));
    for (const auto& t : c.before) Add(*ctrl, t);
    ASSERT_TRUE(ctrl->Invoke(kDispAddItem, c.args).ok()) << c.what;
    EXPECT_EQ(Texts(*ctrl), c.after) << c.what;
    EXPECT_EQ(ctrl->GetProperty(kDispNewIndex).value.toInt(), c.newIndex) << c.what;
    for (int i = 0; i < Count(*ctrl); ++i)
      EXPECT_EQ(ctrl->ListWindow()->Text(i), c.after[i]) << c.what << " list box string " << i;
  }
}

TEST(Items, HeightArgumentCountsOnlyAsFloatOrShort) {
  auto ctrl = MakeControl();
  Add(*ctrl, "f", {{}, {}, FloatValue(600)});
  Add(*ctrl, "s", {{}, {}, ShortValue(450)});
  Add(*ctrl, "d", {{}, {}, QVariant(600.0)});
  EXPECT_EQ(ctrl->ListWindow()->ItemHeight(0), 40);
  EXPECT_EQ(ctrl->ListWindow()->ItemHeight(1), 30);
  EXPECT_EQ(ctrl->ListWindow()->ItemHeight(2), ctrl->ItemHeight(2));
  EXPECT_LT(ctrl->ListWindow()->ItemHeight(2), 40);
}

TEST(Items, AutomaticHeightRule) {
  auto ctrl = MakeControl();
  QFont small = ctrl->ControlFont();
  small.setPixelSize(8);
  Add(*ctrl, "text", {{}, QVariant(small)});
  Add(*ctrl, "");
  Add(*ctrl, "pic", {QVariant::fromValue(Picture::Bitmap(QImage(20, 40, QImage::Format_RGB32)))});
  EXPECT_EQ(ctrl->ItemHeight(0), 16);
  EXPECT_EQ(ctrl->ItemHeight(1), 16);
  EXPECT_EQ(ctrl->ItemHeight(2), 44);
  ctrl->PutProperty(kDispDefHeight, FloatValue(450));
  EXPECT_EQ(ctrl->ListWindow()->ItemHeight(0), 30);
  EXPECT_EQ(ctrl->ListWindow()->ItemHeight(2), 44);
}

TEST(Items, TextsReadBackAtMost127Characters) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispPictureTab, ShortValue(15));
  Add(*ctrl, QString(200, 'x'));
  EXPECT_EQ(ctrl->GetProperty(kDispList, {ShortValue(0)}).value.toString(), QString(127, 'x'));
  EXPECT_EQ(ctrl->ListWindow()->Text(0).size(), 200);
  ctrl->PutProperty(kDispListTabText, QString("y"), {ShortValue(0), ShortValue(1)});
  EXPECT_EQ(ctrl->ListWindow()->Text(0), QString(127, 'x'));  // a column change keeps 127
}

TEST(Items, ListTabTextAppendsMissingColumns) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispPictureTab, ShortValue(15));
  Add(*ctrl, "a");
  ctrl->PutProperty(kDispItemData, QVariant(77), {ShortValue(0)});
  ctrl->PutProperty(kDispListIndex, ShortValue(0));
  ASSERT_TRUE(ctrl->PutProperty(kDispListTabText, QString("x"), {ShortValue(0), ShortValue(3)}).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispList, {ShortValue(0)}).value.toString(), "a\t\t\tx");
  // The list box string was replaced; its data and selection survive.
  EXPECT_EQ(ctrl->GetProperty(kDispItemData, {ShortValue(0)}).value.toInt(), 77);
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 0);
  ASSERT_TRUE(ctrl->PutProperty(kDispList, QString("p\tq"), {ShortValue(0)}).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispListTabText, {ShortValue(0), ShortValue(1)}).value.toString(), "q");
}

TEST(Items, RefusedInsertionLeavesStoreAndListInStep) {
  auto ctrl = MakeControl();
  ctrl->ListWindow()->SetItemLimit(2);
  Add(*ctrl, "a");
  Add(*ctrl, "b");
  DispResult r = ctrl->Invoke(kDispAddItem, {"c", {}, {}, {}, ShortValue(0)});
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error->code, 1000);
  EXPECT_EQ(r.error->message, "Not enough space to AddItem to listbox");
  EXPECT_EQ(Count(*ctrl), 2);
  EXPECT_EQ(ctrl->ListWindow()->Count(), 2);
  EXPECT_EQ(Texts(*ctrl), (QStringList{"\ta", "\tb"}));
  EXPECT_EQ(ctrl->GetProperty(kDispNewIndex).value.toInt(), 1);
}

TEST(Items, RefusedReplacementLeavesStoreAndListInStep) {
  for (int id : {kDispList, kDispListTabText}) {
    auto ctrl = MakeControl();
    for (const char* t : {"a", "b", "c"}) Add(*ctrl, t);
    ctrl->ListWindow()->SetItemLimit(2);  // not even the old string goes back
    DispResult r = ctrl->PutProperty(id, QString("x"), {ShortValue(0), ShortValue(1)});
    ASSERT_FALSE(r.ok()) << id;
    EXPECT_EQ(r.error->code, 1000) << id;
    ASSERT_EQ(Count(*ctrl), ctrl->ListWindow()->Count()) << id;
    EXPECT_EQ(Texts(*ctrl), (QStringList{"\tb", "\tc"})) << id;
    for (int i = 0; i < Count(*ctrl); ++i) EXPECT_EQ(ctrl->ListWindow()->Text(i), Texts(*ctrl)[i]) << id;
  }
}

TEST(Items, RemoveAndClear) {
  auto ctrl = MakeControl();
  for (const char* t : {"a", "b", "c"}) Add(*ctrl, t);
  ASSERT_TRUE(ctrl->Invoke(kDispRemoveItem, {ShortValue(1)}).ok());
  EXPECT_EQ(Texts(*ctrl), (QStringList{"\ta", "\tc"}));
  // The list window shows what the records hold.
  ASSERT_EQ(ctrl->ListWindow()->Count(), 2);
  EXPECT_EQ(ctrl->ListWindow()->Text(0), "\ta");
  EXPECT_EQ(ctrl->ListWindow()->Text(1), "\tc");
  EXPECT_EQ(ctrl->GetProperty(kDispNewIndex).value.toInt(), -1);
  ctrl->Invoke(kDispClear);
  EXPECT_EQ(Count(*ctrl), 0);
  EXPECT_EQ(ctrl->ListWindow()->Count(), 0);
  EXPECT_EQ(ctrl->MaxWidth(), 0);
}

TEST(Items, MaxWidthFollowsTheWidestItem) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispNumTabs, ShortValue(3));
  ctrl->PutProperty(kDispPictureTab, ShortValue(2));
  Add(*ctrl, "a");
  const int narrow = ctrl->MaxWidth();
  EXPECT_EQ(narrow, ctrl->ItemWidth(0));
  Add(*ctrl, "a\twide wide wide wide");
  const int wide = ctrl->MaxWidth();
  EXPECT_GT(wide, narrow);
  EXPECT_GE(wide, ctrl->TabStops()[0]);
  EXPECT_EQ(ctrl->ListWindow()->HorizontalExtent(), wide);
  // The widest item shrinks: the width is worked out again over all items.
  ctrl->PutProperty(kDispList, QString("b"), {ShortValue(1)});
  EXPECT_EQ(ctrl->MaxWidth(), narrow);
  Add(*ctrl, "a\twide wide wide wide");
  ctrl->Invoke(kDispRemoveItem, {ShortValue(2)});
  EXPECT_EQ(ctrl->MaxWidth(), narrow);
  ctrl->PutProperty(kDispAutoHorizExtent, ShortValue(0));
  EXPECT_EQ(ctrl->ListWindow()->HorizontalExtent(), 0);
}

TEST(Items, PictureColumnWidthCountsTowardsMaxWidth) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispNumTabs, ShortValue(2));
  ctrl->PutProperty(kDispPictureTab, ShortValue(1));
  Add(*ctrl, "", {QVariant::fromValue(Picture::Bitmap(QImage(30, 10, QImage::Format_RGB32)))});
  EXPECT_EQ(ctrl->MaxWidth(), ctrl->TabStops()[0] + 30 + 2);
}

TEST(Items, UserDrawZeroesMaxWidthAndExtent) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispUserDraw, ShortValue(-1));
  Add(*ctrl, "some text");
  EXPECT_EQ(ctrl->MaxWidth(), 0);
  EXPECT_EQ(ctrl->ListWindow()->HorizontalExtent(), 0);
}

TEST(Items, TabWidthMovesLaterStops) {
  auto ctrl = MakeControl();
  const auto before = ctrl->TabStops();
  const double width2 = ctrl->GetProperty(kDispTabWidth, {ShortValue(2)}).value.toDouble();
  ASSERT_TRUE(ctrl->PutProperty(kDispTabWidth, FloatValue(width2 + 150), {ShortValue(2)}).ok());
  const auto after = ctrl->TabStops();
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
  for (int i = 2; i < TivolenCtrl::kMaxTabs; ++i) EXPECT_EQ(after[i], before[i] + 10) << i;
  EXPECT_FLOAT_EQ(ctrl->GetProperty(kDispTabWidth, {ShortValue(3)}).value.toFloat(), float(before[3] - before[2]) * 15);
}

TEST(Items, ItemFromPoint) {
  auto ctrl = MakeControl();
  ctrl->show();
  EXPECT_EQ(ctrl->Invoke(kDispItemFromPoint, {FloatValue(300), FloatValue(600)}).value.toInt(), -1);  // empty list
  for (int i = 0; i < 3; ++i) Add(*ctrl, QString("row %1").arg(i), {{}, {}, FloatValue(300)});  // 20 px each
  const int top = ctrl->TitleHeight();
  auto at = [&](int x, int y, QVariant nonClient = {}) {
    QVariantList args{FloatValue(x * 15.0), FloatValue(y * 15.0)};
    if (nonClient.isValid()) args << nonClient;
    return ctrl->Invoke(kDispItemFromPoint, args).value.toInt();
  };
  EXPECT_EQ(at(20, top + 5), 0);
  EXPECT_EQ(at(20, top + 25), 1);
  EXPECT_EQ(at(20, top + 120), 2);  // below the last item
  EXPECT_EQ(at(20, 5), -1);         // the title bar
  EXPECT_EQ(at(0, top + 5), -1);    // the border
  EXPECT_EQ(at(20, 5, QVariant(false)), 0);
  EXPECT_EQ(at(20, 25, QVariant(false)), 1);
  EXPECT_EQ(at(20, 5, QVariant(true)), -1);
  EXPECT_EQ(at(20, 5, ShortValue(0)), -1);  // not a Boolean: the frame tests apply

  // With the bars shown, the items reach up to each bar's edge.
  for (int i = 3; i < 40; ++i) Add(*ctrl, QString("row %1").arg(i), {{}, {}, FloatValue(300)});
  auto* list = ctrl->findChild<QAbstractScrollArea*>();
  ASSERT_NE(list, nullptr);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QCoreApplication::processEvents();
  const QScrollBar* v = list->verticalScrollBar();
  const QScrollBar* h = list->horizontalScrollBar();
  ASSERT_TRUE(v->isVisible() && h->isVisible());
  const int cx = ctrl->width(), cy = ctrl->height();
  EXPECT_GE(at(cx - v->width(), top + 5), 0);
  EXPECT_EQ(at(cx - v->width() + 1, top + 5), -1);
  EXPECT_GE(at(20, cy - h->height()), 0);
  EXPECT_EQ(at(20, cy - h->height() + 1), -1);
}

TEST(Items, ItemsAddedBeforeTheWindowJoinIt) {
  auto ctrl = MakeControl(Mode::Design);
  Add(*ctrl, "a");
  Add(*ctrl, "b");
  ctrl->CreateListWindow();
  EXPECT_EQ(ctrl->ListWindow()->Count(), 2);
  EXPECT_EQ(Count(*ctrl), 2);
}

}  // namespace
}  // namespace tivolen::test

namespace tivolen::test {
namespace {

// Extended selection as a user clicks it: Ctrl+click toggles a row and makes
// it the anchor, so a later Shift+click selects from there.
TEST(Selection, CtrlClickMovesTheAnchorThatShiftClickExtendsFrom) {
  auto c = MakeControl(Mode::Running, 2);
  for (int i = 0; i < 8; ++i) Add(*c, QString("row %1").arg(i));
  c->show();
  ListBoxView* list = c->ListWindow();
  auto click = [&](int row, Qt::KeyboardModifiers mods) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, list->ItemRect(row).center());
  };
  auto selected = [&] {
    QList<int> rows;
    for (int i = 0; i < 8; ++i)
      if (c->GetProperty(kDispSelected, {ShortValue(i)}).value.toInt()) rows << i;
    return rows;
  };
  click(1, Qt::NoModifier);
  click(5, Qt::ControlModifier);
  EXPECT_EQ(selected(), (QList<int>{1, 5}));
  click(3, Qt::ShiftModifier);
  EXPECT_EQ(selected(), (QList<int>{3, 4, 5}));
  click(5, Qt::ControlModifier);  // off again, and still the anchor
  EXPECT_EQ(selected(), (QList<int>{3, 4}));
  click(7, Qt::ShiftModifier);
  EXPECT_EQ(selected(), (QList<int>{5, 6, 7}));
}

}  // namespace
}  // namespace tivolen::test
