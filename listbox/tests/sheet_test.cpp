// The property sheet as a user works it: the four pages in their order, each
// page's change reaching the control and its saved property set, Cancel
// leaving the control alone.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "listbox/prop_page.h"
#include "listbox/prop_sheet.h"
#include "listbox/stock_pages.h"
#include "listbox/tests/ctrl_fixture.h"
#include "listbox/tests/sheet_fixture.h"

namespace tivolen::test {
namespace {

// The saved set read into a new control.
std::unique_ptr<TivolenCtrl> SavedAndLoaded(const TivolenCtrl& c) {
  MemoryPropertyBag bag;
  c.Save(bag);
  auto back = std::make_unique<TivolenCtrl>();
  back->Load(bag);
  back->CreateListWindow();
  return back;
}

QImage Checker(int size, QColor a) {
  QImage img(size, size, QImage::Format_RGB32);
  img.fill(Qt::white);
  for (int y = 0; y < size; ++y)
    for (int x = (y % 2); x < size; x += 2) img.setPixelColor(x, y, a);
  return img;
}

TEST(PropertySheet, ShowsTheControlsPagesInTheirOrder) {
  auto c = MakeControl();
  EXPECT_EQ(c->PropertyPages(), (QStringList{"TIVOLEN.TivolenPropPage.1", "TIVOLEN.StockFontPage.1",
                                             "TIVOLEN.StockColorPage.1", "TIVOLEN.StockPicturePage.1"}));
  PropertySheet sheet(c.get());
  ASSERT_EQ(sheet.Tabs()->count(), 4);
  QStringList captions;
  for (int i = 0; i < 4; ++i) captions << sheet.Tabs()->tabText(i);
  EXPECT_EQ(captions, (QStringList{"General", "Fonts", "Colors", "Pictures"}));
  EXPECT_NE(qobject_cast<TivolenPropPage*>(sheet.Page(0)), nullptr);
  EXPECT_NE(qobject_cast<FontPropPage*>(sheet.Page(1)), nullptr);
  EXPECT_NE(qobject_cast<ColorPropPage*>(sheet.Page(2)), nullptr);
  EXPECT_NE(qobject_cast<PicturePropPage*>(sheet.Page(3)), nullptr);
  // The sheet's buttons act for the pages: none of theirs shows.
  sheet.show();
  for (int i = 0; i < 4; ++i) {
    sheet.Tabs()->setCurrentIndex(i);
    for (auto* box : sheet.Page(i)->findChildren<QDialogButtonBox*>()) EXPECT_FALSE(box->isVisible()) << i;
  }
}

TEST(PropertySheet, EachPagesChangeReachesTheControlAndIsSaved) {
  auto c = MakeControl();
  QTemporaryDir dir;
  const QString bmp = dir.path() + "/dots.bmp";
  ASSERT_TRUE(Checker(12, QColor(200, 0, 0)).save(bmp));
  PropertySheet sheet(c.get());
  sheet.show();
  EXPECT_FALSE(sheet.ApplyButton()->isEnabled());

  auto* general = PageOf<TivolenPropPage>(sheet);
  general->Edit(240)->setText("Steps");  // Caption
  emit general->Edit(240)->textEdited("Steps");
  EXPECT_TRUE(sheet.ApplyButton()->isEnabled());

  auto* font = PageOf<FontPropPage>(sheet);
  sheet.Tabs()->setCurrentWidget(font);
  font->Face()->setCurrentText("Liberation Serif");
  font->Size()->setCurrentText("14");
  font->Bold()->setChecked(true);
  font->Italic()->setChecked(true);
  font->Underline()->setChecked(true);
  font->Strikethrough()->setChecked(true);
  EXPECT_EQ(font->Sample()->font().family(), "Liberation Serif");

  auto* color = PageOf<ColorPropPage>(sheet);
  sheet.Tabs()->setCurrentWidget(color);
  // A system colour goes as the control stores it; a palette colour as RGB;
  // a typed value as it reads.
  color->PropertyName()->setCurrentText("BackColor");
  const int highlight = color->SystemColors()->findText("Button Face");
  ASSERT_GE(highlight, 0);
  color->SystemColors()->setCurrentIndex(highlight);
  emit color->SystemColors()->activated(highlight);
  EXPECT_EQ(color->Value()->text(), "0x8000000F");
  color->PropertyName()->setCurrentText("ForeColor");
  EXPECT_EQ(color->Value()->text(), "0x80000008") << "each property shows its own colour";
  const auto red = color->Palette()->findItems("Red", Qt::MatchExactly);
  ASSERT_EQ(red.size(), 1);
  emit color->Palette()->itemClicked(red.front());
  color->PropertyName()->setCurrentText("PicTransColor");
  color->Value()->setText("0x00FF00FF");
  emit color->Value()->textEdited("0x00FF00FF");

  auto* picture = PageOf<PicturePropPage>(sheet);
  sheet.Tabs()->setCurrentWidget(picture);
  picture->PropertyName()->setCurrentText("DefPicture");
  ASSERT_TRUE(picture->LoadFile(bmp)) << picture->Status().toStdString();
  EXPECT_FALSE(picture->Preview()->pixmap().isNull());

  // Coming back to a page keeps what was typed there.
  sheet.Tabs()->setCurrentWidget(general);
  EXPECT_EQ(general->Edit(240)->text(), "Steps");
  // Nothing has reached the control before Apply.
  EXPECT_EQ(c->GetProperty(kDispCaption).value.toString(), "");
  EXPECT_NE(c->ControlFont().family(), "Liberation Serif");

  QTest::mouseClick(sheet.ApplyButton(), Qt::LeftButton);
  EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
  const auto loaded = SavedAndLoaded(*c);
  for (auto* ctrl : {c.get(), loaded.get()}) {
    SCOPED_TRACE(ctrl == c.get() ? "control" : "saved and loaded");
    EXPECT_EQ(ctrl->GetProperty(kDispCaption).value.toString(), "Steps");
    const QFont f = ctrl->GetProperty(kDispFont).value.value<QFont>();
    EXPECT_EQ(f.family(), "Liberation Serif");
    EXPECT_EQ(f.pointSizeF(), 14);
    EXPECT_TRUE(f.bold() && f.italic() && f.underline() && f.strikeOut());
    EXPECT_EQ(ctrl->GetProperty(kDispBackColor).value.toUInt(), 0x8000000Fu);
    EXPECT_EQ(ctrl->GetProperty(kDispForeColor).value.toUInt(), 0x0000FFu);
    EXPECT_EQ(ctrl->GetProperty(kDispPicTransColor).value.toUInt(), 0xFF00FFu);
    EXPECT_EQ(ctrl->GetProperty(kDispSelectedBackColor).value.toUInt(), 0x8000000Du) << "untouched";
    const PicturePtr p = ctrl->GetProperty(kDispDefPicture).value.value<PicturePtr>();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->type, Picture::Type::Bitmap);
    EXPECT_EQ(p->image.size(), QSize(12, 12));
    EXPECT_EQ(p->image.pixelColor(0, 0), QColor(200, 0, 0));
    EXPECT_EQ(p->image.pixelColor(1, 0), QColor(Qt::white));
  }

