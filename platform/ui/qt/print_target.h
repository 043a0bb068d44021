#pragma once
// Where printed pages go. The program prints on the printer chosen in Print
// Setup; tests install a target that writes each job to a numbered PDF, so
// the pages can be counted and read without a printer.
//
//   talvero::PrintJob job("Report");
//   if (!job) return;                     // nothing to print on
//   QPainter p(job.Printer()); ... job.Printer()->newPage(); ...
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <memory>

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
  // The page the next job prints on, without starting one.
  virtual QPageLayout PageLayout() const;
};

// The process-wide target: the Print Setup printer unless a test installs another.
PrintTarget& ThePrintTarget();
void SetPrintTarget(PrintTarget* target);  // nullptr restores the printer

// One print job on ThePrintTarget(); ends the job when it goes.
class PrintJob {
 public:
  explicit PrintJob(const QString& title) : printer_(ThePrintTarget().BeginJob(title)) {}
  ~PrintJob() {
    if (printer_) ThePrintTarget().EndJob();
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  explicit operator bool() const { return printer_ != nullptr; }
  QPrinter* Printer() const { return printer_; }

 private:
  QPrinter* printer_;
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
