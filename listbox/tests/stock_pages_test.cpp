// The font, colour and picture pages as a host's user works them in the
// sheet: what each shows of the control's value, what OK writes or why it
// is refused, and what the control then paints.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

#include "listbox/stock_pages.h"
#include "listbox/tests/ctrl_fixture.h"
#include "listbox/tests/sheet_fixture.h"
#include "platform/files/tests/file_kinds.h"

namespace tivolen::test {
namespace {

template <class P>
P* OpenAt(PropertySheet& sheet) {
  sheet.show();
  P* page = PageOf<P>(sheet);
  sheet.Tabs()->setCurrentWidget(page);
  return page;
}

// OK as the user clicks it; true when the sheet closed.
bool Ok(PropertySheet& sheet) {
  QTest::mouseClick(Button(sheet, QDialogButtonBox::Ok), Qt::LeftButton);
  return !sheet.isVisible() && sheet.result() == QDialog::Accepted;
}

// A text as failures print it.
std::string S(const QString& s) { return s.toStdString(); }

QFont Pixels(int px) {
  QFont f("Liberation Sans");
  f.setPixelSize(px);
  return f;
}

QFont Points(double pt) {
  QFont f("Liberation Sans");
  f.setPointSizeF(pt);
  return f;
}

constexpr const char* kSizeRule = "Enter a font size between 1 and 1638 points.";

TEST(FontPage, SizesInPixelsAndPointsAndTheSizeRule) {
  struct Case {
    const char* what;
    QFont host;
    const char* typed;  // into Size, or none
    bool bold;          // Bold ticked
    const char* shows;  // the Size box as the page opens
    const char* refusal;
    double points;  // the control's font afterwards: -1 when sized in pixels
    int pixels;     // -1 when sized in points
  };
  const Case cases[] = {
      {"pixel font, nothing changed", Pixels(12), nullptr, false, "9", nullptr, -1, 12},
      {"pixel font, Bold alone", Pixels(12), nullptr, true, "9", nullptr, -1, 12},
      {"pixel font, a size typed", Pixels(12), "14", false, "9", nullptr, 14, -1},
      {"point font, Bold alone", Points(10), nullptr, true, "10", nullptr, 10, -1},
      {"0.5 points", Points(10), "0.5", false, "10", kSizeRule, 10, -1},
      {"1 point", Points(10), "1", false, "10", nullptr, 1, -1},
      {"1638 points", Points(10), "1638", false, "10", nullptr, 1638, -1},
      {"1639 points", Points(10), "1639", false, "10", kSizeRule, 10, -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    auto c = MakeControl();
    ASSERT_EQ(c->Units().DpiY(), 96) << "the pixel cases take the offscreen screen's 96 dots per inch";
    ASSERT_TRUE(c->PutProperty(kDispFont, k.host).ok());
    PropertySheet sheet(c.get());
    auto* page = OpenAt<FontPropPage>(sheet);
    EXPECT_EQ(S(page->Size()->currentText()), k.shows);
    const QSize opened = sheet.size();
    if (k.typed) page->Size()->setCurrentText(k.typed);
    if (k.bold) page->Bold()->click();
    QApplication::processEvents();  // the layout's posted request
    EXPECT_EQ(sheet.size(), opened) << "a large sample is cut, the sheet keeps its size";
    EXPECT_EQ(Ok(sheet), k.refusal == nullptr);
    EXPECT_EQ(S(page->Status()), k.refusal ? k.refusal : "");
    const QFont f = c->GetProperty(kDispFont).value.value<QFont>();
    EXPECT_EQ(f.pointSizeF(), k.points);
    EXPECT_EQ(f.pixelSize(), k.pixels);
    EXPECT_EQ(f.bold(), k.bold && !k.refusal);
    EXPECT_EQ(S(f.family()), "Liberation Sans");
    EXPECT_EQ(c->ControlFont(), f) << "the font it paints with";
  }
}

// The list's empty background.
QColor Painted(TivolenCtrl& c) { return c.ListWindow()->viewport()->grab().toImage().pixelColor(10, 10); }

QString Hex(OleColor c) { return "0x" + QString("%1").arg(c, 8, 16, QChar('0')).toUpper(); }

std::unique_ptr<TivolenCtrl> WithBackColor(OleColor color) {
  auto c = MakeControl();
  if (!c->PutProperty(kDispBackColor, QVariant::fromValue<uint>(color)).ok()) qFatal("BackColor refused");
  return c;
}

constexpr OleColor kHostColor = 0x123456;
const QColor kHostPaints(0x56, 0x34, 0x12);

struct SystemCase {
  int index;
  const char* name;
  QColor paints;
};
const SystemCase kSystemColors[] = {
    {0, "Scroll Bars", {192, 192, 192}},        {1, "Desktop", {0, 128, 128}},
    {2, "Active Title Bar", {0, 0, 128}},       {3, "Inactive Title Bar", {128, 128, 128}},
    {4, "Menu Bar", {192, 192, 192}},           {5, "Window Background", {255, 255, 255}},
    {6, "Window Frame", {0, 0, 0}},             {7, "Menu Text", {0, 0, 0}},
    {8, "Window Text", {0, 0, 0}},              {9, "Active Title Bar Text", {255, 255, 255}},
    {10, "Active Border", {192, 192, 192}},     {11, "Inactive Border", {192, 192, 192}},
    {12, "Application Workspace", {128, 128, 128}}, {13, "Highlight", {0, 0, 128}},
    {14, "Highlight Text", {255, 255, 255}},    {15, "Button Face", {192, 192, 192}},
    {16, "Button Shadow", {128, 128, 128}},     {17, "Disabled Text", {128, 128, 128}},
    {18, "Button Text", {0, 0, 0}},             {19, "Inactive Title Bar Text", {192, 192, 192}},
    {20, "Button Highlight", {255, 255, 255}},  {21, "Button Dark Shadow", {0, 0, 0}},
    {22, "Button Light Shadow", {192, 192, 192}}, {23, "ToolTip Text", {0, 0, 0}},
    {24, "ToolTip", {255, 255, 225}},
};

TEST(ColorPage, EverySystemColourByName) {
  {
    auto c = MakeControl();
    PropertySheet sheet(c.get());
    auto* page = OpenAt<ColorPropPage>(sheet);
    QStringList listed, names{"(none)"};
    for (int i = 0; i < page->SystemColors()->count(); ++i) listed << page->SystemColors()->itemText(i);
    for (const SystemCase& s : kSystemColors) names << s.name;
    EXPECT_EQ(S(listed.join(", ")), S(names.join(", ")));
  }
  for (const SystemCase& s : kSystemColors) {
    SCOPED_TRACE(s.name);
    auto c = WithBackColor(kHostColor);
    {
      PropertySheet sheet(c.get());
      auto* page = OpenAt<ColorPropPage>(sheet);
      const int at = page->SystemColors()->findText(s.name);
      ASSERT_GE(at, 0);
      page->SystemColors()->setCurrentIndex(at);
      emit page->SystemColors()->activated(at);
      EXPECT_TRUE(Ok(sheet));
    }
    EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), SystemColor(s.index));
    EXPECT_EQ(S(Painted(*c).name()), S(s.paints.name()));
    // The sheet opened again shows the colour the control has.
    PropertySheet again(c.get());
    auto* page = OpenAt<ColorPropPage>(again);
    EXPECT_EQ(S(page->SystemColors()->currentText()), s.name);
    EXPECT_EQ(S(page->Value()->text()), S(Hex(SystemColor(s.index))));
  }
}

TEST(ColorPage, TypedColours) {
  struct Case {
    const char* typed;
    std::optional<OleColor> stored;
    const char* listed;  // the system colour the page then shows
    QColor paints;
    const char* refusal;
  };
  const char* notSystem = " is not a system colour: they are 0x80000000 to 0x80000018.";
  const std::string past = std::string("0x80000019") + notSystem, far = std::string("0x800000FF") + notSystem;
  const Case cases[] = {
      {"0x00FFFFFF", 0xFFFFFF, "(none)", Qt::white, nullptr},
      {"16777215", 0xFFFFFF, "(none)", Qt::white, nullptr},
      {"-2147483633", 0x8000000F, "Button Face", {192, 192, 192}, nullptr},
      {"&H8000000F&", 0x8000000F, "Button Face", {192, 192, 192}, nullptr},
      {"0x80000018", 0x80000018, "ToolTip", {255, 255, 225}, nullptr},
      {"0x80000019", std::nullopt, nullptr, kHostPaints, past.c_str()},
      {"0x800000FF", std::nullopt, nullptr, kHostPaints, far.c_str()},
      {"-1", std::nullopt, nullptr, kHostPaints, "Enter a colour as 0x00BBGGRR, or a system colour 0x800000nn."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed);
    auto c = WithBackColor(kHostColor);
    PropertySheet sheet(c.get());
    auto* page = OpenAt<ColorPropPage>(sheet);
    page->Value()->clear();
    QTest::keyClicks(page->Value(), k.typed);
    if (k.listed) {
      EXPECT_EQ(S(page->SystemColors()->currentText()), k.listed);
    }
    EXPECT_EQ(Ok(sheet), k.stored.has_value());
    EXPECT_EQ(S(page->Status()), k.refusal ? k.refusal : "");
    EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), k.stored.value_or(kHostColor));
    EXPECT_EQ(S(Painted(*c).name()), S(k.paints.name()));
    if (!k.stored) {
      // "0x800000" on the way to "0x800000FF" is navy: the refused text leaves
      // no such colour to be written once the user turns to another property.
      page->PropertyName()->setCurrentText("ForeColor");
      EXPECT_TRUE(Ok(sheet));
      EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), kHostColor);
    }
  }
}

