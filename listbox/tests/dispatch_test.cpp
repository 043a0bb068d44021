// The dispatch interface as a table: member, arguments, value -> result or error.
#include <QScrollBar>
#include <gtest/gtest.h>

#include "listbox/tests/ctrl_fixture.h"

namespace tivolen::test {
namespace {

enum class Op { Get, Put, Call };
struct Err {
  int code;
  const char* message;  // a prefix of the expected text
  int help;
};
struct Case {
  const char* what;
  Mode mode;
  int multiSelect;
  Op op;
  int dispId;
  QVariantList index;
  QVariant value;
  std::optional<QString> expect;  // the result as text, when it matters
  std::optional<Err> err;
};

QVariant S(int v) { return ShortValue(v); }
QVariant F(double v) { return FloatValue(v); }
PicturePtr Bitmap() { return Picture::Bitmap(QImage(8, 8, QImage::Format_RGB32)); }
PicturePtr Icon() { return Picture::Icon(QImage(8, 8, QImage::Format_ARGB32)); }

constexpr Mode R = Mode::Running, D = Mode::Design;
const Err kNoSet{383, "Set not supported", -1};
const Err kNoGet{394, "Get not supported", -1};
const char* kIndexMsg = "This property's index must be an integer from 0 to the number of items";

const Case kCases[] = {
    {"ListCount", R, 0, Op::Get, kDispListCount, {}, {}, "3", {}},
    {"ListCount read-only", R, 0, Op::Put, kDispListCount, {}, S(5), {}, kNoSet},
    {"ListCount without window", D, 0, Op::Get, kDispListCount, {}, {}, {}, kNoGet},
    {"NewIndex", R, 0, Op::Get, kDispNewIndex, {}, {}, "2", {}},
    {"NewIndex read-only", R, 0, Op::Put, kDispNewIndex, {}, S(1), {}, kNoSet},
    {"NewIndex without window", D, 0, Op::Get, kDispNewIndex, {}, {}, {}, kNoGet},
    {"SelCount", R, 0, Op::Get, kDispSelCount, {}, {}, "0", {}},
    {"SelCount read-only", R, 0, Op::Put, kDispSelCount, {}, S(1), {}, kNoSet},
    {"SelCount without window", D, 0, Op::Get, kDispSelCount, {}, {}, {}, kNoGet},
    {"Sort 2", R, 0, Op::Put, kDispSort, {}, S(2), {}, Err{380, "Sort must be either True or False", -1}},
    {"Sort -1", R, 0, Op::Put, kDispSort, {}, S(-1), "-1", {}},
    {"Sort without window", D, 0, Op::Put, kDispSort, {}, S(1), {}, {}},
    {"TopIndex", R, 0, Op::Get, kDispTopIndex, {}, {}, "0", {}},
    {"TopIndex set without window", D, 0, Op::Put, kDispTopIndex, {}, S(0), {}, kNoSet},
    {"TopIndex get without window", D, 0, Op::Get, kDispTopIndex, {}, {}, {}, kNoGet},
    {"MultiSelect 3", R, 0, Op::Put, kDispMultiSelect, {}, S(3), {},
     Err{380, "MultiSelect must be 0 - Single, 1 - Multiple, or 2 - Extended", -1}},
    {"MultiSelect 2", R, 0, Op::Put, kDispMultiSelect, {}, S(2), {}, {}},
    {"PicTransColor", R, 0, Op::Get, kDispPicTransColor, {}, {}, "16777215", {}},
    {"NumTabs 51", R, 0, Op::Put, kDispNumTabs, {}, S(51), {}, Err{380, "NumTabs must be an integer from 0 to 50", 1047}},
    {"NumTabs -1", R, 0, Op::Put, kDispNumTabs, {}, S(-1), {}, Err{380, "NumTabs must be", 1047}},
    {"NumTabs 50", R, 0, Op::Put, kDispNumTabs, {}, S(50), "50", {}},
    {"NumTabs 0", R, 0, Op::Put, kDispNumTabs, {}, S(0), "0", {}},
    {"NumTabs default", R, 0, Op::Get, kDispNumTabs, {}, {}, "16", {}},
    {"PictureTab = NumTabs", R, 0, Op::Put, kDispPictureTab, {}, S(16), {},
     Err{380, "PictureTab must be between 0 and NumTabs", 1051}},
    {"PictureTab last column", R, 0, Op::Put, kDispPictureTab, {}, S(15), {}, {}},
    {"UserDraw 2", R, 0, Op::Put, kDispUserDraw, {}, S(2), {}, Err{380, "UserDraw must be either True or False", 1071}},
    {"UserDraw as Boolean", R, 0, Op::Put, kDispUserDraw, {}, QVariant(true), {}, {}},
    {"ShowTitle 5", R, 0, Op::Put, kDispShowTitle, {}, S(5), {}, Err{380, "ShowTitle must be", 1060}},
    {"ShowTitle default", R, 0, Op::Get, kDispShowTitle, {}, {}, "-1", {}},
    {"RollUp 3", R, 0, Op::Put, kDispRollUp, {}, S(3), {}, Err{380, "RollUp must be either True or False", 1054}},
    {"RollUp without window", D, 0, Op::Put, kDispRollUp, {}, S(1), {}, kNoSet},
    {"AutoHorizExtent 7", R, 0, Op::Put, kDispAutoHorizExtent, {}, S(7), {}, Err{380, "AutoHorizExtent must be", 1003}},
    {"NoRedraw text", R, 0, Op::Put, kDispNoRedraw, {}, QVariant("yes"), {}, Err{380, "NoRedraw must be", 1046}},
    {"ListIndex none", R, 0, Op::Get, kDispListIndex, {}, {}, "-1", {}},
    {"ListIndex = ListCount", R, 0, Op::Put, kDispListIndex, {}, S(3), {}, Err{381, kIndexMsg, -1}},
    {"ListIndex -2", R, 0, Op::Put, kDispListIndex, {}, S(-2), {}, Err{381, kIndexMsg, -1}},
    {"ListIndex -1", R, 0, Op::Put, kDispListIndex, {}, S(-1), {}, {}},
    {"ListIndex multiple get", R, 1, Op::Get, kDispListIndex, {}, {}, {},
     Err{380, "The ListIndex property is not valid when MultiSelect", -1}},
    {"ListIndex multiple set", R, 2, Op::Put, kDispListIndex, {}, S(0), {}, Err{380, "The ListIndex property", -1}},
    {"ListIndex without window", D, 0, Op::Get, kDispListIndex, {}, {}, {}, kNoGet},
    {"Value none", R, 0, Op::Get, kDispValue, {}, {}, "", {}},
    {"Value multiple get", R, 1, Op::Get, kDispValue, {}, {}, {},
     Err{380, "The Value property is not valid when MultiSelect", 1072}},
    {"Value multiple set", R, 1, Op::Put, kDispValue, {}, QVariant("b"), {}, Err{380, "The Value property", 1072}},
    {"Value default member", R, 1, Op::Get, kDispValueDefault, {}, {}, {}, Err{380, "The Value property", 1072}},
    {"Value set without window", D, 0, Op::Put, kDispValue, {}, QVariant("b"), {}, kNoSet},
    {"DefHeight -1", R, 0, Op::Put, kDispDefHeight, {}, F(-1), {},
     Err{380, "DefHeight must be greater than or equal to zero", 1010}},
    {"DefHeight -0", R, 0, Op::Put, kDispDefHeight, {}, F(-0.0), {}, {}},
    {"DefHeight default", R, 0, Op::Get, kDispDefHeight, {}, {}, "0", {}},
    {"DragWindow 4", R, 0, Op::Put, kDispDragWindow, {}, S(4), {}, Err{380, "DragWindow must be", 1015}},
    {"ToolTip default", R, 0, Op::Get, kDispToolTip, {}, {}, "Tivolen", {}},
    {"MousePointer 16", R, 0, Op::Put, kDispMousePointer, {}, S(16), {},
     Err{380, "MousePointer must be from 0 to 14, or 99. ", -1}},
    {"MousePointer 15", R, 0, Op::Put, kDispMousePointer, {}, S(15), {}, {}},
    {"MousePointer -1", R, 0, Op::Put, kDispMousePointer, {}, S(-1), {}, Err{380, "MousePointer must be", -1}},
    {"MouseIcon bitmap", R, 0, Op::Put, kDispMouseIcon, {}, QVariant::fromValue(Bitmap()), {},
     Err{481, "The MouseIcon property must be an Icon.", -1}},
    {"MouseIcon text", R, 0, Op::Put, kDispMouseIcon, {}, QVariant("x"), {}, Err{481, "The MouseIcon", -1}},
    {"MouseIcon icon", R, 0, Op::Put, kDispMouseIcon, {}, QVariant::fromValue(Icon()), {}, {}},
    {"MouseIcon none", R, 0, Op::Put, kDispMouseIcon, {}, QVariant(), {}, {}},
    {"TBarHeight -15", R, 0, Op::Put, kDispTBarHeight, {}, F(-15), {},
     Err{380, "TBarHeight must be an integer greater than or equal to 0.  If set to 0", 1067}},
    {"TBarHeight 0 is the caption height", R, 0, Op::Get, kDispTBarHeight, {}, {}, "270", {}},
    {"HdnHeight", R, 0, Op::Get, kDispHdnHeight, {}, {}, "0", {}},
    {"HdnHeight set", R, 0, Op::Put, kDispHdnHeight, {}, S(9), {}, {}},
    {"HdnWidth is the height", R, 0, Op::Get, kDispHdnWidth, {}, {}, "200", {}},
    {"HdnWidth read-only", R, 0, Op::Put, kDispHdnWidth, {}, S(9), {}, kNoSet},
    {"RemoveItem = ListCount", R, 0, Op::Call, kDispRemoveItem, {S(3)}, {}, {}, Err{381, kIndexMsg, -1}},
    {"RemoveItem -1", R, 0, Op::Call, kDispRemoveItem, {S(-1)}, {}, {}, Err{381, kIndexMsg, -1}},
    {"AddItem row past the end", R, 0, Op::Call, kDispAddItem, {"x", {}, {}, {}, S(5)}, {}, {}, Err{381, kIndexMsg, 1002}},
    {"AddItem row -1", R, 0, Op::Call, kDispAddItem, {"x", {}, {}, {}, S(-1)}, {}, {}, Err{381, kIndexMsg, 1002}},
    {"ItemFromPoint without window", D, 0, Op::Call, kDispItemFromPoint, {F(100), F(600)}, {}, "-1", {}},
    {"List", R, 0, Op::Get, kDispList, {S(1)}, {}, "\tb", {}},
    {"List = ListCount", R, 0, Op::Get, kDispList, {S(3)}, {}, {}, Err{381, kIndexMsg, -1}},
    {"List set out of range", R, 0, Op::Put, kDispList, {S(-1)}, QVariant("x"), {}, Err{381, kIndexMsg, -1}},
    {"Selected", R, 0, Op::Get, kDispSelected, {S(0)}, {}, "0", {}},
    {"Selected out of range", R, 0, Op::Get, kDispSelected, {S(3)}, {}, {}, Err{381, kIndexMsg, -1}},
    {"Selected 2", R, 0, Op::Put, kDispSelected, {S(0)}, S(2), {}, Err{380, "Selected must be either True or False", -1}},
    {"Selected without window", D, 0, Op::Get, kDispSelected, {S(0)}, {}, {}, kNoGet},
    {"Selected set without window", D, 0, Op::Put, kDispSelected, {S(0)}, S(1), {}, kNoSet},
    {"ListFontBold without own font", R, 0, Op::Get, kDispListFontBold, {S(0)}, {}, "0", {}},
    {"ListFontBold index", R, 0, Op::Get, kDispListFontBold, {S(3)}, {}, {}, Err{381, kIndexMsg, 1030}},
    {"ListFontItalic index", R, 0, Op::Put, kDispListFontItalic, {S(3)}, S(1), {}, Err{381, kIndexMsg, 1031}},
    {"ListFontName without own font", R, 0, Op::Get, kDispListFontName, {S(0)}, {}, "", {}},
    {"ListFontName index", R, 0, Op::Get, kDispListFontName, {S(9)}, {}, {}, Err{381, kIndexMsg, 1032}},
    {"ListPicture index", R, 0, Op::Put, kDispListPicture, {S(3)}, {}, {}, Err{381, kIndexMsg, 1038}},
    {"ListFont index", R, 0, Op::Get, kDispListFont, {S(-1)}, {}, {}, Err{381, kIndexMsg, 1029}},
    {"ListFontSize without own font", R, 0, Op::Get, kDispListFontSize, {S(0)}, {}, "0", {}},
    {"ListFontSize index", R, 0, Op::Get, kDispListFontSize, {S(3)}, {}, {}, Err{381, kIndexMsg, 1033}},
    {"ListFontUnderline index", R, 0, Op::Get, kDispListFontUnderline, {S(3)}, {}, {}, Err{381, kIndexMsg, 1035}},
    {"ListFontStrikethru index", R, 0, Op::Get, kDispListFontStrikethru, {S(3)}, {}, {}, Err{381, kIndexMsg, 1034}},
    {"ListTabText", R, 0, Op::Get, kDispListTabText, {S(2), S(1)}, {}, "c", {}},
    {"ListTabText column = NumTabs", R, 0, Op::Get, kDispListTabText, {S(0), S(16)}, {}, {},
     Err{381, "Column must be less than NumTabs", -1}},
    {"ListTabText column -1", R, 0, Op::Put, kDispListTabText, {S(0), S(-1)}, QVariant("x"), {},
     Err{381, "Column must be less than NumTabs", -1}},
    {"ListTabText index", R, 0, Op::Get, kDispListTabText, {S(3), S(0)}, {}, {}, Err{381, kIndexMsg, 1039}},
    {"ListTabText with a tab", R, 0, Op::Put, kDispListTabText, {S(0), S(1)}, QVariant("x\ty"), {},
     Err{380, "TabText must not have any tab characters in it", -1}},
    {"ItemData", R, 0, Op::Get, kDispItemData, {S(0)}, {}, "0", {}},
    {"ItemData index", R, 0, Op::Put, kDispItemData, {S(3)}, QVariant(7), {}, Err{381, kIndexMsg, -1}},
    {"ItemData without window", D, 0, Op::Get, kDispItemData, {S(0)}, {}, {}, kNoGet},
    {"ItemData set without window", D, 0, Op::Put, kDispItemData, {S(0)}, QVariant(7), {}, kNoSet},
    {"ListHeight index", R, 0, Op::Get, kDispListHeight, {S(3)}, {}, {}, Err{381, kIndexMsg, 1036}},
    {"TabWidth column = NumTabs", R, 0, Op::Get, kDispTabWidth, {S(16)}, {}, {},
     Err{381, "Column must be less than NumTabs", 1065}},
    {"TabWidth set column -1", R, 0, Op::Put, kDispTabWidth, {S(-1)}, F(300), {},
     Err{381, "Column must be less than NumTabs", 1065}},
    {"TabWidth 0 in twips", R, 0, Op::Get, kDispTabWidth, {S(0)}, {}, "960", {}},
    {"BackColor", R, 0, Op::Get, kDispBackColor, {}, {}, QString::number(0x80000005u), {}},
    {"Caption", R, 0, Op::Get, kDispCaption, {}, {}, "", {}},
    {"unknown member", R, 0, Op::Get, 99, {}, {}, {}, Err{438, "Object doesn't support", -1}},
};

class DispatchTable : public testing::TestWithParam<Case> {};

TEST_P(DispatchTable, ResultOrError) {
  const Case& c = GetParam();
  auto ctrl = MakeControl(c.mode, c.multiSelect);
  for (const char* t : {"a", "b", "c"}) Add(*ctrl, t);
  DispResult r = c.op == Op::Get   ? ctrl->GetProperty(c.dispId, c.index)
                 : c.op == Op::Put ? ctrl->PutProperty(c.dispId, c.value, c.index)
                                   : ctrl->Invoke(c.dispId, c.index);
  if (c.err) {
    ASSERT_FALSE(r.ok()) << "expected error " << c.err->code;
    EXPECT_EQ(r.error->code, c.err->code);
    EXPECT_TRUE(r.error->message.startsWith(c.err->message)) << r.error->message.toStdString();
    EXPECT_EQ(r.error->helpContext, c.err->help);
    EXPECT_EQ(r.error->Status(), 0x800A0000u | quint32(c.err->code));
  } else {
    ASSERT_TRUE(r.ok()) << r.error->message.toStdString();
    // A set is read back: accepted must mean stored.
    if (c.expect && c.op == Op::Put) {
      EXPECT_EQ(ctrl->GetProperty(c.dispId, c.index).value.toString(), *c.expect);
    } else if (c.expect) {
      EXPECT_EQ(r.value.toString(), *c.expect);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Members, DispatchTable, testing::ValuesIn(kCases), [](const auto& info) {
  QString name = QString(info.param.what);
  for (auto& ch : name)
    if (!ch.isLetterOrNumber()) ch = '_';
  return name.toStdString();
});

TEST(Dispatch, ScalarsTypedAsTheInterfaceDeclaresThem) {
  auto ctrl = MakeControl();
  EXPECT_EQ(ctrl->GetProperty(kDispListCount).value.typeId(), QMetaType::Short);
  EXPECT_EQ(ctrl->GetProperty(kDispSort).value.typeId(), QMetaType::Short);
  EXPECT_EQ(ctrl->GetProperty(kDispDefHeight).value.typeId(), QMetaType::Float);
  EXPECT_EQ(ctrl->GetProperty(kDispHdnWidth).value.typeId(), QMetaType::Int);
}

TEST(Dispatch, NamesResolveToMemberNumbersCaseBlind) {
  auto ctrl = MakeControl(Mode::Design);
  EXPECT_EQ(ctrl->DispIdOfName("ListCount"), 1);
  EXPECT_EQ(ctrl->DispIdOfName("itemfrompoint"), 31);
  EXPECT_EQ(ctrl->DispIdOfName("TABWIDTH"), 45);
  EXPECT_EQ(ctrl->DispIdOfName("AboutBox"), -552);
  EXPECT_EQ(ctrl->DispIdOfName("FontName"), -1);
}

TEST(Dispatch, SuccessfulSetsNotifyWithTheMemberNumber) {
  auto ctrl = MakeControl();
  QList<int> notified;
  QObject::connect(ctrl.get(), &TivolenCtrl::PropertyChanged, [&](int id) { notified << id; });
  ctrl->SetModified(false);
  ASSERT_TRUE(ctrl->PutProperty(kDispNumTabs, ShortValue(4)).ok());
  EXPECT_FALSE(ctrl->PutProperty(kDispNumTabs, ShortValue(99)).ok());
  ASSERT_TRUE(ctrl->PutProperty(kDispValueDefault, QString("a")).ok());
  EXPECT_EQ(notified, (QList<int>{kDispNumTabs, kDispValue}));
  EXPECT_TRUE(ctrl->IsModified());
}

TEST(Dispatch, MousePointerTakesTheCustomNumberOfTheEnumeration) {
  auto ctrl = MakeControl();
  ASSERT_TRUE(ctrl->PutProperty(kDispMousePointer, ShortValue(99)).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispMousePointer).value.toInt(), 15);
}

TEST(Dispatch, ListIndexAndValueFollowEachOther) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispPictureTab, ShortValue(1));
  for (const char* t : {"a", "b\tx", "c"}) Add(*ctrl, t);
  ASSERT_TRUE(ctrl->PutProperty(kDispValue, QString("b\tx")).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 1);
  EXPECT_EQ(ctrl->GetProperty(kDispValue).value.toString(), "b\t\tx");
  ASSERT_TRUE(ctrl->PutProperty(kDispValue, QString("zz")).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), -1);
  ASSERT_TRUE(ctrl->PutProperty(kDispListIndex, ShortValue(2)).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispValue).value.toString(), "c");
  EXPECT_EQ(ctrl->GetProperty(kDispSelected, {ShortValue(2)}).value.toInt(), -1);
}

