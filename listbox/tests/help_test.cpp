// The property page's help: F1 or its Help button opens the page's topic of
// the control's own help file, the one the build installs beside the library.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "listbox/defaults_store.h"
#include "listbox/help_topic.h"
#include "listbox/prop_page.h"
#include "listbox/tests/ctrl_fixture.h"

namespace tivolen::test {
namespace {

// Every caption the page shows a user, without its access key and colon.
QStringList PageCaptions(TivolenPropPage& page) {
  QStringList captions;
  auto add = [&](QString t) { captions << t.remove('&').remove(':').trimmed(); };
  for (QLabel* l : page.findChildren<QLabel*>())
    if (l->buddy()) add(l->text());
  for (QCheckBox* c : page.findChildren<QCheckBox*>())
    if (!c->text().isEmpty()) add(c->text());
  for (QPushButton* b : page.findChildren<QPushButton*>())
    if (!qobject_cast<QDialogButtonBox*>(b->parentWidget())) add(b->text());
  return captions;
}

class PageHelp : public testing::Test {
 protected:
  std::unique_ptr<TivolenCtrl> ctrl = MakeControl();
  TivolenPropPage page{ctrl.get()};
};

TEST_F(PageHelp, F1AndTheHelpButtonOpenThePageTopicOfTheControlsHelpFile) {
  EXPECT_TRUE(Module().helpFile.endsWith("/Help/TIVOLE.HLP")) << Module().helpFile.toStdString();
  page.show();
  QTest::keyClick(page.Edit(220), Qt::Key_F1);  // from a field, as a user presses it
  ASSERT_NE(page.Help(), nullptr) << page.Status().toStdString();
  EXPECT_TRUE(page.Help()->isVisible());
  EXPECT_EQ(page.Help()->TopicTitle(), "General");
  EXPECT_EQ(page.Help()->windowTitle(), "Tivolen Help - General");
  const QString text = page.Help()->TopicText();
  const QStringList captions = PageCaptions(page);
  EXPECT_GE(captions.size(), 18);
  for (const QString& caption : captions) EXPECT_TRUE(text.contains(caption + ":")) << caption.toStdString();

  page.Help()->hide();
  auto* box = page.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  QTest::mouseClick(box->button(QDialogButtonBox::Help), Qt::LeftButton);
  EXPECT_TRUE(page.Help()->isVisible());
}

TEST_F(PageHelp, AMissingFileOrTopicIsToldOnThePage) {
  QTemporaryDir dir;
  const QString kept = Module().helpFile;
  struct Case {
    const char* content;  // nullptr: no file
    const char* told;
  } cases[] = {{nullptr, "Help topic 4001 cannot be shown: the help file %1 is not installed."},
               {"[4000] Another\nText\n", "Help topic 4001 cannot be shown: it is not in the help file %1."}};
  for (const Case& c : cases) {
    Module().helpFile = dir.path() + "/TIVOLE.HLP";
    QFile::remove(Module().helpFile);
    if (c.content) {
      QFile f(Module().helpFile);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.content);
    }
    EXPECT_FALSE(page.ShowHelp());
    EXPECT_EQ(page.Status(), QString(c.told).arg(Module().helpFile));
    EXPECT_EQ(page.Help(), nullptr);
  }
  Module().helpFile = kept;
}

TEST(HelpTopicFile, ATopicIsReadAsTheProgramsHelpFileHoldsIt) {
  QTemporaryDir dir;
  QFile f(dir.path() + "/t.hlp");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("# comment\n[12] Before\nnot this\n[4001]\nkeywords: a; b\n\nFirst line\r\n\\[4002] kept as text\n\n[4002] After\nnor this\n");
  f.close();
  const HelpLookup found = ReadHelpTopic(f.fileName(), 4001);
  ASSERT_TRUE(found.topic) << found.error.toStdString();
  EXPECT_EQ(found.topic->title, "Topic 4001");
  EXPECT_EQ(found.topic->text, "First line\n[4002] kept as text");
}

}  // namespace
}  // namespace tivolen::test
