#include "scope/scope.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTimer>

#include "mainwin/drive_read.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/files/replacing_file.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/print_target.h"
#include "platform/ui/qt/window_factory.h"
#include "platform/ui/qt/window_place.h"
#include "runtime/cstr.h"
#include "runtime/format.h"
#include "scope/model/channels.h"
#include "scope/model/picture_files.h"
#include "scope/scope_chart.h"
#include "scope/scope_status_bar.h"
#include "scope/wmf_writer.h"

namespace scope {
namespace {

constexpr char kTitle[] = "KOVscope";

void Tell(const std::string& text) {
  talvero::ThePrompter().Message({text, kTitle, talvero::Buttons::Ok, talvero::Icon::Exclamation});
}

}  // namespace

Scope::Scope(MainWin& main, QWidget* parent)
    : QWidget(parent, Qt::Window), main_(main), machine_(main.Link, *this) {
  setObjectName("Scope");
  ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
  graph = new ScopeChart(this);
  graph->setObjectName("graph");
  graph2 = new ScopeChart(this);
  graph2->setObjectName("graph2");
  SB = new ScopeStatusBar(this);
  GoCapIt = new QTimer(this);
  GoCapIt->setSingleShot(true);
  GoCapIt->setTimerType(Qt::PreciseTimer);
  connect(GoCapIt, &QTimer::timeout, this, [this]() { Tick(); });
  connect(SB, &ScopeStatusBar::PanelClick, this, [this](int panel) { SB_PanelClick(panel); });
  for (ScopeChart* c : {graph, graph2}) {
    connect(c, &ScopeChart::KeyPressed, this, [this](int key) { HandleCaptureKey(key); });
    connect(c, &ScopeChart::MouseDown, this, [this, c](int button, QPoint pos) { Chart_MouseDown(c, button, pos); });
    connect(c, &ScopeChart::MouseMoved, this,
            [this, c](Qt::MouseButtons buttons, QPoint pos) { Chart_MouseMove(c, buttons, pos); });
  }
  BuildMenus();
  SB->SetText(4, PanelText(CaptureState::Idle));
  SB->SetText(5, "Free Run");
  SB->SetText(6, "1-Shot");
  // Load: laid out, centred, colours from the main window's table.
  resize(800, 600);
  talvero::CentreOnScreen(*this);
  Form_Resize();
  ApplyColours();
  setWindowTitle(Caption());
  setFocusPolicy(Qt::StrongFocus);
}

Scope::~Scope() {
  GoCapIt->stop();
}

QAction* Scope::Item(QMenu* menu, const char* name, const char* caption) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  return a;
}

