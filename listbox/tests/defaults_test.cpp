// The defaults file "TIVOLEN.INI": what a new control reads, and the property
// page's Save As Default and Reset Default, in a private per-user folder.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "listbox/defaults_store.h"
#include "listbox/prop_page.h"
#include "listbox/tests/append_only.h"
#include "listbox/tests/ctrl_fixture.h"

namespace tivolen::test {
namespace {

class DefaultsFile : public testing::Test {
 protected:
  void SetUp() override {
    saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", saved); }
  QString Path() const { return dir.path() + "/Talvero3/TIVOLEN.INI"; }
  void WriteFile(const QString& body) {
    QDir().mkpath(dir.path() + "/Talvero3");
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("[[Tivolen Settings]]\n" + body).toLatin1());
  }
  QString ReadFile() {
    QFile f(Path());
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }
  std::unique_ptr<TivolenCtrl> NewControl() {
    auto c = std::make_unique<TivolenCtrl>();
    c->ResetToDefaults();
    c->CreateListWindow();
    return c;
  }
  int Get(TivolenCtrl& c, int id) { return c.GetProperty(id).value.toInt(); }
  QTemporaryDir dir;
  QByteArray saved;
};

TEST_F(DefaultsFile, NewControlsReadTheFile) {
  WriteFile(
      "Width=300\nHeight=120\nMultiSelect=2\nSort=1\nNumTabs=7\nPictureTab=3\nTBarHeight=24\n"
      "PicTransColor=255\nSelectedBackColor=32768\nShowTitle=0\nAutoHorizExtent=0\nDefHeight=30\n"
      "DragWindow=0\nMousePointer=2\nFontName=Liberation Serif\nFontSize=11\nFontBold=1\n");
  auto c = NewControl();
  EXPECT_EQ(c->size(), QSize(300, 120));
  EXPECT_EQ(Get(*c, kDispMultiSelect), 2);
  EXPECT_EQ(Get(*c, kDispSort), -1);
  EXPECT_EQ(Get(*c, kDispNumTabs), 7);
  EXPECT_EQ(Get(*c, kDispPictureTab), 3);
  EXPECT_EQ(c->TitleHeight(), 24);
  EXPECT_EQ(c->GetProperty(kDispPicTransColor).value.toUInt(), 255u);
  EXPECT_EQ(c->GetProperty(kDispSelectedBackColor).value.toUInt(), 32768u);
  EXPECT_EQ(Get(*c, kDispShowTitle), 0);
  EXPECT_EQ(Get(*c, kDispAutoHorizExtent), 0);
  EXPECT_FLOAT_EQ(c->GetProperty(kDispDefHeight).value.toFloat(), 450);
  EXPECT_EQ(Get(*c, kDispDragWindow), 0);
  EXPECT_EQ(Get(*c, kDispMousePointer), 2);
  EXPECT_EQ(c->ControlFont().family(), "Liberation Serif");
  EXPECT_TRUE(c->ControlFont().bold());
  EXPECT_EQ(c->ControlFont().pointSizeF(), 11);
  EXPECT_EQ(c->ListWindow()->SelectionMode(), ListBoxView::Mode::Extended);
}

TEST_F(DefaultsFile, MissingFileAndOddValuesGiveTheBuiltInDefaults) {
  {
    auto c = NewControl();
    EXPECT_EQ(c->size(), QSize(200, 150));
    EXPECT_EQ(Get(*c, kDispNumTabs), 16);
    EXPECT_EQ(Get(*c, kDispShowTitle), -1);
    EXPECT_EQ(c->GetProperty(kDispToolTip).value.toString(), "Tivolen");
    EXPECT_EQ(c->GetProperty(kDispBackColor).value.toUInt(), 0x80000005u);
  }
  // A size with one side 0 is ignored; counts past the tab stops are refused.
  WriteFile("Width=300\nHeight=0\nNumTabs=99\nMultiSelect=5\nMousePointer=40\nPicTransColor=255 red\n"
            "SelectedForeColor=none\nSelectedBackColor=-2147483635\nForeColor=\n");
  auto c = NewControl();
  // Colours read their leading decimal number; an empty value keeps the default.
  EXPECT_EQ(c->GetProperty(kDispPicTransColor).value.toUInt(), 255u);
  EXPECT_EQ(c->GetProperty(kDispSelectedForeColor).value.toUInt(), 0u);
  EXPECT_EQ(c->GetProperty(kDispSelectedBackColor).value.toUInt(), 0x8000000Du);
  EXPECT_EQ(c->GetProperty(kDispForeColor).value.toUInt(), 0x80000008u);
  EXPECT_EQ(c->size(), QSize(200, 150));
  EXPECT_EQ(Get(*c, kDispNumTabs), 16);
  EXPECT_EQ(Get(*c, kDispMultiSelect), 0);
  EXPECT_EQ(Get(*c, kDispMousePointer), 0);
}

TEST_F(DefaultsFile, OlderFilesKeepPictureTabUnderItsMessageText) {
  WriteFile("PictureTab must be between 0 and NumTabs=4\n");
  EXPECT_EQ(Get(*NewControl(), kDispPictureTab), 4);
}

TEST_F(DefaultsFile, SaveAsDefaultRoundTripsThroughANewControl) {
  auto c = NewControl();
  c->resize(260, 180);
  TivolenPropPage page(c.get());
  page.Check(205)->setChecked(true);            // Sort
  page.Check(207)->setChecked(false);           // ShowTitle
  page.Combo(222)->setCurrentIndex(15);         // the custom pointer line
  page.Combo(226)->setCurrentIndex(1);          // MultiSelect multiple
  page.Edit(242)->setText("2");                 // PictureTab
  page.Edit(221)->setText("360");               // TBarHeight, twips
  page.Edit(227)->setText("Liberation Mono");   // FontName
  page.Edit(228)->setText("10");
  page.Check(236)->setChecked(true);            // FontItalic
  ASSERT_TRUE(page.SaveAsDefault());
  const QString text = ReadFile();
  for (const char* line : {"Sort=1", "MultiSelect=1", "PictureTab=2", "ShowTitle=0", "MousePointer=15",
                           "TBarHeight=24", "Width=260", "Height=180", "FontName=Liberation Mono",
                           "FontSize=10", "FontItalic=1"})
    EXPECT_TRUE(text.contains(QString(line) + "\n")) << line << "\n" << text.toStdString();
  EXPECT_TRUE(text.startsWith("[[Tivolen Settings]]"));

  auto n = NewControl();
  EXPECT_EQ(Get(*n, kDispSort), -1);
  EXPECT_EQ(Get(*n, kDispMultiSelect), 1);
  EXPECT_EQ(Get(*n, kDispPictureTab), 2);
  EXPECT_EQ(Get(*n, kDispShowTitle), 0);
  EXPECT_EQ(Get(*n, kDispMousePointer), 15);
  EXPECT_FLOAT_EQ(n->GetProperty(kDispTBarHeight).value.toFloat(), 360);
  EXPECT_EQ(n->size(), QSize(260, 180));
  EXPECT_EQ(n->ControlFont().family(), "Liberation Mono");
  EXPECT_TRUE(n->ControlFont().italic());
}

// The control has no font fields of its own: the page keeps the defaults
// file's font, and saving the defaults again does not lose it.
TEST_F(DefaultsFile, SavingDefaultsAgainKeepsTheirFont) {
  WriteFile("FontName=Liberation Serif\nFontSize=12\nFontBold=1\n");
  auto c = NewControl();
  TivolenPropPage page(c.get());
  ASSERT_TRUE(page.SaveAsDefault());
  const QString text = ReadFile();
  for (const char* line : {"FontName=Liberation Serif", "FontSize=12", "FontBold=1"})
    EXPECT_TRUE(text.contains(QString(line) + "\n")) << line << "\n" << text.toStdString();
}

TEST_F(DefaultsFile, SaveAsDefaultTellsWhenTheDefaultsWereNotWritten) {
  WriteFile("Sort=0\n");
  const AppendOnly kept(Path().toStdString());
  if (!kept.Holds()) GTEST_SKIP() << "this file system or process cannot make a file append-only";
  auto c = NewControl();
  TivolenPropPage page(c.get());
  page.Check(205)->setChecked(true);  // Sort
  EXPECT_FALSE(page.SaveAsDefault());
  EXPECT_EQ(page.Status().toStdString(), ("The defaults could not be written to " + Path() + ".").toStdString());
  EXPECT_EQ(ReadFile().toStdString(), "[[Tivolen Settings]]\nSort=0\n");
}

TEST_F(DefaultsFile, SaveAsDefaultStopsOnAFieldThatDoesNotValidate) {
  auto c = NewControl();
  TivolenPropPage page(c.get());
  page.Edit(219)->setText("tall");  // DefHeight
  EXPECT_FALSE(page.SaveAsDefault());
  EXPECT_FALSE(QFile::exists(Path()));
  EXPECT_FALSE(page.Status().isEmpty());
}

TEST_F(DefaultsFile, ResetDefaultDeletesTheSectionAndResetsThePage) {
  auto c = NewControl();
  QFont courier("Courier", 14);
  courier.setBold(true);
  ASSERT_TRUE(c->PutProperty(kDispFont, courier).ok());
  TivolenPropPage page(c.get());
  page.Check(205)->setChecked(true);
  page.Edit(242)->setText("3");
  page.ResetDefault();  // no section yet: the page is left alone
  EXPECT_TRUE(page.Check(205)->isChecked());
  EXPECT_EQ(page.Edit(242)->text(), "3");

  WriteFile("Sort=1\n");
  page.Edit(220)->setText("tip");
  page.ResetDefault();
  EXPECT_FALSE(page.Check(205)->isChecked());
  EXPECT_EQ(page.Edit(242)->text(), "0");
  EXPECT_EQ(page.Edit(227)->text(), "MS Sans Serif");
  EXPECT_EQ(page.Edit(220)->text(), "tip");  // ToolTip is left as it is
  EXPECT_FALSE(ReadFile().contains("Tivolen Settings"));
  ASSERT_TRUE(page.Apply());
  EXPECT_EQ(Get(*c, kDispSort), 0);
  // The page's font fields belong to the defaults file: the control has no
  // properties of their names, so its own font stays.
  EXPECT_EQ(c->ControlFont().family(), "Courier");
  EXPECT_EQ(c->ControlFont().pointSizeF(), 14);
  EXPECT_TRUE(c->ControlFont().bold());
}

TEST_F(DefaultsFile, PageAppliesChangedFieldsAndReportsRefusals) {
  auto c = NewControl();
  TivolenPropPage page(c.get());
  EXPECT_EQ(page.Combo(222)->count(), 16);
  EXPECT_EQ(page.Combo(222)->itemText(15), "99 - _MP_CUSTOM");
  EXPECT_EQ(page.Combo(226)->itemText(2), "2 - _MS_EXTENDED");
  page.Edit(240)->setText("Steps");
  emit page.Edit(240)->textEdited("Steps");
  page.Edit(242)->setText("40");
  emit page.Edit(242)->textEdited("40");
  EXPECT_FALSE(page.Apply());
  EXPECT_EQ(page.Status(), "PictureTab must be between 0 and NumTabs");
  EXPECT_EQ(c->GetProperty(kDispCaption).value.toString(), "Steps");
}

}  // namespace
}  // namespace tivolen::test