TEST(Dispatch, SelectedSelectsInMultipleModesAndMakesCurrentInSingle) {
  auto multi = MakeControl(Mode::Running, 1);
  for (const char* t : {"a", "b", "c"}) Add(*multi, t);
  multi->PutProperty(kDispSelected, ShortValue(-1), {ShortValue(0)});
  multi->PutProperty(kDispSelected, ShortValue(-1), {ShortValue(2)});
  EXPECT_EQ(multi->GetProperty(kDispSelCount).value.toInt(), 2);
  multi->PutProperty(kDispSelected, ShortValue(0), {ShortValue(0)});
  EXPECT_EQ(multi->GetProperty(kDispSelCount).value.toInt(), 1);

  auto single = MakeControl();
  for (const char* t : {"a", "b", "c"}) Add(*single, t);
  single->PutProperty(kDispSelected, ShortValue(1), {ShortValue(1)});
  EXPECT_EQ(single->GetProperty(kDispListIndex).value.toInt(), 1);
  single->PutProperty(kDispSelected, ShortValue(0), {ShortValue(1)});
  EXPECT_EQ(single->GetProperty(kDispListIndex).value.toInt(), -1);
}

TEST(Dispatch, ItemFontRuleCopiesTheControlFont) {
  auto ctrl = MakeControl();
  Add(*ctrl, "a");
  ASSERT_TRUE(ctrl->PutProperty(kDispListFontBold, ShortValue(-1), {ShortValue(0)}).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispListFontBold, {ShortValue(0)}).value.toInt(), -1);
  EXPECT_EQ(ctrl->GetProperty(kDispListFontName, {ShortValue(0)}).value.toString(), ctrl->ControlFont().family());
  EXPECT_FALSE(ctrl->ControlFont().bold());
  ASSERT_TRUE(ctrl->PutProperty(kDispListFontSize, FloatValue(12.5f), {ShortValue(0)}).ok());
  EXPECT_FLOAT_EQ(ctrl->GetProperty(kDispListFontSize, {ShortValue(0)}).value.toFloat(), 12.5f);
  ASSERT_TRUE(ctrl->PutProperty(kDispListFont, QVariant(), {ShortValue(0)}).ok());
  EXPECT_FALSE(ctrl->GetProperty(kDispListFont, {ShortValue(0)}).value.isValid());
}

