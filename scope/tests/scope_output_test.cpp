// What the scope keeps of a capture: the two metafiles and the printed page,
// each checked by our own reader and by tools that share no code with ours.
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "platform/files/tests/file_kinds.h"
#include "platform/ui/qt/print_target.h"
#include "scope/tests/scope_fixture.h"
#include "scope/tests/wmf_reader.h"

namespace {

using scope::testing::ReadBytes;
using scope::testing::ReadWmf;

// A tool's standard output; nullopt when the tool is not installed.
std::optional<QString> Tool(const QString& name, const QStringList& args, int* rc = nullptr) {
  const QString path = QStandardPaths::findExecutable(name);
  if (path.isEmpty()) return std::nullopt;
  QProcess p;
  p.start(path, args);
  p.waitForFinished(30000);
  if (rc) *rc = p.exitCode();
  return QString::fromUtf8(p.readAllStandardOutput());
}

class ScopeOutputTest : public ScopeTest {
 protected:
  void SetUp() override {
    ScopeTest::SetUp();
    s->ProgramFolder = dir.path().toStdString();
    s->UPD_Click(5);
    s->LPD_Click(7);
    Capture();
  }
  std::string Path(const std::string& name) { return dir.path().toStdString() + "/" + name; }
};

TEST_F(ScopeOutputTest, ExportWritesBothChartsAsPlaceableMetafiles) {
  s->Print2File_Click();  // at 14:05 on 9 December 2026
  const std::string upper = Path("2612091405U KV110c Feed (Node 1).WMF");
  const std::string lower = Path("2612091405L KV110c Feed (Node 1).WMF");
  for (const std::string& file : {upper, lower}) {
    const std::vector<uint8_t> bytes = ReadBytes(file);
    ASSERT_FALSE(bytes.empty()) << file;
    const auto f = ReadWmf(bytes);
    EXPECT_EQ(f.error, "");
    EXPECT_EQ(f.key, 0x9AC6CDD7u);
    EXPECT_TRUE(f.checksumOk);
    EXPECT_EQ(f.box[0], 0);
    EXPECT_EQ(f.box[1], 0);
    EXPECT_EQ(f.box[2], s->graph->width() * 1440 / s->graph->logicalDpiX());
    EXPECT_EQ(f.box[3], s->graph->height() * 1440 / s->graph->logicalDpiY());
    EXPECT_EQ(f.inch, 1440);
    // The window is the picture: its height first, then its width.
    EXPECT_EQ(scope::testing::FirstRecord(f, 0x020B), (std::vector<uint16_t>{0, 0}));
    EXPECT_EQ(scope::testing::FirstRecord(f, 0x020C),
              (std::vector<uint16_t>{uint16_t(f.box[3]), uint16_t(f.box[2])}));
    EXPECT_EQ(f.type, 1);
    EXPECT_EQ(f.headerWords, 9);
    EXPECT_EQ(f.version, 0x0300);
    EXPECT_EQ(f.sizeWords, f.bodyWords) << "size in words = the file's words";
    EXPECT_EQ(f.maxRecord, f.largestSeen);
    EXPECT_GT(f.objects, 0);
    int traces = 0;
    for (const auto& line : scope::testing::Polylines(f)) traces += line.points == 250 && line.colour == 0x00FFFF;
    EXPECT_EQ(traces, 1) << "one 250-point polyline in the data colour";
  }
  const auto titles = scope::testing::Texts(ReadWmf(ReadBytes(upper)));
  EXPECT_NE(std::find(titles.begin(), titles.end(), "Feedback Velocity (system-rev/sec)"), titles.end());

  // Another program plays them.
  const QString svg = dir.path() + "/upper.svg";
  int rc = -1;
  if (!Tool("wmf2svg", {"-o", svg, QString::fromStdString(upper)}, &rc)) GTEST_SKIP() << "wmf2svg is not installed";
  EXPECT_EQ(rc, 0);
  QFile out(svg);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(out.readAll());
  EXPECT_TRUE(text.contains("stroke:yellow")) << "the trace";
  EXPECT_TRUE(text.contains("Feedback Velocity (system-rev/sec)"));
  EXPECT_GT(text.count("<polyline"), 10);
}

TEST_F(ScopeOutputTest, AChartOfAnyWidthIsWrittenWholeAtItsSizeInInches) {
  for (int width : {2560, 4000}) {
    s->resize(width, 1400);
    ASSERT_EQ(s->graph->width(), width);
    s->ProgramFolder = Path(std::to_string(width));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(s->ProgramFolder)));
    s->Print2File_Click();
    const auto f = ReadWmf(ReadBytes(s->ProgramFolder + "/2612091405U KV110c Feed (Node 1).WMF"));
    ASSERT_EQ(f.error, "") << width;
    const int w = f.box[2], h = f.box[3];
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    // Units per inch and extent give the chart's own size in inches.
    const int dpiX = s->graph->logicalDpiX(), dpiY = s->graph->logicalDpiY();
    EXPECT_NEAR(double(w) / f.inch, double(width) / dpiX, 1.0 / f.inch) << width;
    EXPECT_NEAR(double(h) / f.inch, double(s->graph->height()) / dpiY, 1.0 / f.inch) << width;
    EXPECT_EQ(scope::testing::FirstRecord(f, 0x020C), (std::vector<uint16_t>{uint16_t(h), uint16_t(w)}));
    // The labels keep their 8 points in those units.
    const auto font = scope::testing::FirstRecord(f, 0x02FB);
    ASSERT_FALSE(font.empty());
    EXPECT_EQ(int16_t(font[0]), -int(std::lround(8.0 * f.inch / 72))) << width;
    // A rectangle's right and bottom edges lie one past what it fills.
    for (const auto& [x, y] : scope::testing::DrawnPoints(f)) {
      EXPECT_TRUE(x >= 0 && x <= w + 1 && y >= 0 && y <= h + 1) << width << ": " << x << "," << y << " outside";
      if (HasFailure()) break;
    }
    // The trace runs on to the plot area's right edge, near the chart's.
    const auto lines = scope::testing::Polylines(f);
    const auto trace = std::find_if(lines.begin(), lines.end(), [](const auto& l) { return l.points == 250; });
    ASSERT_NE(trace, lines.end());
    EXPECT_GT(trace->right, w * 95 / 100) << width;
  }
}