// A number past the defined ones that a host set is shown, not refused, while
// the user leaves it alone.
TEST(ColorPage, AHostsUndefinedSystemColourIsShownAndKept) {
  auto c = WithBackColor(SystemColor(25));
  PropertySheet sheet(c.get());
  auto* page = OpenAt<ColorPropPage>(sheet);
  EXPECT_EQ(S(page->SystemColors()->currentText()), "(none)");
  EXPECT_EQ(S(page->Value()->text()), "0x80000019");
  page->PropertyName()->setCurrentText("ForeColor");
  page->Choose(0x0000FF);
  EXPECT_TRUE(Ok(sheet)) << page->Status().toStdString();
  EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), SystemColor(25));
  EXPECT_EQ(c->GetProperty(kDispForeColor).value.toUInt(), 0x0000FFu);
}

TEST(PicturePage, TakesOrdinaryPicturesAndRefusesOversizedFilesUnread) {
  auto c = MakeControl();
  QTemporaryDir dir;
  PropertySheet sheet(c.get());
  auto* page = OpenAt<PicturePropPage>(sheet);
  QImage photo(640, 480, QImage::Format_RGB32);
  photo.fill(QColor(30, 90, 150));
  const QString ordinary = dir.path() + "/photo.bmp";
  ASSERT_TRUE(photo.save(ordinary));
  EXPECT_TRUE(page->LoadFile(ordinary)) << page->Status().toStdString();

  const QString atBound = dir.path() + "/bound.bmp", past = dir.path() + "/past.bmp";
  ASSERT_TRUE(talvero::testing::MakeSparse(atBound.toStdString(), 16 << 20));
  ASSERT_TRUE(talvero::testing::MakeSparse(past.toStdString(), (16 << 20) + 1));
  EXPECT_FALSE(page->LoadFile(past));
  EXPECT_EQ(S(page->Status()), S("Cannot load " + past + ": it is too large for a picture."));
  EXPECT_FALSE(page->LoadFile(atBound)) << "read, and no picture";
  EXPECT_FALSE(page->Status().contains("too large")) << S(page->Status());

  EXPECT_TRUE(Ok(sheet));
  const PicturePtr p = c->GetProperty(kDispDefPicture).value.value<PicturePtr>();
  ASSERT_TRUE(p);
  EXPECT_EQ(p->image.size(), QSize(640, 480));
}

}  // namespace
}  // namespace tivolen::test