void Scope::BuildMenus() {
  ASPlot = new QMenu("KOVScope", this);
  ASPlot->setObjectName("ASPlot");
  PlotOpt = ASPlot->addMenu("Plot Options");
  PlotOpt->setObjectName("PlotOpt");
  POC = PlotOpt->addMenu("Color");
  POC->setObjectName("POC");
  ColorFG = Item(POC, "ColorFG", "Foreground...");
  ColorBG = Item(POC, "ColorBG", "Background...");
  ColorData = Item(POC, "ColorData", "Data...");
  ColorGrid = Item(POC, "ColorGrid", "Grid...");
  ColorMarker = Item(POC, "ColorMarker", "Marker...");
  const std::pair<QAction*, int> colours[] = {
      {ColorFG, kForeground}, {ColorBG, kBackground}, {ColorData, kData}, {ColorGrid, kGrid}, {ColorMarker, kMarker}};
  for (auto [item, element] : colours)
    connect(item, &QAction::triggered, this, [this, element = element]() { Color_Click(element); });
  POP = PlotOpt->addMenu("Print");
  POP->setObjectName("POP");
  Print2File = Item(POP, "Print2File", "to File...");
  Print2Printer = Item(POP, "Print2Printer", "to Printer...");
  connect(Print2File, &QAction::triggered, this, [this]() { Print2File_Click(); });
  connect(Print2Printer, &QAction::triggered, this, [this]() { Print2Printer_Click(); });

  ScopeSettings = ASPlot->addMenu("Settings");
  ScopeSettings->setObjectName("ScopeSettings");
  UPlot = ScopeSettings->addMenu("Upper Plot");
  UPlot->setObjectName("UPlot");
  LPlot = ScopeSettings->addMenu("Lower Plot");
  LPlot->setObjectName("LPlot");
  TBMenu = ScopeSettings->addMenu("Timebase (sec)");
  TBMenu->setObjectName("TBMenu");
  auto array = [this](QMenu* menu, const char* name, const std::vector<std::string>& captions,
                      std::vector<QAction*>& items, void (Scope::*click)(int)) {
    for (size_t i = 0; i < captions.size(); ++i) {
      QAction* a = menu->addAction(QString::fromStdString(captions[i]));
      a->setObjectName(QString("%1(%2)").arg(name).arg(i));
      a->setCheckable(true);
      connect(a, &QAction::triggered, this, [this, click, i]() { (this->*click)(int(i)); });
      items.push_back(a);
    }
    items[0]->setChecked(true);
  };
  std::vector<std::string> channels;
  for (auto c : kChannelCaptions) channels.emplace_back(c);
  array(UPlot, "UPD", channels, UPD, &Scope::UPD_Click);
  array(LPlot, "LPD", channels, LPD, &Scope::LPD_Click);
  array(TBMenu, "TB", SplitList(kTimebaseList), TB, &Scope::TB_Click);
  Scope_CTM = Item(ASPlot, "Scope_CTM", "Hide this Menu");
}

void Scope::ApplyColours() {
  for (ScopeChart* c : {graph, graph2})
    for (int element = 1; element <= 5; ++element) c->SetColour(element, uint32_t(main_.PCol(element)));
}

QString Scope::Caption() const { return QString("KOVscope (Node %1)").arg(Node); }

void Scope::paintEvent(QPaintEvent*) {
  setWindowTitle(Caption());
  QPainter p(this);
  p.fillRect(rect(), palette().window());
}

void Scope::showEvent(QShowEvent* e) {
  setWindowTitle(Caption());  // the node may have changed while hidden
  QWidget::showEvent(e);
}

void Scope::Form_Resize() {
  const int w = width();
  const int sb = SB->height();
  // The height rule counts the window's frame, as the outer size does.
  const int outer = std::max(height(), frameGeometry().height());
  const int h = std::max(0, outer - 2 * sb);
  graph->setGeometry(0, 0, w, h / 2);
  graph2->setGeometry(0, graph->height(), w, graph->height());
  SB->setGeometry(0, height() - sb, w, sb);
}

void Scope::resizeEvent(QResizeEvent*) { Form_Resize(); }

void Scope::keyPressEvent(QKeyEvent* e) {
  if (int k = CaptureKeyCode(e->key())) HandleCaptureKey(k);
  else QWidget::keyPressEvent(e);
}

// ---- capture

void Scope::HandleCaptureKey(int key) {
  if (machine_.State() == CaptureState::Idle) machine_.SetNode(Node);
  machine_.HandleCaptureKey(key);
}

void Scope::Tick() {
  GoCapIt->stop();
  machine_.Tick();
}

void Scope::SB_PanelClick(int panel) {
  if (!SB->PanelEnabled(panel)) return;
  if (panel == 4) {
    const QString t = SB->Text(4);
    if (t == "Capture") HandleCaptureKey(13);
    else if (t == "Cancel") HandleCaptureKey(27);
  } else if (panel == 5) {
    SB->SetText(5, SB->Text(5) == "Free Run" ? "Triggered" : "Free Run");
  } else if (panel == 6) {
    SB->SetText(6, SB->Text(6) == "1-Shot" ? "Repeat" : "1-Shot");
  }
}

