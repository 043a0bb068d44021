// The report dialog: what it offers for a drive or an application, the
// Print button's state, and how Display and Print run the chosen sections.
#include <QLabel>
#include <QPrinter>

#include "reports/tests/report_fixture.h"
#include "reports/tests/tool_run.h"
#include "wizards/tests/silent_drive_fixture.h"
#include "store/applic.h"

namespace {

using talvero::sim::Buffer;
using talvero::sim::Family;

const std::vector<std::string> kDriveBase{"Parameters", "Events", "Active Program", "Status"};

// Counts what a run asks of the printer; jobs go nowhere unless a target is given.
class CountingTarget : public talvero::PrintTarget {
 public:
  explicit CountingTarget(talvero::PrintTarget* inner = nullptr) : inner_(inner) {}
  QPrinter* BeginJob(const QString& title) override {
    ++jobs;
    return inner_ ? inner_->BeginJob(title) : nullptr;
  }
  void EndJob() override {
    if (inner_) inner_->EndJob();
  }
  QPageLayout PageLayout() const override {
    ++layouts;
    return inner_ ? inner_->PageLayout() : PrintTarget::PageLayout();
  }
  int jobs = 0;
  mutable int layouts = 0;

 private:
  talvero::PrintTarget* inner_;
};

class DialogTest : public ReportTest {};

TEST_F(DialogTest, DriveLibraryListStopsAtTheFirstEmptySlotAndSkipsTheSaveSlot) {
  talvero::sim::SimDrive& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  for (const char* name : {"A", "$$SAVE$$", "B"}) d.Programs().Save(Buffer::Active, name);
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  reports::PrintApp& dlg = Dialog();
  dlg.Activate();
  EXPECT_EQ(dlg.Items(), (std::vector<std::string>{"Parameters", "Events", "Active Program", "Program: A",
                                                   "Program: B", "Status"}));
  EXPECT_EQ(dlg.PSelect->selectedItems().size(), 6) << "all selected";
  EXPECT_TRUE(dlg.DoPrint->isEnabled());
  // Slots 0..3 asked: the fourth is the library's end.
  int asked = 0;
  for (const std::string& r : sim.Requests(1)) asked += r.size() == 3 && r.compare(0, 2, "PD") == 0;
  EXPECT_EQ(asked, 4);

  dlg.SelectNone_Click();
  EXPECT_FALSE(dlg.DoPrint->isEnabled());
  EXPECT_TRUE(dlg.Disp->isEnabled());
  dlg.SelectAll_Click();
  EXPECT_TRUE(dlg.DoPrint->isEnabled());
}

TEST_F(DialogTest, FilePrintShowsTheDialogWhichRebuildsItsListAndHidesToRun) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  reports::PrintApp& dlg = Dialog();
  dlg.PSelect->clear();
  std::vector<std::string> offered;
  bool reportShown = false;
  OnShow onReport([&]() { QTimer::singleShot(0, &Viewer(), [&]() { reportShown = true; Viewer().done(0); }); });
  Viewer().installEventFilter(&onReport);
  // Once the list is read, "Display".
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &dlg, [&]() {
    if (!dlg.Disp->isEnabled() || dlg.Items().empty()) return;
    poll.stop();
    offered = dlg.Items();
    dlg.Disp->click();
  });
  OnShow onDialog([&]() { poll.start(1); });
  dlg.installEventFilter(&onDialog);
  win->File_Print_Click();
  dlg.removeEventFilter(&onDialog);
  Viewer().removeEventFilter(&onReport);
  EXPECT_EQ(offered, kDriveBase);
  EXPECT_TRUE(reportShown);
  EXPECT_FALSE(dlg.isVisible()) << "the run hid the dialog, which ended its showing";
  EXPECT_NE(Viewer().Text().find("----- Status of:"), std::string::npos);
}

TEST_F(DialogTest, CancelAtOnceEndsTheShowing) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  reports::PrintApp& dlg = Dialog();
  // Pressed before the list is read: once the dialog's showing waited for ever.
  OnShow onDialog([&]() { QTimer::singleShot(0, &dlg, [&]() { dlg.PrintCancel->click(); }); });
  dlg.installEventFilter(&onDialog);
  win->File_Print_Click();
  dlg.removeEventFilter(&onDialog);
  EXPECT_FALSE(dlg.isVisible());
}

TEST_F(DialogTest, UnansweredDriveOffersOnlyTheFixedItems) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  sim.RemoveDrive(1);
  Dialog().Activate();
  EXPECT_EQ(Dialog().Items(), kDriveBase);
}