TEST(Dispatch, PersistedSetRoundTripsThroughABag) {
  auto ctrl = MakeControl();
  ctrl->PutProperty(kDispNumTabs, ShortValue(5));
  ctrl->PutProperty(kDispPictureTab, ShortValue(2));
  ctrl->PutProperty(kDispTBarHeight, FloatValue(360));
  ctrl->PutProperty(kDispDefHeight, FloatValue(300));
  ctrl->PutProperty(kDispToolTip, QString("tip"));
  ctrl->PutProperty(kDispCaption, QString("Steps"));
  ctrl->PutProperty(kDispSelectedBackColor, QVariant::fromValue<uint>(0x00FF00));
  ctrl->PutProperty(kDispTabWidth, FloatValue(300), {ShortValue(0)});
  ctrl->PutProperty(kDispShowTitle, ShortValue(0));
  // Every other persisted property away from its default too, so one that
  // Save drops cannot pass on its default.
  ctrl->PutProperty(kDispSort, ShortValue(-1));
  ctrl->PutProperty(kDispNoRedraw, ShortValue(-1));
  ctrl->PutProperty(kDispDragWindow, ShortValue(0));
  ctrl->PutProperty(kDispUserDraw, ShortValue(-1));
  ctrl->PutProperty(kDispAutoHorizExtent, ShortValue(0));
  ctrl->PutProperty(kDispMousePointer, ShortValue(3));
  ctrl->PutProperty(kDispPicTransColor, QVariant::fromValue<uint>(0x0000FF));
  ctrl->PutProperty(kDispSelectedForeColor, QVariant::fromValue<uint>(0x00FFFF));
  ctrl->PutProperty(kDispBackColor, QVariant::fromValue<uint>(0x123456));
  ctrl->PutProperty(kDispForeColor, QVariant::fromValue<uint>(0x654321));
  ctrl->PutProperty(kDispEnabled, ShortValue(0));
  MemoryPropertyBag bag;
  ctrl->Save(bag);
  auto back = std::make_unique<TivolenCtrl>();
  back->Load(bag);
  back->CreateListWindow();
  // Against literals: a set that is dropped on both sides must not pass.
  const std::pair<int, const char*> stored[] = {
      {kDispNumTabs, "5"},   {kDispPictureTab, "2"},  {kDispTBarHeight, "360"},
      {kDispDefHeight, "300"}, {kDispToolTip, "tip"}, {kDispCaption, "Steps"},
      {kDispSelectedBackColor, "65280"}, {kDispShowTitle, "0"}, {kDispSort, "-1"}, {kDispNoRedraw, "-1"},
      {kDispDragWindow, "0"}, {kDispUserDraw, "-1"}, {kDispAutoHorizExtent, "0"}, {kDispMousePointer, "3"},
      {kDispPicTransColor, "255"}, {kDispSelectedForeColor, "65535"}, {kDispBackColor, "1193046"},
      {kDispForeColor, "6636321"}, {kDispEnabled, "0"}};
  for (const auto& [id, value] : stored) {
    EXPECT_EQ(ctrl->GetProperty(id).value.toString(), value) << id;
    EXPECT_EQ(back->GetProperty(id).value.toString(), value) << id;
  }
  for (int id : {kDispMultiSelect, kDispDragWindow})
    EXPECT_EQ(back->GetProperty(id).value.toString(), ctrl->GetProperty(id).value.toString()) << id;
  EXPECT_EQ(back->TabStops(), ctrl->TabStops());
  EXPECT_EQ(bag.Values().value("TBarHeight").toInt(), 24);  // kept in pixels
}

