// The report window: its line width and size, the document our reader makes
// of the RTF, saving, copying, and pages printed to PDF.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageSize>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <functional>
#include <optional>

#include "platform/files/tests/file_kinds.h"
#include "reports/tests/report_fixture.h"
#include "reports/tests/tool_run.h"

namespace {

using talvero::sim::Family;

class ViewerTest : public ReportTest {
 protected:
  // The window with a short report in it, as a section leaves it.
  reports::PR& Filled(bool display) {
    reports::PR& pr = pr_;
    pr.DisplayMode = display;
    pr.Zap();
    pr.ChangeFont(1, 14);
    pr.Center();
    pr.Bold();
    pr.Add("Talvero");
    pr.Para();
    pr.Normal();
    pr.NoCenter();
    pr.ChangeFont(2, 10);
    pr.Add("Total Inertia (INER):  0.5 kg-m\\'b2");
    pr.Para();
    pr.GoPrint();
    if (display) pr.TextOut();  // as ShowIt does before it shows
    return pr;
  }
  reports::PR pr_;
};

TEST_F(ViewerTest, LineWidthOnScreenAndOnThePrintersPage) {
  reports::PR& pr = pr_;
  pr.DisplayMode = true;
  EXPECT_EQ(pr.WYSIWYG_RTF(1440, 1440), 9360);
  EXPECT_EQ(pr.WYSIWYG_RTF(0, 0), 9360) << "margins do not matter on screen";
  pr.DisplayMode = false;
  EXPECT_EQ(pr.WYSIWYG_RTF(1440, 1440), 9360) << "Letter";
  EXPECT_EQ(pr.WYSIWYG_RTF(1440, 0), 0);
  printer->Template().setPageSize(QPageSize(QPageSize::A4));
  EXPECT_EQ(pr.WYSIWYG_RTF(1440, 1440), 9026) << "A4";
  EXPECT_EQ(printer->Jobs(), 0) << "no job is opened to measure the page";

  Filled(false);
  EXPECT_EQ(pr.LineWidth(), 9026);
  EXPECT_EQ(pr.PRTB->lineWrapColumnOrWidth(), pr.Pixels(9026));
  EXPECT_EQ(pr.width() - pr.ChromeWidth(), pr.Pixels(9226));
  Filled(true);
  EXPECT_EQ(pr.LineWidth(), 9360);
  EXPECT_EQ(pr.width() - pr.ChromeWidth(), pr.Pixels(9560));
}

TEST_F(ViewerTest, TheDocumentCarriesTheReportsFormats) {
  reports::PR& pr = Filled(true);
  QTextDocument* doc = pr.PRTB->document();
  EXPECT_EQ(doc->toPlainText(), QString::fromUtf8("Talvero\nTotal Inertia (INER):  0.5 kg-m\xC2\xB2"));
  const QTextBlock title = doc->begin();
  EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
  EXPECT_EQ(titleFormat.fontWeight(), QFont::Bold);
  EXPECT_EQ(titleFormat.fontPointSize(), 14);
  const QTextBlock body = title.next();
  const QTextCharFormat bodyFormat = body.begin().fragment().charFormat();
  EXPECT_EQ(bodyFormat.fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(bodyFormat.fontPointSize(), 10);
  EXPECT_NE(bodyFormat.fontWeight(), QFont::Bold);
  EXPECT_TRUE(QFontInfo(bodyFormat.font()).fixedPitch()) << QFontInfo(bodyFormat.font()).family().toStdString();
}

TEST_F(ViewerTest, SaveWritesTheRtfByteForByte) {
  reports::PR& pr = Filled(true);
  const std::string path = (dir.path() + "/report.rtf").toStdString();
  prompter.ExpectSaveFile(path);
  pr.File_Save->trigger();
  ASSERT_EQ(prompter.Dialogs().size(), 1u);
  EXPECT_EQ(prompter.Dialogs()[0].title, "Save Contents To...");
  EXPECT_EQ(prompter.Dialogs()[0].defaultExt, "RTF");
  EXPECT_EQ(prompter.Dialogs()[0].fileName, "*.RTF");
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), pr.Text());
  // Another program reads it too.
  const std::optional<QString> text = RunTool("unrtf", {"--text", QString::fromStdString(path)});
  if (!text) GTEST_SKIP() << "unrtf not installed";
  EXPECT_TRUE(text->contains("Talvero\nTotal Inertia (INER):")) << text->toStdString();
  EXPECT_TRUE(text->contains("0.5 kg-m")) << text->toStdString();