TEST_F(DialogTest, NothingSelectedDisplaysAnEmptyDocument) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  Choose({});
  EXPECT_FALSE(Dialog().DoPrint->isEnabled());
  sim.ClearLog();
  EXPECT_EQ(Display(), std::string(reports::RtfWriter::kHeader) + "}");
  EXPECT_TRUE(Viewer().PRTB->document()->toPlainText().isEmpty());
  EXPECT_TRUE(sim.Requests(1).empty());
}

TEST_F(DialogTest, DisplayNeverTouchesThePrinterAndShowsTheHourglass) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  CountingTarget counting;
  talvero::SetPrintTarget(&counting);
  Choose({"Events", "Status"});
  bool hourglass = false;
  bool dialogHidden = true;
  pump = [&]() {
    hourglass |= win->MousePointer() == 11;
    dialogHidden &= !Dialog().isVisible();
  };
  const std::string rtf = Display([&](reports::PR& pr) {
    EXPECT_EQ(pr.LineWidth(), 9360);
    EXPECT_EQ(pr.width() - pr.ChromeWidth(), pr.Pixels(9560));
  });
  pump = nullptr;
  EXPECT_TRUE(hourglass);
  EXPECT_TRUE(dialogHidden);
  EXPECT_EQ(win->MousePointer(), 0);
  EXPECT_EQ(counting.jobs + counting.layouts, 0);
  // Both sections in one document, in list order.
  const size_t events = rtf.find("----- Events from:"), status = rtf.find("----- Status of:");
  EXPECT_NE(events, std::string::npos);
  EXPECT_LT(events, status);
}

TEST_F(DialogTest, PrintMakesOneJobPerSectionInListOrder) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  Choose({"Status", "Parameters"});
  Dialog().DoPrint_Click();
  ASSERT_EQ(printer->Jobs(), 2);
  EXPECT_EQ(win->MousePointer(), 0);
  const std::optional<QString> first = RunTool("pdftotext", {printer->JobPath(1), "-"});
  if (!first) GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) not installed";
  EXPECT_TRUE(first->contains("----- Axis Parameters from:"));
  EXPECT_FALSE(first->contains("Status of"));
  EXPECT_TRUE(RunTool("pdftotext", {printer->JobPath(2), "-"})->contains("----- Status of:"));
  EXPECT_GE(PdfPages(printer->JobPath(1)), 2) << "the parameters run over pages";
  EXPECT_EQ(PdfPages(printer->JobPath(2)), 1) << "a one-page section gives one page";
  // Each page holds what the one before did not: the parameters' last line is printed.
  const std::optional<QString> last =
      RunTool("pdftotext", {"-f", QString::number(PdfPages(printer->JobPath(1))), printer->JobPath(1), "-"});
  EXPECT_FALSE(last->trimmed().isEmpty());
  EXPECT_TRUE(first->contains("Feedback Filter (FBF):"));
}

// Print Setup's "Print to File (PDF)": one print command gives one file with
// every section in list order, not a file that each section replaces.
TEST_F(DialogTest, PrintIntoAFileWritesEverySectionIntoThatOneFile) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  talvero::SetPrintTarget(nullptr);
  const QString file = dir.path() + "/report.pdf";
  QPrinter& setup = talvero::SetupPrinter();
  setup.setOutputFormat(QPrinter::PdfFormat);
  setup.setOutputFileName(file);
  Choose(kDriveBase);
  Dialog().DoPrint_Click();
  setup.setOutputFileName("");
  setup.setOutputFormat(QPrinter::NativeFormat);
  const std::optional<QString> text = RunTool("pdftotext", {file, "-"});
  if (!text) GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) not installed";
  // In list order, each section starting on a page of its own.
  const QStringList pages = text->split('\f');
  int last = -1;
  for (const char* title : {"----- Axis Parameters from:", "----- Events from:", "----- Active Program from:",
                            "----- Status of:"}) {
    int page = 0;
    while (page < pages.size() && !pages[page].contains(title)) ++page;
    ASSERT_LT(page, pages.size()) << title;
    EXPECT_GT(page, last) << title;
    last = page;
  }
  EXPECT_GE(PdfPages(file), 5) << "the parameters take two pages, the other sections one each";
}

TEST_F(DialogTest, AJobThatCannotStartIsToldOnceAndEndsTheRun) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  CountingTarget none;  // no printer
  talvero::SetPrintTarget(&none);
  Choose({"Events", "Status"});
  prompter.ExpectMessage(talvero::kNoPrinterText, talvero::Answer::Ok);
  sim.ClearLog();
  Dialog().DoPrint_Click();
  EXPECT_EQ(none.jobs, 1);
  for (const std::string& r : sim.Requests(1)) EXPECT_NE(r, "Q") << "the status section never ran";
}