  // Clearing the picture is a change too.
  picture->ClearPicture();
  ASSERT_TRUE(sheet.Apply());
  const PicturePtr cleared = SavedAndLoaded(*c)->GetProperty(kDispDefPicture).value.value<PicturePtr>();
  EXPECT_TRUE(!cleared || cleared->type == Picture::Type::Empty);
}

TEST(PropertySheet, CancelChangesNothing) {
  auto c = MakeControl();
  // A picture property read for the first time gets its empty picture object.
  c->GetProperty(kDispDefPicture);
  c->GetProperty(kDispMouseIcon);
  c->SetModified(false);
  MemoryPropertyBag before;
  c->Save(before);
  QTemporaryDir dir;
  const QString bmp = dir.path() + "/dots.bmp";
  ASSERT_TRUE(Checker(8, Qt::blue).save(bmp));
  PropertySheet sheet(c.get());
  sheet.show();
  auto* general = PageOf<TivolenPropPage>(sheet);
  general->Check(205)->click();  // Sort
  auto* font = PageOf<FontPropPage>(sheet);
  font->Bold()->setChecked(true);
  auto* color = PageOf<ColorPropPage>(sheet);
  color->Choose(0x123456);
  auto* picture = PageOf<PicturePropPage>(sheet);
  ASSERT_TRUE(picture->LoadFile(bmp));
  QTest::mouseClick(Button(sheet, QDialogButtonBox::Cancel), Qt::LeftButton);
  EXPECT_EQ(sheet.result(), QDialog::Rejected);
  MemoryPropertyBag after;
  c->Save(after);
  EXPECT_EQ(after.Values(), before.Values());
  EXPECT_FALSE(c->IsModified());
}

TEST(PropertySheet, OkAppliesAndARefusalKeepsTheSheetOnItsPage) {
  auto c = MakeControl();
  QTemporaryDir dir;
  const QString bmp = dir.path() + "/dots.bmp";
  ASSERT_TRUE(Checker(8, Qt::blue).save(bmp));
  PropertySheet sheet(c.get());
  sheet.show();
  auto* color = PageOf<ColorPropPage>(sheet);
  color->Choose(0x00AA00);
  auto* picture = PageOf<PicturePropPage>(sheet);
  picture->PropertyName()->setCurrentText("MouseIcon");
  ASSERT_TRUE(picture->LoadFile(bmp));  // a bitmap: the control takes only icons there
  sheet.Tabs()->setCurrentIndex(0);
  QTest::mouseClick(Button(sheet, QDialogButtonBox::Ok), Qt::LeftButton);
  EXPECT_TRUE(sheet.isVisible());
  EXPECT_EQ(sheet.Tabs()->currentWidget(), picture);
  EXPECT_TRUE(picture->Status().startsWith("MouseIcon: ")) << picture->Status().toStdString();
  EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), 0x00AA00u) << "the pages before it are applied";

  picture->ClearPicture();
  QTest::mouseClick(Button(sheet, QDialogButtonBox::Ok), Qt::LeftButton);
  EXPECT_FALSE(sheet.isVisible());
  EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