void Scope::Schedule(int ms) { GoCapIt->start(ms); }
void Scope::CancelSchedule() { GoCapIt->stop(); }

int Scope::Checked(const std::vector<QAction*>& items) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i]->isChecked()) return int(i);
  return -1;
}

CaptureChoice Scope::Choice() {
  CaptureChoice c;
  const int tb = Checked(TB);
  if (tb >= 0) c.timebaseCaption = TB[tb]->text().toStdString();
  c.upper = std::max(0, Checked(UPD));
  c.lower = std::max(0, Checked(LPD));
  return c;
}

bool Scope::FreeRun() { return SB->Text(5) == "Free Run"; }
bool Scope::Repeat() { return SB->Text(6) == "Repeat"; }

void Scope::SetBusy(bool busy) {
  ScopeSettings->setEnabled(!busy);
  ScopeSettings->menuAction()->setEnabled(!busy);
  SB->SetPanelEnabled(5, !busy);
  SB->SetPanelEnabled(6, !busy);
}

void Scope::StateChanged(CaptureState s) { SB->SetText(4, PanelText(s)); }

void Scope::Plot(const Trace& upper, const Trace& lower) {
  const std::pair<ScopeChart*, const Trace*> traces[] = {{graph, &upper}, {graph2, &lower}};
  for (auto [chart, t] : traces) {
    chart->SetBatched(true);
    chart->SetTitle(QString::fromStdString(t->title));
    chart->SetTrace(t->x, t->y, t->seconds);
    chart->SetBatched(false);
  }
  UpperSuffix = upper.suffix;
  LowerSuffix = lower.suffix;
}

bool Scope::Ask(const std::function<void()>& request) {
  // Shared with the status tick: a drive found silent gets one try.
  mainwin::DriveRead read(main_, machine_.Node());
  return read.Ask(request);
}

// ---- menus

void Scope::CheckOnly(std::vector<QAction*>& items, int index) {
  for (QAction* a : items) a->setChecked(false);
  if (index >= 0 && index < int(items.size())) items[index]->setChecked(true);
}

void Scope::TB_Click(int index) { CheckOnly(TB, index); }
void Scope::UPD_Click(int index) { CheckOnly(UPD, index); }
void Scope::LPD_Click(int index) { CheckOnly(LPD, index); }

bool Scope::ASPlotVisible() const { return ASPlot->isVisible(); }

void Scope::Color_Click(int element) {
  const uint32_t preset = graph->Colour(element);
  const uint32_t colour = talvero::ThePrompter().PickColour(preset).value_or(preset) & 0xFFFFFF;
  graph->SetColour(element, colour);
  graph2->SetColour(element, colour);
  main_.PSCol(element, int32_t(colour));
}

bool Scope::WriteMetafile(ScopeChart* chart, const std::string& path) {
  const WmfUnits units = UnitsForPicture(chart->width(), chart->height(), chart->logicalDpiX(), chart->logicalDpiY());
  WmfWriter wmf(units);
  {
    QPainter p(&wmf);
    chart->Render(p, QRect(0, 0, units.width, units.height));
  }
  const std::vector<uint8_t> bytes = wmf.Bytes();
  const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (const std::optional<std::string> why = talvero::WriteWholeFile(path, data)) {
    Tell("Unable to write " + path + ": " + *why);
    return false;
  }
  return true;
}

void Scope::Print2File_Click() {
  const auto names = MetafileNames(ProgramFolder, talvero::TheClock().Now(), main_.GetDriveNameByNode(Node),
                                   [](const std::string& p) { return QFileInfo::exists(QString::fromStdString(p)); });
  if (WriteMetafile(graph, names.first)) WriteMetafile(graph2, names.second);
}

