#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include "platform/ui/qt/print_target.h"

namespace {

TEST(PrintTarget, TestJobsBecomeNumberedPdfFiles) {
  QTemporaryDir dir;
  talvero::PdfPrintTarget pdf(dir.path());
  talvero::SetPrintTarget(&pdf);
  for (int pages : {1, 2}) {
    talvero::PrintJob job(QString("Job %1").arg(pages));
    ASSERT_TRUE(job);
    QPainter& p = job.Painter();
    for (int i = 0; i < pages; ++i) {
      if (i) job.Printer()->newPage();
      p.drawText(100, 100, QString("page %1").arg(i + 1));
    }
  }
  talvero::SetPrintTarget(nullptr);
  EXPECT_EQ(pdf.Jobs(), 2);
  EXPECT_EQ(pdf.Titles(), (QStringList{"Job 1", "Job 2"}));
  for (int n : {1, 2}) {
    QFile f(pdf.JobPath(n));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n;
    EXPECT_TRUE(f.read(5) == "%PDF-");
  }
}

TEST(PrintTarget, PrintedDateTimeKeepsTheSeconds) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(talvero::PrintedDateTime({2026, 12, 9, 4, 14, 5, 33}).toStdString(), "12/9/26 2:05:33 PM");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(talvero::PrintedDateTime({2026, 12, 9, 4, 14, 5, 33}).toStdString(), "09.12.26 14:05:33");
  QLocale::setDefault(QLocale::system());
}

}  // namespace
