#include "platform/ui/qt/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/ui/qt/print_target.h"

namespace talvero {
namespace {

// Runs act on the first modal window that appears, from inside its own loop.
void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act]() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    timer->stop();
    timer->deleteLater();
    act(w);
  });
  timer->start();
}

// Chooses name in dir on the file dialog that opens, after look has read it.
void WhenFileDialog(const QString& dir, const QString& name, std::function<void(QFileDialog*)> look) {
  WhenModal([dir, name, look](QWidget* w) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(fd, nullptr);
    look(fd);
    fd->setDirectory(dir);
    fd->selectFile(name);
    static_cast<QDialog*>(fd)->accept();
  });
}

struct BoxCase {
  Buttons buttons;
  QMessageBox::StandardButton press;  // NoButton = close with Escape
  Answer expected;
};

TEST(QtPrompter, MessageBoxAnswersTheButtonPressed) {
  const BoxCase cases[] = {
      {Buttons::Ok, QMessageBox::Ok, Answer::Ok},
      {Buttons::OkCancel, QMessageBox::Cancel, Answer::Cancel},
      {Buttons::OkCancel, QMessageBox::Ok, Answer::Ok},
      {Buttons::YesNo, QMessageBox::No, Answer::No},
      {Buttons::YesNoCancel, QMessageBox::Yes, Answer::Yes},
      {Buttons::RetryCancel, QMessageBox::Retry, Answer::Retry},
      {Buttons::AbortRetryIgnore, QMessageBox::Ignore, Answer::Ignore},
      {Buttons::OkCancel, QMessageBox::NoButton, Answer::Cancel},
      {Buttons::Ok, QMessageBox::NoButton, Answer::Ok},
  };
  QtPrompter p;
  for (const BoxCase& c : cases) {
    QString seenText, seenTitle;
    Qt::TextFormat format = Qt::AutoText;
    WhenModal([&](QWidget* w) {
      auto* mb = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(mb, nullptr);
      seenText = mb->text();
      seenTitle = mb->windowTitle();
      format = mb->textFormat();
      if (c.press == QMessageBox::NoButton) mb->reject();
      else mb->button(c.press)->click();
    });
    Answer a = p.Message({"<b>Node 5</b> & co", "Error!", c.buttons, Icon::Critical, 0});
    EXPECT_EQ(a, c.expected) << int(c.buttons) << " " << int(c.press);
    EXPECT_EQ(seenText, "<b>Node 5</b> & co");
    EXPECT_EQ(seenTitle, "Error!");
    EXPECT_EQ(format, Qt::PlainText);
  }
}

TEST(QtPrompter, MessageAndInputBoxesAreAtLeastAsWideAsTheirWholeTitle) {
  const char* titles[] = {"Talvero", "IRMS: Out of range....", "Delete User Variable...", "New Application...",
                          "Talvero is already open!", "New Application Axis Configuration and Settings..."};
  QtPrompter p;
  for (bool input : {false, true}) {
    for (const char* title : titles) {
      SCOPED_TRACE(std::string(input ? "input " : "message ") + title);
      int width = 0, needed = 0;
      WhenModal([&](QWidget* w) {
        // The title in bold, with room for the title bar's icon and its three
        // buttons (each a bold line high with padding), inside the box's margins.
        QFont bold = w->font();
        bold.setBold(true);
        const QFontMetrics fm(bold);
        const QMargins m = w->layout()->contentsMargins();
        needed = fm.horizontalAdvance(QString::fromUtf8(title)) + 4 * (fm.height() + 8) + 16 + m.left() + m.right();
        width = w->frameGeometry().width();
        static_cast<QDialog*>(w)->reject();
      });
      if (input) p.Input("Name?", title, "");
      else p.Message({"OK", title});
      EXPECT_GE(width, needed);
    }
  }
}

TEST(QtPrompter, InputReturnsTextOrNothingOnCancel) {
  QtPrompter p;
  for (bool accept : {true, false}) {
    WhenModal([&](QWidget* w) {
      auto* dlg = qobject_cast<QInputDialog*>(w);
      ASSERT_NE(dlg, nullptr);
      EXPECT_EQ(dlg->labelText(), "Name of new axis:");
      EXPECT_EQ(dlg->textValue(), "X");
      dlg->setTextValue("Lift 2");
      accept ? dlg->accept() : dlg->reject();
    });
    std::optional<std::string> r = p.Input("Name of new axis:", "New Axis...", "X");
    if (accept) EXPECT_EQ(r, std::optional<std::string>("Lift 2"));
    else EXPECT_FALSE(r.has_value());
  }
}

TEST(QtPrompter, SaveDialogAddsDefaultExtensionAndOffersFilters) {
  QTemporaryDir dir;
  QtPrompter p;
  QStringList filters;
  WhenFileDialog(dir.path(), "report", [&](QFileDialog* fd) { filters = fd->nameFilters(); });
  FileDialog d;
  d.title = "Save report as...";
  d.filter = "Reports (*.RTF)|*.RTF";
  d.defaultExt = "RTF";
  std::optional<std::string> r = p.SaveFile(d);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, (dir.path() + "/report.RTF").toStdString());
  EXPECT_EQ(filters, QStringList{"Reports (*.RTF *.rtf)"});
}

TEST(QtPrompter, ColoursUseRedInTheLowByte) {
  QtPrompter p;
  QColor initial;
  WhenModal([&](QWidget* w) {
    auto* cd = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(cd, nullptr);
    initial = cd->currentColor();
    cd->setCurrentColor(QColor(1, 2, 3));
    cd->accept();
  });
  std::optional<uint32_t> c = p.PickColour(9639167);  // red 255, green 20, blue 147
  EXPECT_EQ(initial, QColor(255, 20, 147));
  EXPECT_EQ(c, std::optional<uint32_t>(1u | (2u << 8) | (3u << 16)));

  WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(p.PickColour(255).has_value());
}