TEST_F(ScopeOutputTest, ASecondExportInTheMinuteKeepsTheFirstAndNamesAreSafe) {
  s->Print2File_Click();
  s->Print2File_Click();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("2612091405U KV110c Feed (Node 1).WMF"))));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("2612091405U KV110c Feed (Node 1)~2.WMF"))));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("2612091405L KV110c Feed (Node 1)~2.WMF"))));
  // A drive text with a slash stays inside the folder.
  win->NodeTables.at(1).driveText = "A/../B\\C";
  s->Print2File_Click();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("2612091405U A_.._B_C.WMF"))));
}

TEST_F(ScopeOutputTest, AnUnwritableFolderIsReportedWithThePath) {
  s->ProgramFolder = dir.path().toStdString() + "/missing";
  prompter.ExpectMessageContaining("Unable to write " + s->ProgramFolder + "/2612091405U", talvero::Answer::Ok);
  s->Print2File_Click();  // one box: the lower file is not tried
  EXPECT_EQ(prompter.Boxes().back().title, "KOVscope");
}

TEST_F(ScopeOutputTest, AFullDiskLeavesNoPartOfAMetafile) {
  prompter.ExpectMessage("Unable to write " + Path("2612091405U KV110c Feed (Node 1).WMF") + ": the disk is full",
                         talvero::Answer::Ok, "KOVscope");
  {
    const talvero::testing::FileSizeLimit full(1000);
    s->Print2File_Click();
  }
  EXPECT_TRUE(prompter.AllShown());
  EXPECT_TRUE(QDir(dir.path()).entryList({"*.WMF", ".*"}, QDir::Files | QDir::Hidden).isEmpty());
}

// PDF jobs at a fixed resolution.
class DpiPdfTarget : public talvero::PdfPrintTarget {
 public:
  DpiPdfTarget(QString folder, int dpi) : PdfPrintTarget(std::move(folder)), dpi_(dpi) {}
  QPrinter* BeginJob(const QString& title) override {
    QPrinter* p = PdfPrintTarget::BeginJob(title);
    p->setResolution(dpi_);
    return p;
  }

 private:
  int dpi_;
};