// Every persisted property the host can set, each away from its default: one that Save drops
// comes back as the default and fails here.
TEST(Dispatch, EveryPersistedPropertySurvivesSaveAndLoad) {
  const std::pair<int, QVariant> set[] = {
      {kDispBackColor, QVariant::fromValue<uint>(0x123456)}, {kDispForeColor, QVariant::fromValue<uint>(0x654321)},
      {kDispEnabled, S(0)},           {kDispCaption, QString("Events")},  {kDispMultiSelect, S(2)},
      {kDispSort, S(-1)},             {kDispNoRedraw, S(-1)},             {kDispDragWindow, S(0)},
      {kDispNumTabs, S(4)},           {kDispPictureTab, S(1)},            {kDispTBarHeight, F(450)},
      {kDispDefHeight, F(405)},       {kDispPicTransColor, QVariant::fromValue<uint>(0x00FF00)},
      {kDispSelectedForeColor, QVariant::fromValue<uint>(0x0000FF)},
      {kDispSelectedBackColor, QVariant::fromValue<uint>(0x00FFFF)},
      {kDispUserDraw, S(-1)},         {kDispShowTitle, S(0)},
      {kDispAutoHorizExtent, S(0)},   {kDispToolTip, QString("hint")},    {kDispMousePointer, S(2)},
  };
  auto ctrl = MakeControl(Mode::Design);
  const auto fresh = MakeControl(Mode::Design);
  for (const auto& [id, value] : set) {
    ASSERT_TRUE(ctrl->PutProperty(id, value).ok()) << id;
    ASSERT_NE(ctrl->GetProperty(id).value.toString(), fresh->GetProperty(id).value.toString())
        << id << " is still its default";
  }
  MemoryPropertyBag bag;
  ctrl->Save(bag);
  auto back = std::make_unique<TivolenCtrl>();
  back->Load(bag);
  for (const auto& [id, value] : set)
    EXPECT_EQ(back->GetProperty(id).value.toString(), ctrl->GetProperty(id).value.toString()) << id;
}

