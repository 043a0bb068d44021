#include "reports/print_app.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "mainwin/drive_read.h"
#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "mainwin/version.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/print_target.h"
#include "platform/ui/qt/window_place.h"
#include "reports/pr.h"
#include "runtime/text.h"
#include "store/applic.h"

namespace reports {
namespace {

QFrame* Rule(QWidget* parent, const char* name) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

PrintApp::PrintApp(MainWin& win, QWidget* parent) : QDialog(parent), win_(win) {
  setObjectName("PrintApp");
  setWindowTitle("Print...");
  VersionText = []() { return mainwin::VersionText(); };
  PSelect = new QListWidget(this);
  PSelect->setObjectName("PSelect");
  PSelect->setSelectionMode(QAbstractItemView::MultiSelection);
  Notice = new QLabel(this);
  Notice->setObjectName("Notice");
  Notice->hide();
  auto button = [this](QPushButton*& b, const char* name, const char* caption) {
    b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
  };
  button(Disp, "Disp", "Display");
  button(DoPrint, "DoPrint", "Print");
  button(SelectAll, "SelectAll", "Select All");
  button(SelectNone, "SelectNone", "Select None");
  button(PrintCancel, "PrintCancel", "Cancel");
  Line1 = Rule(this, "Line1");
  Line2 = Rule(this, "Line2");

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(Disp);
  buttons->addWidget(DoPrint);
  buttons->addWidget(Line1);
  buttons->addWidget(SelectAll);
  buttons->addWidget(SelectNone);
  buttons->addWidget(Line2);
  buttons->addStretch();
  buttons->addWidget(PrintCancel);
  auto* list = new QVBoxLayout;
  list->addWidget(PSelect, 1);
  list->addWidget(Notice);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(list, 1);
  layout->addLayout(buttons);
  resize(440, 320);

  connect(PSelect, &QListWidget::itemSelectionChanged, this, [this]() { PSelect_Click(); });
  connect(Disp, &QPushButton::clicked, this, [this]() { Disp_Click(); });
  connect(DoPrint, &QPushButton::clicked, this, [this]() { DoPrint_Click(); });
  connect(SelectAll, &QPushButton::clicked, this, [this]() { SelectAll_Click(); });
  connect(SelectNone, &QPushButton::clicked, this, [this]() { SelectNone_Click(); });
  connect(PrintCancel, &QPushButton::clicked, this, [this]() { PrintCancel_Click(); });

  // Centred on the screen once, when loaded.
  talvero::CentreOnScreen(*this);
}

PrintApp::~PrintApp() = default;

PR& PrintApp::Report() {
  if (!pr_) pr_ = new PR(this);
  return *pr_;
}

ReportContext PrintApp::Context() {
  ReportContext c;
  c.pr = &Report();
  c.goPrint = [this]() { Report().GoPrint(); };
  c.version = VersionText ? VersionText() : std::string();
  c.dateTime = []() { return talvero::PrintedDateTime(talvero::TheClock().Now()).toStdString(); };
  c.parameters = win_.ParametersRS;
  c.steps = win_.StepsRS;
  c.threads = win_.ThreadsRS;
  c.app = win_.CurApplic;
  c.link = &win_.Link;
  c.node = win_.CurNode;
  c.driveName = win_.GetDriveName();
  c.serialText = win_.SerialandVersion(win_.CurNode, 1);
  c.kernelText = win_.SerialandVersion(win_.CurNode, 2);
  c.driveFamily = win_.NodeTables.FamilyOf(win_.CurNode);
  c.ioNumberBase = win_.IONumberBase;
  c.unitsName = &win_.UnitsName;
  c.transmission = &win_.Transmission;
  c.stepNumbers = &win_.StepNumbers;
  // The drive has one library edit buffer: when the list shows another
  // library program of this drive, it goes back there, so later edits land
  // in the program they were made in.
  c.libraryProgramPrinted = [this](const std::string& printed) {
    MainWin& w = win_;
    if (!w.ProgramViewShown || w.ActiveProgramShown || w.AppSelected || w.CurPgmName.empty()) return;
    if (rt::SameText(rt::Trim(w.CurPgmName), rt::Trim(printed))) return;
    w.Link.LoadTEB(w.CurNode, w.CurPgmName);
  };
  return c;
}

void PrintApp::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Filled once the dialog's own event loop runs: the drive is read with
  // window events let through, and a Cancel or Escape taken before that loop
  // existed would hide the dialog and leave the program in an endless modal wait.
  QTimer::singleShot(0, this, [this]() {
    if (isVisible()) Activate();
  });
}

void PrintApp::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  PSelect->clear();
  for (const std::string& item : items_)
    PSelect->addItem(QString::fromStdString(item));
  PSelect->selectAll();
  PSelect_Click();
}