TEST_F(ScopeOutputTest, PrintsOnePageWithHeaderAndTheReadOutInTheTitles) {
  const auto& plot = s->graph->Model().Plot();
  s->Chart_MouseMove(s->graph, Qt::NoButton, QPoint(plot.left + plot.width / 2, plot.top + 5));
  const QString p1 = Panel(1), p2 = Panel(2), p3 = Panel(3);
  ASSERT_FALSE(p1.isEmpty());
  DpiPdfTarget target(dir.path(), 600);
  talvero::SetPrintTarget(&target);
  s->Print2Printer_Click();
  talvero::SetPrintTarget(nullptr);
  EXPECT_EQ(s->graph->Title(), "Feedback Velocity (system-rev/sec)") << "titles restored";
  EXPECT_EQ(s->graph2->Title(), "Current Reference (amps)");
  ASSERT_EQ(target.Jobs(), 1);
  const QString pdf = target.JobPath(1);
  const auto info = Tool("pdfinfo", {pdf});
  if (!info) GTEST_SKIP() << "poppler-utils are not installed";
  EXPECT_TRUE(info->contains(QRegularExpression("Pages:\\s+1\\n"))) << info->toStdString();
  const QString text = Tool("pdftotext", {"-raw", pdf, "-"}).value_or("");
  const QString header = "KV110c Feed (Node 1)       " + talvero::PrintedDateTime(clock.Now());
  EXPECT_TRUE(text.simplified().contains(header.simplified())) << text.toStdString();
  EXPECT_TRUE(text.contains("[" + p1 + "," + p2 + "]")) << text.toStdString();
  EXPECT_TRUE(text.contains("[" + p1 + "," + p3 + "]"));

  // Letter at 600 dpi: charts at (255, 330) and (255, 3300), 4590 x 2970.
  // At 60 dpi the black chart backgrounds span a tenth of that.
  ASSERT_TRUE(Tool("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf, dir.path() + "/page"}));
  QImage page(dir.path() + "/page.png");
  ASSERT_EQ(page.size(), QSize(510, 660));
  auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 40; };
  int left = -1, right = -1, top = -1, bottom = -1;
  for (int y = 20; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (dark(x, y)) {
        if (left < 0 || x < left) left = x;
        right = std::max(right, x);
        if (top < 0) top = y;
        bottom = y;
      }
  EXPECT_NEAR(left, 25.5, 1);
  EXPECT_NEAR(right + 1, 25.5 + 459, 1);
  EXPECT_NEAR(top, 33, 1);
  EXPECT_NEAR(bottom + 1, 33 + 2 * 297, 1);
  EXPECT_TRUE(dark(250, 33 + 297 - 2) && dark(250, 33 + 297 + 2)) << "the lower chart right under the upper";
}

TEST_F(ScopeOutputTest, WithoutAReadOutTheTitlesPrintPlain) {
  talvero::PdfPrintTarget target(dir.path());
  talvero::SetPrintTarget(&target);
  s->Print2Printer_Click();
  talvero::SetPrintTarget(nullptr);
  const auto text = Tool("pdftotext", {"-raw", target.JobPath(1), "-"});
  if (!text) GTEST_SKIP() << "poppler-utils are not installed";
  EXPECT_TRUE(text->contains("Feedback Velocity (system-rev/sec)"));
  EXPECT_FALSE(text->contains("["));
}

class NoPrinter : public talvero::PrintTarget {
 public:
  QPrinter* BeginJob(const QString&) override { return nullptr; }
};

class BrokenPrinter : public talvero::PrintTarget {
 public:
  explicit BrokenPrinter(QString path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
  }
  QPrinter* BeginJob(const QString&) override { return &printer; }
  QPrinter printer;
};

// The printer object of a system with no printer: neither a name nor a file.
class NamelessPrinter : public talvero::PrintTarget {
 public:
  NamelessPrinter() {
    printer.setPrinterName("");
    printer.setOutputFileName("");
  }
  QPrinter* BeginJob(const QString&) override { return &printer; }
  QPrinter printer;
};

TEST_F(ScopeOutputTest, APrintJobThatCannotStartIsReported) {
  NoPrinter none;
  NamelessPrinter nameless;
  for (talvero::PrintTarget* t : std::initializer_list<talvero::PrintTarget*>{&none, &nameless}) {
    talvero::SetPrintTarget(t);
    prompter.ExpectMessage(talvero::kNoPrinterText, talvero::Answer::Ok, "KOVscope");
    s->Print2Printer_Click();
  }
  const QString nowhere = dir.path() + "/missing/job.pdf";
  BrokenPrinter broken(nowhere);
  talvero::SetPrintTarget(&broken);
  prompter.ExpectMessageContaining("Unable to print on " + nowhere.toStdString() + ": ", talvero::Answer::Ok);
  s->Print2Printer_Click();
  talvero::SetPrintTarget(nullptr);
  EXPECT_EQ(s->graph->Title(), "Feedback Velocity (system-rev/sec)");
}

}  // namespace