TEST(PropertySheet, PagesTellWhatTheyCannotTake) {
  auto c = MakeControl();
  QTemporaryDir dir;
  PropertySheet sheet(c.get());
  auto* picture = PageOf<PicturePropPage>(sheet);
  QFile junk(dir.path() + "/junk.bmp");
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a picture");
  junk.close();
  EXPECT_FALSE(picture->LoadFile(junk.fileName()));
  EXPECT_TRUE(picture->Status().startsWith("Cannot load " + junk.fileName())) << picture->Status().toStdString();
  EXPECT_FALSE(picture->LoadFile(dir.path()));
  EXPECT_FALSE(picture->IsPageModified());

  auto* font = PageOf<FontPropPage>(sheet);
  font->Size()->setCurrentText("big");
  EXPECT_FALSE(font->Apply());
  EXPECT_FALSE(font->Status().isEmpty());
  auto* color = PageOf<ColorPropPage>(sheet);
  color->Value()->setText("0x7F000001");  // neither RGB nor a system colour
  emit color->Value()->textEdited("0x7F000001");
  EXPECT_FALSE(color->Apply());
  EXPECT_FALSE(color->Status().isEmpty());
}

TEST(PropertySheet, TheHostOpensItModally) {
  auto c = MakeControl();
  ASSERT_TRUE(c->PutProperty(kDispCaption, QString("Events")).ok());
  QString title;
  int pages = 0;
  QTimer::singleShot(0, [&] {
    auto* sheet = qobject_cast<PropertySheet*>(QApplication::activeModalWidget());
    if (!sheet) return;
    title = sheet->windowTitle();
    pages = sheet->PageCount();
    PageOf<ColorPropPage>(*sheet)->Choose(0x0000FF);
    sheet->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly)->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_TRUE(c->ShowPropertySheet(nullptr));
  EXPECT_EQ(title, "Events Properties");
  EXPECT_EQ(pages, 4);
  EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), 0x0000FFu);
}

}  // namespace
}  // namespace tivolen::test