void PrintApp::Activate() {
  SetItems({});
  Notice->hide();
  // Nothing to act on while the list is being read.
  const std::vector<QWidget*> controls{PSelect, Disp, DoPrint, SelectAll, SelectNone};
  for (QWidget* w : controls) w->setEnabled(false);
  if (win_.AppSelected) FillAppSelections();
  else if (win_.AxisSelected) FillAxisSelections();
  for (QWidget* w : controls) w->setEnabled(true);
  PSelect_Click();
}

void PrintApp::FillAppSelections() {
  ReportContext c = Context();
  SetItems(ReportSections(c).AppSelections());
}

void PrintApp::FillAxisSelections() {
  ReportContext c = Context();
  mainwin::DriveRead read(win_, c.node);
  std::vector<std::string> items;
  // The list read up to a failed request: what came before it is real.
  read.Ask([&] { items = ReportSections(c).AxisSelections(); });
  SetItems(std::move(items));
  if (!read.Failed()) return;
  Notice->setText(QString::fromStdString(read.NotAnswering()));
  Notice->show();
  win_.AwaitAnswer(read.Node(), [d = QPointer<PrintApp>(this)]() {
    if (d && d->isVisible()) d->Activate();
  });
}

void PrintApp::PSelect_Click() { DoPrint->setEnabled(!PSelect->selectedItems().isEmpty()); }
void PrintApp::SelectAll_Click() { PSelect->selectAll(); }
void PrintApp::SelectNone_Click() { PSelect->clearSelection(); }

template <class F>
std::vector<std::string> PrintApp::Process(F&& section) {
  hide();
  win_.MousePointer(11);
  Report().ClearPrintFailed();
  std::vector<std::string> left;
  bool going = true;
  for (int i = 0; i < PSelect->count() && i < int(items_.size()); ++i) {
    if (!PSelect->item(i)->isSelected()) continue;
    if (!going) {
      left.push_back(items_[size_t(i)]);
      continue;
    }
    going = section(items_[size_t(i)]);
    if (Report().PrintFailed()) break;  // told once; the rest would fail alike
  }
  win_.MousePointer(0);
  return left;
}

void PrintApp::ProcessAppSelections() {
  ReportContext c = Context();
  ReportSections sections(c);
  Process([&](const std::string& item) {
    sections.ProcessAppItem(item);
    return true;
  });
}

void PrintApp::ProcessAxisSelections() {
  std::vector<CutSection> cuts;
  std::vector<std::string> left;
  int node = 0;
  {
    mainwin::LongOperation op(win_, win_.CurNode);
    if (!op) return;
    ReportContext c = Context();
    node = c.node = op.Node();
    ReportSections sections(c);
    // One read for the run: once a request has failed all its tries no
    // later section sends anything.
    mainwin::DriveRead read(win_, node);
    left = Process([&](const std::string& item) { return read.Ask([&] { sections.ProcessAxisItem(item); }); });
    cuts = sections.Cuts();
  }
  // Told once for the run, before the report shows; the cut is also noted
  // in the report where its section stops.
  if (!cuts.empty() || !left.empty())
    talvero::ThePrompter().Message(
        {CutMessage(node, cuts, left), "Talvero", talvero::Buttons::Ok, talvero::Icon::Exclamation});
}

void PrintApp::Disp_Click() {
  PR& pr = Report();
  pr.DisplayMode = true;
  pr.Zap();
  if (win_.AppSelected) {
    ProcessAppSelections();
    pr.ShowIt();
  } else if (win_.AxisSelected) {
    ProcessAxisSelections();
    pr.ShowIt();
  }
}

void PrintApp::DoPrint_Click() {
  Report().DisplayMode = false;
  // One command: to a printer each section is a job of its own, in list
  // order; into a file they are all pages of that file.
  talvero::PrintRun run;
  if (win_.AppSelected) ProcessAppSelections();
  else if (win_.AxisSelected) ProcessAxisSelections();
}

}  // namespace reports
