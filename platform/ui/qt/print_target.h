#pragma once
// Where printed pages go. The program prints on the printer chosen in Print
// Setup; tests install a target that writes each job to a numbered PDF, so
// the pages can be counted and read without a printer.
//
//   talvero::PrintJob job("Report");
//   if (!job) { tell(job.Failure()); return; }   // nothing printed
//   QPainter& p = job.Painter(); ... job.Printer()->newPage(); ...
//
// Several jobs of one print command inside a PrintRun go to a printer as
// jobs of their own, in order; when the printer writes a file, they are
// pages of that one file, each job starting on a new page.
#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "platform/clock/clock.h"

class QPrinter;

namespace talvero {

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // A printer set up for one job, or nullptr when there is none.
  virtual QPrinter* BeginJob(const QString& title) = 0;
  // The job's pages are done (the painter on the printer has ended).
  virtual void EndJob() {}
  // The job did not start: the printer must take the next set-up and job.
  virtual void JobFailed() {}
  // The page the next job prints on, without starting one.
  virtual QPageLayout PageLayout() const;
  // True when the jobs of one run are to share one output file.
  virtual bool OneFilePerRun(const QPrinter& printer) const;
};

// The process-wide target: the Print Setup printer unless a test installs another.
PrintTarget& ThePrintTarget();
void SetPrintTarget(PrintTarget* target);  // nullptr restores the printer

// The printer Print Setup sets up and the program prints on.
QPrinter& SetupPrinter();

// What the user is told when there is nothing to print on.
inline constexpr const char* kNoPrinterText =
    "Unable to print: no printer is set up. Choose one with File -> Print Setup...";

class PrintRun;

// One print job on ThePrintTarget(), its painter begun on the whole page;
// ends the job when it goes.
class PrintJob {
 public:
  explicit PrintJob(const QString& title);
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  // True when the painter is ready on the printer.
  explicit operator bool() const { return painter_ != nullptr; }
  QPrinter* Printer() const { return printer_; }
  QPainter& Painter() { return *painter_; }
  // Why the job did not start, for the user.
  const std::string& Failure() const { return failure_; }

 private:
  QPrinter* printer_ = nullptr;
  QPainter own_;
  QPainter* painter_ = nullptr;
  bool runs_ = false;  // the painter is the run's and outlives the job
  std::string failure_;
};

// One print command: every PrintJob while it lives belongs to it.
class PrintRun {
 public:
  PrintRun();
  ~PrintRun();
  PrintRun(const PrintRun&) = delete;
  PrintRun& operator=(const PrintRun&) = delete;

 private:
  friend class PrintJob;
  PrintRun* outer_;
  QPrinter* printer_ = nullptr;  // the shared file's printer, once begun
  QPainter painter_;
};

// Jobs as PDF files "job-1.pdf", "job-2.pdf", ... in a folder, US Letter
// unless set otherwise.
class PdfPrintTarget : public PrintTarget {
 public:
  explicit PdfPrintTarget(QString folder);
  ~PdfPrintTarget() override;
  QPrinter* BeginJob(const QString& title) override;
  void EndJob() override;
  QPageLayout PageLayout() const override;
  // Each job a file of its own, as a printer takes each as a job.
  bool OneFilePerRun(const QPrinter&) const override { return false; }
  // A4 instead of Letter, or margins, for the next jobs.
  QPrinter& Template() { return *template_; }
  int Jobs() const { return jobs_; }
  QString JobPath(int n) const;  // 1-based
  QStringList Titles() const { return titles_; }

 private:
  QString folder_;
  std::unique_ptr<QPrinter> template_;
  std::unique_ptr<QPrinter> current_;
  int jobs_ = 0;
  QStringList titles_;
};

// A date and time as printed headers show them: the locale's short date, a
// blank, the time with seconds.
QString PrintedDateTime(const LocalDateTime& t);

}  // namespace talvero
