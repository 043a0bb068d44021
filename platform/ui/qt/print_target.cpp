#include "platform/ui/qt/print_target.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTime>

#include "platform/ui/qt/qt_prompter.h"

namespace talvero {
namespace {

// The printer the user chose in Print Setup, through the real prompter.
class SetupPrinterTarget : public PrintTarget {
 public:
  QPrinter* BeginJob(const QString& title) override {
    QPrinter* printer = nullptr;
    if (auto* qt = dynamic_cast<QtPrompter*>(&ThePrompter())) printer = &qt->Printer();
    else {
      if (!own_) own_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer = own_.get();
    }
    printer->setDocName(title);
    return printer;
  }
  QPageLayout PageLayout() const override {
    if (auto* qt = dynamic_cast<QtPrompter*>(&ThePrompter())) return qt->Printer().pageLayout();
    return own_ ? own_->pageLayout() : PrintTarget::PageLayout();
  }

 private:
  std::unique_ptr<QPrinter> own_;
};

PrintTarget* g_target = nullptr;

}  // namespace

QPageLayout PrintTarget::PageLayout() const {
  return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
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
