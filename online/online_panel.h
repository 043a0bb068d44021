#pragma once
// The online drive panel of the main window: the status timer and the drive
// state it shows, the watch lines, the status and fault views, the run
// controls and the user variables. Made with the window before it loads; it
// fills the window's hooks and connects the panel's controls. Every handler
// carries the name the window's design gives it, so tests call it directly.
#include <QObject>
#include <QPoint>
#include <Qt>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>



class MainWin;
namespace mainwin {
class DriveRead;
}
class QMenu;
class QToolButton;
class QWidget;

class OnlinePanel : public QObject {
  Q_OBJECT
 public:
  explicit OnlinePanel(MainWin& win);

  // ---- status timer and drive state
  void TStat_Timer();
  void UpdateState();
  // IOMenu or WAMenu showing, or the scope's chart menu "ASPlot".
  bool PopUpShowing() const;
  // Every pop-up of the panel opens here; tests put a recorder in its place.
  std::function<void(QMenu* menu, const QPoint& globalPos)> PopUp;

  // ---- watch lines
  void Watch_DblClick();
  void Watch_KeyPress(int keyAscii);
  void WA_Clear_Click();
  void WA_TP_Click() { SetWatchItem("WA_TP"); }
  void WA_TV_Click() { SetWatchItem("WA_TV"); }
  void WA_TPS_Click() { SetWatchItem("WA_TPS"); }
  void WA_TDPS_Click() { SetWatchItem("WA_TDPS"); }
  void WA_MC_Click() { SetWatchItem("WA_MC"); }
  void WA_VEL_Click() { SetWatchItem("WA_VEL"); }
  void WA_FA_Click() { SetWatchItem("WA_FA"); }
  void WA_FP_Click() { SetWatchItem("WA_FP"); }
  void WA_ADC0_Click() { SetWatchItem("WA_ADC0"); }
  void WA_PMC_Click() { SetWatchItem("WA_PMC"); }
  void WA_Arb_Click();
  // One of the predefined items by its menu item's name.
  void SetWatchItem(const std::string& item);
  void WatchPass();

  // ---- status and fault views
  void StatStrip_Click(int previousTab);
  void ShowStatus();
  // The status text as built, lines ended by CR; the label shows line breaks.
  const std::string& StatusText() const { return statusText_; }
  void ShowDiagH();
  void ShowDiagFull();
  void FaultList_DblClick() { ShowDiagFull(); }
  void FaultList_KeyPress(int keyAscii);
  void Mon1_Click();
  // The detail text of each row of FaultList; grows with the rows.
  std::vector<std::string> FaultDetail;

  // ---- I/O tab: lamps, forcing and the input toggle (online_panel_io.cpp)
  std::string INname(int n) const;
  std::string OUTname(int n) const;
  void SetupIOTab();
  void ShowIO();
  // Frame coordinates in pixels; the lamps let the mouse through to their frame.
  void InputsFrame_MouseDown(Qt::MouseButton button, int x, int y) { FrameMouseDown(false, button, x, y); }
  void OutputsFrame_MouseDown(Qt::MouseButton button, int x, int y) { FrameMouseDown(true, button, x, y); }
  void InputsFrame_MouseMove(int x, int y) { FrameMouseMove(false, x, y); }
  void OutputsFrame_MouseMove(int x, int y) { FrameMouseMove(true, x, y); }
  void IO_ForceOFF_Click();
  void IO_ForceON_Click();
  void IO_NoForce_Click();
  void Toggle_Click();
  void Toggle_MouseDown(Qt::MouseButton button);
  void Toggle_MouseMove();
  // The point chosen last: "IN" or "OUT", and its 0-based number.
  std::string IOKind = "IN";
  int IOPoint = 0;
  bool ToggleDefined = false;
  int ToggleIn = 0;

  // ---- run controls
  void BtnRS_Click();
  void BtnPause_Click();
  void Btn1_Click();
  void SWE_ON_Click();
  void SWE_OFF_Click();
  void DriveReset_Click();
  void BrakeAll_Click();
  // The face of a two-faced button: BtnRS 1 run, 0 stop; BtnPause 1 pause, 0 resume.
  static int State(const QToolButton* b);

  // ---- user variables
  void RefreshUV();
  void ShowUV();
  void UV_Select_Click();
  void AddUV_Click();
  void DeleteUV_Click();
  void UV_Change_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // A drive on the line is selected (not an application axis).
  bool DriveSelected() const;
  // Whether the drive at node answers the panel's requests.
  bool Answering(int node) const;

  // One request of the panel to a drive; false when no answer came. It is not
  // sent when the pass was given up or the drive failed earlier in the pass;
  // a drive known to be silent gets one try. Inside a tick window events run
  // before it and between its tries.
  bool Ask(int node, const std::function<void()>& request);
  // Lets window events run between two of the tick's packets; a handler that
  // changed what the tick shows (the selection, a watch slot, the tab, the
  // port) makes the tick give up the rest of its pass.
  void Yield();
  // What a handler between two packets may change under the tick.
  struct View {
    int node, app, tab, watch;
    bool axis, appSelected, program;
    long handle;
    bool operator==(const View&) const = default;
  };
  View CurrentView() const;
  // The requests of one refresh form one pass; nested refreshes join it.
  class Pass {
   public:
    explicit Pass(OnlinePanel& p);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

   private:
    OnlinePanel& p_;
  };
  // wasAnswering: the selected drive answered before the tick began.
  void StatusBarPass(bool wasAnswering);
  // The General and Faults tabs follow the selected drive going silent or coming back.
  void FollowAnswering(bool wasAnswering);
  // Lamps grey and the frames saying so: the drive's I/O is not known.
  void ShowIONotAnswering(int node);
  void ShowStatusNotAnswering(int node);
  void ShowFaultsNotAnswering(int node);
  void MoveStepMarkerTo(int step);
  void SetState(QToolButton* b, int state);
  void SetShown(QWidget* w, bool shown);
  void SetPanel(int i, const std::string& text);
  void MoveStepMarker();
  // The selected line of Watch, -1 when none is.
  int SelectedWatchLine() const;
  void SetWatchLine(int line, const std::string& text);
  std::string SelectedUV() const;
  // The tab says the drive does not answer and fills again when it does.
  void ShowUVNotAnswering(const mainwin::DriveRead& read);
  void ConnectControls();
  void SetupTips();
  void ConnectIO();
  bool IOEvent(QObject* watched, QEvent* e);
  // The family and model prefix of the selected drive; "" for any other selection.
  std::string Family() const;
  std::string Prefix() const;
  // The lamp of a frame under a point, from `from` on; -1 when none.
  int LampAt(bool outputs, int x, int y, int from = 0) const;
  void FrameMouseDown(bool outputs, Qt::MouseButton button, int x, int y);
  void FrameMouseMove(bool outputs, int x, int y);
  // how: a talvero::online::Force. False when a request was not answered or
  // not sent, or nothing could be forced.
  bool ForcePoint(int how, mainwin::DriveRead& read);
  // One force of the IO menu, told on the tab when the drive does not answer.
  void ForceFromMenu(int how);

  MainWin& win_;
  
  bool inTick_ = false;
  int passDepth_ = 0;
  int yieldDepth_ = 0;
  int asked_ = 0;          // requests the tick has made so far
  bool tickInRequest_ = false;  // the tick began between another request's tries
  bool passGivenUp_ = false;
  int watchChanges_ = 0;   // any change of a watch slot
  std::string statusText_;
  // The tooltip text of each control that shows one.
  std::vector<std::pair<QWidget*, std::string>> tips_;
};
