#pragma once
// The scope window: two traces of one drive captured on request, plotted on
// two stacked charts, with a cursor read-out, plot colours, metafile export
// and printing. Modeless, made once by the window factory ("Scope") and
// hidden, never destroyed, when closed.
#include <QWidget>
#include <string>
#include <vector>

#include "scope/model/capture_machine.h"

class MainWin;
class QAction;
class QMenu;
class QTimer;

namespace scope {

class ScopeChart;
class ScopeStatusBar;

class Scope : public QWidget, private CaptureHost {
  Q_OBJECT
 public:
  explicit Scope(MainWin& main, QWidget* parent = nullptr);
  ~Scope() override;

  int Node = 0;  // the drive; set by the main window before each showing
  // Where exported metafiles go: the program's folder.
  std::string ProgramFolder;

  // ---- capture
  void HandleCaptureKey(int key);
  void Tick();  // GoCapIt fired
  CaptureMachine& Machine() { return machine_; }
  void SB_PanelClick(int panel);

  // ---- menus
  void TB_Click(int index);
  void UPD_Click(int index);
  void LPD_Click(int index);
  void Color_Click(int element);  // 1 FG, 2 BG, 3 grid, 4 data, 5 marker
  void Print2File_Click();
  void Print2Printer_Click();
  // The pop-up menu is showing (the main window's tick stays quiet meanwhile).
  bool ASPlotVisible() const;

  // ---- cursor read-out; chart is graph or graph2
  void Chart_MouseDown(ScopeChart* chart, int button, QPoint pos);
  void Chart_MouseMove(ScopeChart* chart, Qt::MouseButtons buttons, QPoint pos);
  bool MenuOpen = false;

  QString Caption() const;
  void Form_Resize();

  // ---- controls
  ScopeChart *graph, *graph2;
  ScopeStatusBar* SB;
  QTimer* GoCapIt;
  QMenu *ASPlot, *PlotOpt, *POC, *POP, *ScopeSettings, *UPlot, *LPlot, *TBMenu;
  QAction *ColorFG, *ColorBG, *ColorData, *ColorGrid, *ColorMarker, *Print2File, *Print2Printer, *Scope_CTM;
  std::vector<QAction*> UPD, LPD, TB;
  std::string UpperSuffix, LowerSuffix;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  // CaptureHost
  void Schedule(int ms) override;
  void CancelSchedule() override;
  CaptureChoice Choice() override;
  bool FreeRun() override;
  bool Repeat() override;
  void SetBusy(bool busy) override;
  void StateChanged(CaptureState s) override;
  void Plot(const Trace& upper, const Trace& lower) override;
  bool Ask(const std::function<void()>& request) override;

  void BuildMenus();
  void ApplyColours();
  QAction* Item(QMenu* menu, const char* name, const char* caption);
  static void CheckOnly(std::vector<QAction*>& items, int index);
  static int Checked(const std::vector<QAction*>& items);
  bool WriteMetafile(ScopeChart* chart, const std::string& path);

  MainWin& main_;
  CaptureMachine machine_;
};

// The open scope's pop-up menu is showing; false while no scope is open.
bool ASPlotVisible();

}  // namespace scope