TEST(QtPrompter, PrinterSetupIsFalseWhenCancelled) {
  QtPrompter p;
  bool sawDialog = false;
  WhenModal([&](QWidget* w) {
    sawDialog = qobject_cast<QDialog*>(w) != nullptr;
    qobject_cast<QDialog*>(w)->reject();
  });
  EXPECT_FALSE(p.PrinterSetup());
  EXPECT_TRUE(sawDialog);
}

// Print Setup as a user does it: "Print to File (PDF)" and a file name.
void WhenPrintSetup(const QString& file) {
  WhenModal([file](QWidget* w) {
    auto* printers = w->findChild<QComboBox*>("printers");
    auto* name = w->findChild<QLineEdit*>("filename");
    ASSERT_NE(printers, nullptr);
    ASSERT_NE(name, nullptr);
    printers->setCurrentIndex(printers->findText("Print to File (PDF)"));
    name->setText(file);
    qobject_cast<QDialog*>(w)->accept();
  });
}

std::optional<QString> Tool(const QString& tool, const QStringList& args) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
  QProcess p;
  p.start(tool, args);
  p.waitForFinished(20000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// A print that fails leaves the printer ready for the next set-up and job:
// with nowhere to print, and with a file that cannot be made.
TEST(QtPrompter, AFailedPrintLeavesThePrinterReadyForTheNextSetupAndJob) {
  QTemporaryDir dir;
  QtPrompter p;
  const QString cannot = dir.path() + "/missing/folder/first.pdf";
  for (const QString& first : {QString(), cannot}) {
    SCOPED_TRACE(first.toStdString());
    SetupPrinter().setOutputFormat(QPrinter::NativeFormat);
    SetupPrinter().setPrinterName("");
    if (!first.isEmpty()) SetupPrinter().setOutputFileName(first);
    {
      PrintJob job("first");
      EXPECT_FALSE(job);
      EXPECT_EQ(job.Failure(), first.isEmpty() ? std::string(kNoPrinterText)
                                               : "Unable to print on " + first.toStdString() +
                                                     ": the print job could not start.");
    }
    const QString file = dir.path() + QString("/after-%1.pdf").arg(first.isEmpty() ? "none" : "broken");
    WhenPrintSetup(file);
    ASSERT_TRUE(p.PrinterSetup());
    EXPECT_EQ(SetupPrinter().outputFileName(), file) << "the set-up was taken";
    {
      PrintJob job("second");
      ASSERT_TRUE(job) << job.Failure();
      job.Painter().drawText(200, 200, "after the failure");
    }
    const std::optional<QString> info = Tool("pdfinfo", {file});
    if (!info) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) not installed";
    EXPECT_TRUE(info->contains(QRegularExpression("Pages:\\s+1\\n"))) << info->toStdString();
    EXPECT_TRUE(Tool("pdftotext", {file, "-"})->contains("after the failure"));
  }
  SetupPrinter().setOutputFileName("");
}

// Jobs of one run into a file are pages of that file, in order; each job
// alone replaces it.
TEST(QtPrompter, JobsOfOneRunShareTheFileTheyPrintTo) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/run.pdf";
  SetupPrinter().setOutputFormat(QPrinter::PdfFormat);
  SetupPrinter().setOutputFileName(file);
  {
    PrintRun run;
    for (const char* section : {"alpha", "beta", "gamma"}) {
      PrintJob job(section);
      ASSERT_TRUE(job) << job.Failure();
      job.Painter().drawText(200, 200, section);
    }
  }
  const std::optional<QString> info = Tool("pdfinfo", {file});
  if (!info) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) not installed";
  EXPECT_TRUE(info->contains(QRegularExpression("Pages:\\s+3\\n"))) << info->toStdString();
  const QStringList pages = Tool("pdftotext", {file, "-"})->split('\f');
  ASSERT_GE(pages.size(), 3);
  EXPECT_EQ(pages[0].trimmed(), "alpha");
  EXPECT_EQ(pages[1].trimmed(), "beta");
  EXPECT_EQ(pages[2].trimmed(), "gamma");
  {
    PrintJob job("alone");
    ASSERT_TRUE(job);
    job.Painter().drawText(200, 200, "alone");
  }
  EXPECT_EQ(Tool("pdftotext", {file, "-"})->trimmed(), "alone");
  SetupPrinter().setOutputFileName("");
  SetupPrinter().setOutputFormat(QPrinter::NativeFormat);
}

TEST(QtPrompter, OpenDialogStartsOnTheChosenFilter) {
  QTemporaryDir dir;
  QFile f(dir.path() + "/line3.app");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  QtPrompter p;
  QString filter;
  WhenFileDialog(dir.path(), "line3.app", [&](QFileDialog* fd) { filter = fd->selectedNameFilter(); });
  FileDialog d;
  d.title = "Restore application from...";
  d.filter = "Applications (*.APP)|*.APP|All files (*.*)|*.*";
  d.filterIndex = 2;
  d.fileName = "*.APP";
  d.mustExist = true;
  std::optional<std::string> r = p.OpenFile(d);
  EXPECT_EQ(filter, "All files (*.*)");
  EXPECT_EQ(r, std::optional<std::string>((dir.path() + "/line3.app").toStdString()));
}

}  // namespace
}  // namespace talvero
