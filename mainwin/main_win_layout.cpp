// The window's layout: computed from its size by the layout rule, run on
// every resize and once more when the resizing has settled.
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QFrame>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "mainwin/main_win.h"
#include "mainwin/model/launchers.h"
#include "mainwin/model/main_layout.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/stat_strip.h"
#include "platform/clock/clock.h"

talvero::WindowMetrics MainWin::Metrics() const {
  talvero::WindowMetrics m;
  const QScreen* sc = screen();
  m.dpi = sc ? sc->logicalDotsPerInchX() : 96;
  const int menuHeight = menuBar()->isVisible() ? menuBar()->height() : menuBar()->sizeHint().height();
  // Before the window manager has framed the window (and on platforms with
  // no frame) the whole outer size is the window's own: the minimum derived
  // from it is then never too small.
  const QRect outer = frameGeometry(), inner = geometry();
  m.frameWidthPx = outer.width() - inner.width();
  m.frameHeightPx = outer.height() - inner.height() + menuHeight;
  m.statusBarHeightPx = statusBar()->isVisible() ? statusBar()->height() : statusBar()->sizeHint().height();
  m.tabRowHeightPx = StatStrip->tabBar()->sizeHint().height();
  return m;
}

namespace {

void Place(QWidget* w, const talvero::PixelRect& r) {
  QRect g = w->geometry();
  if (r.left) g.moveLeft(*r.left);
  if (r.top) g.moveTop(*r.top);
  if (r.width) g.setWidth(std::max(0, *r.width));
  if (r.height) g.setHeight(std::max(0, *r.height));
  w->setGeometry(g);
}

void SetPointSize(QWidget* w, int points) {
  QFont f = w->font();
  if (f.pointSize() == points) return;
  f.setPointSize(points);
  w->setFont(f);
}

}  // namespace

void MainWin::Form_Resize() {
  ResizeFin->start();  // arming it again restarts its interval
  if (isMinimized()) return;
  QWidget* frame = centralWidget();
  if (!frame) return;

  talvero::PixelLayoutInput in;
  in.metrics = Metrics();
  in.clientWidthPx = frame->width();
  in.clientHeightPx = frame->height() + in.metrics.statusBarHeightPx;
  in.statStripVisible = !StatStrip->isHidden();
  in.currentTab = StatStrip->CurrentCaption().toStdString();
  in.visibleInputs = int(std::count_if(StatStrip->IN.begin(), StatStrip->IN.end(),
                                       [](QWidget* w) { return !w->isHidden(); }));
  in.visibleOutputs = int(std::count_if(StatStrip->OUT.begin(), StatStrip->OUT.end(),
                                        [](QWidget* w) { return !w->isHidden(); }));
  in.design = StatStrip->Design(in.metrics.dpi);
  in.textHeightPx = [](int points) {
    QFont f("Arial");
    f.setPointSize(points);
    return QFontMetrics(f).height();
  };
  const talvero::PixelLayout layout = talvero::ComputePixelLayout(in);

  // Fonts first: the list's columns follow its font.
  SetPointSize(Sys, std::max(1, layout.twips.treeFontPt));
  const int treePoints = Sys->font().pointSize();
  for (QWidget* w : {static_cast<QWidget*>(Watch), static_cast<QWidget*>(StatStrip->GS_stat),
                     static_cast<QWidget*>(StatStrip->UV_Select),
                     static_cast<QWidget*>(StatStrip->FaultList)})
    SetPointSize(w, treePoints);
  SetPointSize(EditList, std::max(1, layout.twips.listFontPt));
  if (ComputeLBDataHook) ComputeLBDataHook();

  const int lineEnd = int(layout.twips.lineX2 * in.metrics.dpi / 1440.0 + 0.5);
  Line1->setGeometry(0, 0, lineEnd, 2);
  Line2->setGeometry(0, 2, lineEnd, 2);

  const std::map<std::string, QWidget*> widgets = {
      {"Sys", Sys},           {"Watch", Watch},       {"EditList", EditList}, {"StatStrip", StatStrip},
      {"Prog", Prog},         {"BtnRS", BtnRS},       {"BtnPause", BtnPause}, {"Btn1", Btn1},
      {"ShowScope", ShowScope}, {"Toggle", Toggle},   {"SWE_ON", SWE_ON},     {"SWE_OFF", SWE_OFF},
      {"BrakeAll", BrakeAll}};
  for (const talvero::PixelControl& c : layout.controls) {
    if (!c.container.empty()) continue;
    auto it = widgets.find(c.name);
    if (it != widgets.end()) Place(it->second, c.rect);
  }

  // The shown tab's contents. The rule measures from the strip's corner, tab
  // row included; the controls live on the tab's page below it.
  if (layout.twips.legendFontPt > 0)
    for (QWidget* l : {StatStrip->Label1, StatStrip->Label2, StatStrip->Label3, StatStrip->Label4}) {
      QFont f("Arial");
      f.setPointSize(layout.twips.legendFontPt);
      l->setFont(f);
    }
  for (const talvero::PixelControl& c : layout.controls) {
    if (c.container.empty()) continue;
    QWidget* w = StatStrip->Control(c.name);
    if (!w) continue;
    talvero::PixelRect r = c.rect;
    if (c.container == "StatStrip" && w->parentWidget()) {
      const QPoint page = w->parentWidget()->mapTo(StatStrip, QPoint(0, 0));
      if (r.left) *r.left -= page.x();
      if (r.top) *r.top -= page.y();
    }
    Place(w, r);
  }
}

void MainWin::ResizeFin_Timer() {
  Form_Resize();
  talvero::TheClock().ProcessEvents();
  ResizeFin->stop();
  // A rebuilt tree may no longer hold the node last clicked.
  if (talvero::RebuildViewAfterSettle(ParameterViewShown, EventViewShown) && Sys->Exists(LastNode)) {
    ForceNodeClick = true;
    Sys_NodeClick(LastNode);
    talvero::TheClock().ProcessEvents();
    ForceNodeClick = false;
  }
}

void MainWin::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  Form_Resize();
}