TEST(Dispatch, ScrollingFiresVscroll) {
  auto ctrl = MakeControl();
  RecordingSink sink;
  ctrl->Advise(&sink);
  ctrl->show();
  for (int i = 0; i < 40; ++i) Add(*ctrl, QString::number(i));
  ctrl->ListWindow()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(sink.log, QStringList{"Vscroll"});
  EXPECT_EQ(ctrl->GetProperty(kDispTopIndex).value.toInt(), 1);
  // Setting it scrolls there.
  ASSERT_TRUE(ctrl->PutProperty(kDispTopIndex, ShortValue(7)).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispTopIndex).value.toInt(), 7);
  EXPECT_EQ(ctrl->ListWindow()->TopIndex(), 7);
}

TEST(Dispatch, HeightsConvertBetweenTwipsAndPixels) {
  auto ctrl = MakeControl();
  Add(*ctrl, "a");
  // 96 dots per inch: 15 twips a pixel.
  ASSERT_TRUE(ctrl->PutProperty(kDispDefHeight, FloatValue(450)).ok());
  EXPECT_FLOAT_EQ(ctrl->GetProperty(kDispDefHeight).value.toFloat(), 450);
  EXPECT_FLOAT_EQ(ctrl->GetProperty(kDispListHeight, {ShortValue(0)}).value.toFloat(), 450);
  ctrl->PutProperty(kDispListHeight, FloatValue(300), {ShortValue(0)});
  EXPECT_EQ(ctrl->ListWindow()->ItemHeight(0), 20);
  ctrl->SetContainerUnitsPerInch(96);  // the container now works in pixels
  EXPECT_FLOAT_EQ(ctrl->GetProperty(kDispDefHeight).value.toFloat(), 30);
}

}  // namespace
}  // namespace tivolen::test
