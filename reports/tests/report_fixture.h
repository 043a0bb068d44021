#pragma once
// The real main window over simulated drives with the reports installed,
// the date, version and locale fixed, and printing into numbered PDFs.
#include <QEvent>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>

#include "mainwin/tests/sim_window_fixture.h"
#include "platform/ui/qt/print_target.h"
#include "platform/ui/qt/window_factory.h"
#include "reports/install.h"
#include "reports/pr.h"
#include "reports/print_app.h"

// Runs a function each time the watched window is shown.
class OnShow : public QObject {
 public:
  explicit OnShow(std::function<void()> f) : f_(std::move(f)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Show) f_();
    return false;
  }

 private:
  std::function<void()> f_;
};

class ReportTest : public SimWindowTest {
 protected:
  void SetUp() override {
    SimWindowTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    printer = std::make_unique<talvero::PdfPrintTarget>(pdfDir.path());
    talvero::SetPrintTarget(printer.get());
  }
  void TearDown() override {
    talvero::SetPrintTarget(nullptr);
    SimWindowTest::TearDown();
  }
  void Install(MainWin& w) override { reports::Install(w); }

  reports::PrintApp& Dialog() {
    auto* d = qobject_cast<reports::PrintApp*>(talvero::TheWindowFactory().Window("PrintApp"));
    d->VersionText = []() { return std::string("Version 3.0 Build 7"); };
    return *d;
  }
  reports::PR& Viewer() { return Dialog().Report(); }

  // The list rebuilt as a showing does, then only these items selected.
  void Choose(const std::vector<std::string>& items) {
    reports::PrintApp& d = Dialog();
    d.Activate();
    d.SelectNone_Click();
    for (int i = 0; i < d.PSelect->count(); ++i)
      for (const std::string& item : items)
        if (d.Items()[size_t(i)] == item) d.PSelect->item(i)->setSelected(true);
  }
  // "Display" with the report window closed as soon as it shows; whenShown
  // runs while it is up. The document's RTF comes back.
  std::string Display(std::function<void(reports::PR&)> whenShown = {}) {
    reports::PR& pr = Viewer();
    bool shown = false;
    OnShow closer([&]() {
      QTimer::singleShot(0, &pr, [&]() {
        shown = pr.isVisible();
        if (whenShown) whenShown(pr);
        pr.done(0);
      });
    });
    pr.installEventFilter(&closer);
    Dialog().Disp_Click();
    pr.removeEventFilter(&closer);
    EXPECT_TRUE(shown) << "the report window was not shown";
    return pr.Text();
  }

  QTemporaryDir pdfDir;
  std::unique_ptr<talvero::PdfPrintTarget> printer;
};