// The dialog's list and a report of every section, on a drive that does not
// answer, at the program's tries and time-outs on the fake clock.
class SilentDialogTest : public SilentDriveTest<ReportTest> {};

TEST_F(SilentDialogTest, ASilentDriveCostsOneRetryCycleOrOneTryAndNothingAfterIt) {
  talvero::sim::SimDrive& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().Save(Buffer::Active, "A");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  const std::vector<std::string> withA{"Parameters", "Events", "Active Program", "Program: A", "Status"};
  reports::PrintApp& dlg = Dialog();
  struct Case {
    const char* what;
    std::function<void()> before;  // on the answering drive
    std::function<void()> run;
    std::string request;  // the one sent
  } cases[] = {
      {"the list", [] {}, [&] { dlg.Activate(); }, std::string("PD\0", 3)},
      {"the report", [&] { Choose(withA); },
       [&] {
         prompter.ExpectMessage(
             "Node 1 did not answer; the Parameters section of the report is incomplete, and the Events, Active "
             "Program, Program: A and Status sections were left out.",
             talvero::Answer::Ok);
         const std::string rtf = Display();
         EXPECT_NE(rtf.find("Node 1 did not answer; the Parameters section is incomplete."), std::string::npos);
         EXPECT_EQ(rtf.find("----- Events from:"), std::string::npos);
         EXPECT_EQ(rtf.find("Total Inertia"), std::string::npos) << "no value the drive did not give";
       },
       "=CM"},
  };
  for (const Case& c : cases) {
    for (const bool known : {false, true}) {
      const std::string what = std::string(c.what) + (known ? ", known silent" : ", silent for the first time");
      ExpectOneFailedRequest(Silent(1, known, c.before, c.run), known, c.request, what);
    }
  }
  // The list said so, offers what needs no answer, and fills once the drive answers.
  sim.ClearFaults();
  win->Link.Retries = 2;
  dlg.show();
  QCoreApplication::processEvents();  // the showing's own fill
  ASSERT_EQ(dlg.Items(), withA);
  ASSERT_TRUE(dlg.Notice->isHidden());
  sim.AddFault(talvero::sim::FaultRule::Silent(1));
  dlg.Activate();
  EXPECT_EQ(dlg.Items(), kDriveBase);
  EXPECT_TRUE(dlg.Notice->isVisible());
  EXPECT_EQ(dlg.Notice->text(), "Node 1 does not answer");
  sim.ClearFaults();
  win->DriveAnswered(1);
  EXPECT_EQ(dlg.Items(), withA);
  EXPECT_TRUE(dlg.Notice->isHidden());
  dlg.hide();
}

TEST_F(DialogTest, ApplicationListsNamedSlotsAndWritesTheChosenProgram) {
  ASSERT_TRUE(Start());
  const std::string path = (dir.path() + "/Line.APP").toStdString();
  {
    Applic a;
    ASSERT_TRUE(a.Create(path).ok());
    for (int slot = 1; slot <= Applic::GetMaxAxis(); ++slot)
      ASSERT_TRUE(a.AddAxis("A" + std::to_string(slot), "TAU", win->ParametersRS).ok());
    ASSERT_TRUE(a.AddPgm("P1").ok());
    ASSERT_TRUE(a.AddPgm("P2").ok());
  }
  ASSERT_TRUE(win->OpenAnApp(path));
  ASSERT_TRUE(win->CurApplic->DelAxis(2).ok());  // a hole before the last slot
  std::vector<std::string> items;
  for (int slot = 1; slot <= Applic::GetMaxAxis(); ++slot)
    if (slot != 2) items.push_back("Axis: A" + std::to_string(slot));
  items.insert(items.end(), {"Pgm: P1", "Pgm: P2"});
  Dialog().Activate();
  EXPECT_EQ(Dialog().Items(), items);
  EXPECT_EQ(Dialog().PSelect->selectedItems().size(), int(items.size()));
  Choose({"Pgm: P1"});
  Dialog().DoPrint_Click();
  ASSERT_EQ(printer->Jobs(), 1);
  const std::optional<QString> text = RunTool("pdftotext", {printer->JobPath(1), "-"});
  if (!text) GTEST_SKIP() << "poppler-utils not installed";
  EXPECT_TRUE(text->contains("----- Axis Library Program: P1 from:"));
}

}  // namespace
