#include "platform/ui/qt/print_target.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTime>
#include <memory>

namespace talvero {
namespace {

std::unique_ptr<QPrinter> g_setupPrinter;

// A printer as the user set this one up. A job that failed to start leaves
// a printer active for good, refusing every later set-up; its copy is not.
std::unique_ptr<QPrinter> CopyOfSetup(const QPrinter& old) {
  auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
  p->setOutputFormat(old.outputFormat());
  if (old.outputFormat() == QPrinter::NativeFormat && !old.printerName().isEmpty())
    p->setPrinterName(old.printerName());
  if (!old.outputFileName().isEmpty()) p->setOutputFileName(old.outputFileName());
  p->setPageLayout(old.pageLayout());
  p->setCopyCount(old.copyCount());
  p->setCollateCopies(old.collateCopies());
  p->setColorMode(old.colorMode());
  p->setDuplex(old.duplex());
  p->setPageOrder(old.pageOrder());
  return p;
}

// The printer the user chose in Print Setup.
class SetupPrinterTarget : public PrintTarget {
 public:
  QPrinter* BeginJob(const QString& title) override {
    QPrinter& printer = SetupPrinter();
    printer.setDocName(title);
    return &printer;
  }
  void JobFailed() override {
    if (g_setupPrinter) g_setupPrinter = CopyOfSetup(*g_setupPrinter);
  }
  QPageLayout PageLayout() const override { return SetupPrinter().pageLayout(); }
};

PrintTarget* g_target = nullptr;
PrintRun* g_run = nullptr;

}  // namespace

QPrinter& SetupPrinter() {
  if (!g_setupPrinter) g_setupPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *g_setupPrinter;
}

QPageLayout PrintTarget::PageLayout() const {
  return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
}

bool PrintTarget::OneFilePerRun(const QPrinter& printer) const { return !printer.outputFileName().isEmpty(); }

PrintJob::PrintJob(const QString& title) {
  if (g_run && g_run->printer_) {
    // A later job of a run into one file: the next page of that file.
    printer_ = g_run->printer_;
    printer_->newPage();
    painter_ = &g_run->painter_;
    runs_ = true;
    return;
  }
  PrintTarget& target = ThePrintTarget();
  printer_ = target.BeginJob(title);
  if (!printer_) {
    failure_ = kNoPrinterText;
    return;
  }
  const bool shared = g_run && target.OneFilePerRun(*printer_);
  QPainter& painter = shared ? g_run->painter_ : own_;
  printer_->setFullPage(true);
  if (!painter.begin(printer_)) {
    const QString where = printer_->outputFileName().isEmpty() ? printer_->printerName() : printer_->outputFileName();
    // A printer without a name or a file is no printer at all.
    failure_ = where.isEmpty() ? std::string(kNoPrinterText)
                               : "Unable to print on " + where.toStdString() + ": the print job could not start.";
    printer_ = nullptr;
    target.JobFailed();
    target.EndJob();
    return;
  }
  painter_ = &painter;
  if (shared) {
    g_run->printer_ = printer_;
    runs_ = true;
  }
}

PrintJob::~PrintJob() {
  if (!painter_ || runs_) return;
  painter_->end();
  ThePrintTarget().EndJob();
}

PrintRun::PrintRun() : outer_(g_run) {
  // A run inside a run is part of the outer one.
  if (!outer_) g_run = this;
}

PrintRun::~PrintRun() {
  if (g_run != this) return;
  g_run = nullptr;
  if (printer_) {
    painter_.end();
    ThePrintTarget().EndJob();
  }
}

PrintTarget& ThePrintTarget() {
  static SetupPrinterTarget printer;
  return g_target ? *g_target : printer;
}

void SetPrintTarget(PrintTarget* target) { g_target = target; }

PdfPrintTarget::PdfPrintTarget(QString folder)
    : folder_(std::move(folder)), template_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  template_->setOutputFormat(QPrinter::PdfFormat);
  template_->setPageSize(QPageSize(QPageSize::Letter));
}

PdfPrintTarget::~PdfPrintTarget() = default;

QString PdfPrintTarget::JobPath(int n) const {
  return QDir(folder_).filePath(QString("job-%1.pdf").arg(n));
}

QPrinter* PdfPrintTarget::BeginJob(const QString& title) {
  current_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  current_->setOutputFormat(QPrinter::PdfFormat);
  current_->setPageLayout(template_->pageLayout());
  current_->setFullPage(template_->fullPage());
  current_->setDocName(title);
  current_->setOutputFileName(JobPath(++jobs_));
  titles_ << title;
  return current_.get();
}

void PdfPrintTarget::EndJob() { current_.reset(); }

QPageLayout PdfPrintTarget::PageLayout() const { return template_->pageLayout(); }

QString PrintedDateTime(const LocalDateTime& t) {
  const QLocale locale;
  // The locale's short time, with the seconds it leaves out put back.
  QString time = locale.timeFormat(QLocale::ShortFormat);
  if (!time.contains('s')) time.replace("mm", "mm:ss");
  return locale.toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat) + " " +
         locale.toString(QTime(t.hour, t.minute, t.second), time);
}

}  // namespace talvero