  prompter.ExpectSaveFile(std::nullopt);  // cancelled: nothing, silently
  pr.File_Save_Click();
  const std::string bad = (dir.path() + "/no such folder/r.rtf").toStdString();
  prompter.ExpectSaveFile(bad);
  prompter.ExpectMessageContaining("Can't save the report to " + bad, talvero::Answer::Ok);
  pr.File_Save_Click();
}

TEST_F(ViewerTest, SaveOverAFileInTheWayLeavesItWhole) {
  namespace kinds = talvero::testing;
  reports::PR& pr = Filled(true);
  const QString at = dir.path() + "/r.rtf";
  const std::string path = at.toStdString();
  const std::string old(1000, 'o');
  const auto write = [](const QString& p, const std::string& bytes) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
  };
  const auto read = [](const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(none)");
  };
  struct Case {
    const char* name;
    std::function<void()> make;
    std::string reason;  // "" = saved
    std::function<void()> after;
  } cases[] = {
      {"fifo", [&] { ASSERT_TRUE(kinds::MakeFifo(path)); }, "it is a pipe (fifo), not a file",
       [&] { EXPECT_TRUE(QFileInfo(at).exists()); }},
      {"folder", [&] { ASSERT_TRUE(QDir().mkdir(at)); }, "it is a folder", [&] { EXPECT_TRUE(QFileInfo(at).isDir()); }},
      {"full disk", [&] { write(at, old); }, "the disk is full",
       [&] { EXPECT_TRUE(read(at) == old) << "the old report kept whole"; }},
      {"symbolic link", [&] {
         write(dir.path() + "/kept.rtf", old);
         ASSERT_TRUE(QFile::link("kept.rtf", at));
       }, "",
       [&] {
         EXPECT_TRUE(QFileInfo(at).isSymLink()) << "the link is kept";
         EXPECT_EQ(read(dir.path() + "/kept.rtf"), pr.Text());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    prompter.ExpectSaveFile(path);
    if (!c.reason.empty())
      prompter.ExpectMessage("Can't save the report to " + path + "\n" + c.reason, talvero::Answer::Ok);
    const kinds::Stopwatch watch;
    {
      std::optional<kinds::FileSizeLimit> full;
      if (c.name == std::string("full disk")) full.emplace(100);  // less than the report
      pr.File_Save_Click();
    }
    EXPECT_LT(watch.Seconds(), 1.0);
    EXPECT_TRUE(prompter.AllShown());
    c.after();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before)
        << "no temporary left";
    QDir(at).removeRecursively();
    QFile::remove(at);
    QFile::remove(dir.path() + "/kept.rtf");
  }
}

TEST_F(ViewerTest, CopyPutsTheWholeDocumentOnTheClipboard) {
  reports::PR& pr = Filled(true);
  QTextCursor part(pr.PRTB->document());
  part.setPosition(3);
  part.setPosition(9, QTextCursor::KeepAnchor);
  pr.PRTB->setTextCursor(part);
  pr.File_Copy->trigger();
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_EQ(mime->data("text/rtf").toStdString(), pr.Text());
  EXPECT_TRUE(mime->text().startsWith("Talvero\nTotal Inertia"));
  EXPECT_FALSE(pr.PRTB->textCursor().hasSelection());
  EXPECT_EQ(pr.PRTB->textCursor().position(), 0);
}

TEST_F(ViewerTest, PrintModePrintsEachSectionAsItsOwnJob) {
  Filled(false);
  Filled(false);
  ASSERT_EQ(printer->Jobs(), 2);
  if (PdfPages(printer->JobPath(1)) < 0) GTEST_SKIP() << "poppler-utils not installed";
  EXPECT_EQ(PdfPages(printer->JobPath(1)), 1);
  const QString text = *RunTool("pdftotext", {"-layout", printer->JobPath(2), "-"});
  EXPECT_TRUE(text.contains("Talvero"));
  EXPECT_TRUE(text.contains(QString::fromUtf8("0.5 kg-m\xC2\xB2")));
  // One-inch margins: the text starts an inch in (72 points).
  const std::optional<QString> box = RunTool("pdftotext", {"-bbox", printer->JobPath(2), "-"});
  const int word = box->indexOf(">Total<");
  ASSERT_GE(word, 0);
  const int at = box->lastIndexOf("xMin=\"", word);
  const double xMin = box->mid(at + 6, 12).section('"', 0, 0).toDouble();
  EXPECT_NEAR(xMin, 72, 1.5) << "the body starts at the left margin";
}

}  // namespace