void Scope::Print2Printer_Click() {
  const QString upperTitle = graph->Title(), lowerTitle = graph2->Title();
  if (!SB->Text(1).isEmpty()) {
    graph->SetTitle(upperTitle + "   [" + SB->Text(1) + "," + SB->Text(2) + "]");
    graph2->SetTitle(lowerTitle + "   [" + SB->Text(1) + "," + SB->Text(3) + "]");
  }
  const std::string name = main_.GetDriveNameByNode(Node);
  {
    talvero::PrintJob job(kTitle);
    if (!job) {
      Tell(job.Failure());
    } else {
      QPrinter* printer = job.Printer();
      QPainter& p = job.Painter();
      const PageLayout page = LayoutPage(printer->width(), printer->height());
      QFont f("Liberation Sans");
      f.setPointSize(10);
      p.setFont(f);
      p.setPen(Qt::black);
      const QString header = QString::fromStdString(name) + "       " +
                             talvero::PrintedDateTime(talvero::TheClock().Now());
      const int x = printer->width() / 2 - p.fontMetrics().horizontalAdvance(header) / 2;
      p.drawText(x, page.headerY + p.fontMetrics().ascent(), header);
      graph->Render(p, QRect(page.mx, page.my, page.width, page.height));
      graph2->Render(p, QRect(page.mx, page.my + page.height, page.width, page.height));
    }
  }
  graph->SetTitle(upperTitle);
  graph2->SetTitle(lowerTitle);
}

// ---- cursor read-out

void Scope::Chart_MouseDown(ScopeChart* chart, int button, QPoint pos) {
  if (button == 1) {
    MenuOpen = true;
    ASPlot->exec(chart->mapToGlobal(pos));
    graph->Redraw();
    graph2->Redraw();
    MenuOpen = false;
  } else if (button == 4) {
    HandleCaptureKey(13);
  }
}

void Scope::Chart_MouseMove(ScopeChart* chart, Qt::MouseButtons buttons, QPoint pos) {
  if (MenuOpen || buttons != Qt::NoButton) return;
  const auto at = chart->PixelToData(pos);
  if (!at) {
    for (int i = 1; i <= 3; ++i) SB->SetText(i, "");
    return;
  }
  graph->MoveMarker(at->x);
  graph2->MoveMarker(at->x);
  const int k = chart->Model().Nearest(at->x);
  if (k < 0) {
    for (int i = 1; i <= 3; ++i) SB->SetText(i, "");
    return;
  }
  const bool upper = chart == graph;
  ScopeChart* other = upper ? graph2 : graph;
  const std::string& ownSuffix = upper ? UpperSuffix : LowerSuffix;
  const std::string& otherSuffix = upper ? LowerSuffix : UpperSuffix;
  SB->SetText(1, QString::fromStdString(rt::Format(chart->Model().X()[k], "#0.###")));
  SB->SetText(upper ? 2 : 3, QString::fromStdString(rt::CStrSingle(float(chart->Model().Y()[k])) + ownSuffix));
  const auto& oy = other->Model().Y();
  SB->SetText(upper ? 3 : 2, k < int(oy.size()) ? QString::fromStdString(rt::CStrSingle(float(oy[k])) + otherSuffix)
                                                 : QString());
}

// ---- closing

void Scope::closeEvent(QCloseEvent* e) {
  if (machine_.State() != CaptureState::Idle) {
    e->ignore();
    return;
  }
  e->accept();
  main_.ScopeOpen = false;
  SB->SetText(6, "1-Shot");
}

void Scope::hideEvent(QHideEvent* e) {
  // Hidden by the program (its exit) while capturing: stop quietly.
  if (!e->spontaneous() && machine_.State() != CaptureState::Idle) machine_.Abort();
  QWidget::hideEvent(e);
}

bool ASPlotVisible() {
  auto* s = qobject_cast<Scope*>(talvero::TheWindowFactory().Existing("Scope"));
  return s && s->isVisible() && s->ASPlotVisible();
}

}  // namespace scope
