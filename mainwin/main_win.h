#pragma once
// The start window: it lives for the whole run, owns the link, the library
// and the open applications, and publishes the selection every other window
// reads. Later subsystems fill in behaviour through the hooks below.
#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "link/isp.h"
#include "mainwin/drive_line.h"
#include "mainwin/edit_list.h"
#include "mainwin/model/drive_answers.h"
#include "mainwin/model/context_menus.h"
#include "mainwin/model/main_layout.h"
#include "mainwin/model/node_tables.h"
#include "mainwin/model/watch_slot.h"
#include "mainwin/shared_services.h"
#include "mainwin/startup_settings.h"
#include "mainwin/step_images.h"

class QAction;
class QPoint;
class QFrame;
class QListWidget;
class QMenu;
class QProgressBar;
class QLabel;
class QTimer;
class QToolButton;
class EditListBox;
class QtSysTree;
class StatStrip;
class Splash;
class POP;
class QHelp;
class InstanceLock;
class IspLine;
class Applic;
class LibraryDatabase;
namespace mainwin {
class LongOperation;
}
namespace talvero::dao {
class Database;
class Recordset;
}

// What the main window is given. The program passes the user's settings and
// leaves the rest empty; tests point them at their own.
struct MainWinEnv {
  mainwin::SettingsIO settings;
  DriveLine* line = nullptr;  // nullptr = the window's own link
  std::string libraryPath;    // "" = "KOVdata.KOV" beside the program
  std::string lockPath;       // "" = the user's default
  std::string listControlPath;  // "" = libtivole32.so beside the program
};

class MainWin : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWin(MainWinEnv env, QWidget* parent = nullptr);
  ~MainWin() override;

  // ---- start-up and exit
  // The whole start-up; false when the program must end at once: it cannot
  // run, or a signal asked it to end (ExitStatus 0, the window ended).
  bool Form_Load(const std::string& commandLine);
  // The program's exit status after Form_Load refused: not 0 when it cannot run.
  int ExitStatus = 0;
  // False when the program cannot run (the library did not open).
  bool InitializeStuff(const std::string& commandLine);
  void InitOldApps();
  void Form_Activate();
  void Form_Deactivate();
  // The exit sequence; runs once, however the program ends.
  void Form_Terminate();
  void File_Exit_Click();

  // ---- port menu and drive search
  void PortProbe();
  void COM__Click(int index);
  void COM_OL_Click();
  void RefreshTree();
  void RefreshAxisLibrary(int node);
  std::string SerialandVersion(int node, int which) const;
  // "&Refresh Application View": a new search, then the drives root selected.
  void SpRef_Click();
  // The open line went away (the link has closed it): the user is told once,
  // naming port and device, and the program goes off-line. Runs from the
  // event loop after the link noticed, and after any long operation ended.
  void LineGone();
  // The port the link has open, 0 when off-line.
  int OpenPortNumber() const { return openPort_; }

  // ---- shared services
  int32_t PCol(int i) const { return colours_.PCol(i); }
  void PSCol(int i, int32_t colour) { colours_.PSCol(i, colour); }
  static std::string Clean(const std::string& path) { return mainwin::Clean(path); }
  // The node services answer "" / False for a node outside 0..31.
  std::string GetDriveName() const { return GetDriveNameByNode(CurNode); }
  std::string GetDriveNameByNode(int n) const;
  bool AxisTypeMatch(const std::string& codes, int node) const;
  bool AxisIsDumb() const;

  // ---- tree selection
  virtual void Sys_NodeClick(const std::string& key);
  // Checks a program node's new name; Cancel keeps the old text, otherwise
  // the node takes NewString (the name as stored).
  void Sys_AfterLabelEdit(bool& Cancel, std::string& NewString);
  // The space key opens the selected node's menu, as the right button does.
  void Sys_KeyPress(int KeyAscii);
  void Sys_MouseDown(int Button, int Shift, int X, int Y);
  // Puts the selected program node into edit mode (LE_Rename, PR_Rename).
  void StartRename();
  // The tree's pop-up menu now open, nullptr when none is.
  QMenu* ShownContextMenu() const;

  // ---- what later subsystems fill in; each does nothing until set
  void UpdateState() { if (UpdateStateHook) UpdateStateHook(); }
  void StatStrip_Click(int previousTab) { if (StatStripClickHook) StatStripClickHook(previousTab); }
  void ShowStatus() { if (ShowStatusHook) ShowStatusHook(); }
  void TStat_Timer() { if (TStatTickHook) TStatTickHook(); }
  std::function<void()> UpdateStateHook;
  std::function<void(int previousTab)> StatStripClickHook;
  std::function<void()> ShowStatusHook;
  std::function<void()> TStatTickHook;
  std::function<void()> EditStepInitHook;           // the step editor's lists
  // The list's views; each sets its own flag (ParameterViewShown, ...).
  std::function<void(const std::string& key)> EditParametersHook;  // EditParameters(key)
  std::function<void()> EditPgmHook;                               // EditPgm
  std::function<void()> ReadEventsHook;                            // ThreadsMod.ReadEvents
  std::function<void()> ComputeLBDataHook;  // the list's columns for a new font
  // Context menu items whose commands belong to other windows, by item name,
  // and the copy targets chosen in their submenus.
  std::function<void(const std::string& item)> MenuCommandHook;
  std::function<void(const std::string& item, const talvero::CopyTarget& target)> CopyTargetHook;
  // The neighbours' windows open through the window factory under the names
  // "AxisSetup", "StepperSetup", "IOConfig", "Tune", "Scope" and "PrintApp";
  // these prepare them before they are shown.
  std::function<void()> IOConfigLoadHook;     // IOConfig.Load_IOCW
  std::function<void()> TuneFormStartHook;    // Tune.Form_Start
  std::function<void(int node)> ScopeNodeHook;  // Scope.Node

  // ---- File menu
  void File_NewApp_Click();
  void File_OpenApp_Click();
  void File_CloseApp_Click();
  void File_Print_Click();
  void File_PrintSetup_Click();

  // ---- application and axis menus
  void AP_Close_Click();
  // A new axis of the family (code) in the selected application.
  void NewAxis(const std::string& family);
  void AX_Del_Click();

  // ---- launchers
  void SetupWiz_Axis_Click();
  void SetupWiz_IO_Click();
  void SetupWiz_T_Click();
  void ShowScope_Click();
  void SpStepNumbers_Click();
  void GS_stat_Click() { ShowStatus(); }

  // ---- layout
  void Form_Resize();
  void ResizeFin_Timer();

  // ---- applications
  // Opens the file into the slot that has it or the first free one, shows
  // its branch and selects it. False when nothing was opened.
  bool OpenAnApp(const std::string& path);
  // An application written by the earlier program, converted in its place
  // after one question. False when it was refused, declined or failed.
  bool ConvertLegacyApp(const std::string& path);
  void AddAppBranch(int slot);
  // Parameter access on the selected application axis. Internal_write
  // answers whether the application stored the value.
  std::string Internal_read(const std::string& name);
  std::string Internal_read_string(const std::string& name);
  bool Internal_write(const std::string& name, const std::string& value);

  // The picture list box library the window's lists load.
  std::string ListControlPath() const;

  // ---- long drive operations (mainwin/long_operation.h)
  // The one running now, nullptr when none is.
  mainwin::LongOperation* RunningOperation() const { return longOp_; }
  // Form_Load went through and the window has not ended yet.
  bool Loaded() const { return loaded_ && !terminated_; }
  // Form_Load runs (or has yet to): it ends the program itself when asked to.
  bool Starting() const { return !loaded_ && !terminated_; }
  // A signal asks the program to end: the search and a long operation stop
  // at their next request, and a start under way ends at its next step, the
  // applications it has not reopened kept for the next start.
  void RequestEnd();
  bool EndRequested() const { return endRequested_; }

  // ---- public state
  ISP Link;
  // Drives found silent by the tick or by a read (mainwin/drive_read.h).
  talvero::DriveAnswers Answers;
  // A view that showed "does not answer" fills again by itself: the refill
  // runs when its drive answers again while the same tree node is selected.
  void AwaitAnswer(int node, std::function<void()> refill);
  // The tick heard the drive again after a silence.
  void DriveAnswered(int node);
  DriveLine& Line() { return *line_; }
  int CurNode = 0;
  int CurApp = 0;
  int CurPgm = 0;
  std::string CurPgmName;
  std::string LastNode;  // key of the node last passed to the click handler
  bool AxisSelected = false;
  bool AppSelected = false;
  bool ProgramNodeSelected = false;
  std::string ViewKey;
  bool ActiveProgramShown = false;
  bool ProgramViewShown = false;
  bool ParameterViewShown = false;
  bool EventViewShown = false;
  int Status2Bits = 0;
  uint16_t AxisStatus = 0;      // the last status word UpdateState read
  int AxisStatusNode = -1;      // the drive it came from; -1 when that read got no answer
  bool LastStepFaulted = false;  // the run fault StepMarkerRow was drawn with
  std::string UnitsName;
  float Transmission = 1.0f;
  std::string PgmDescription;
  bool ForceNodeClick = false;
  int CurRow = -1;
  int StepMarkerRow = -1;
  bool StepNumbers = false;
  int IONumberBase = 1;
  bool ScopeOpen = false;
  std::string SelKey;
  bool FirstRun = false;
  bool TreeRefreshing = false;
  static constexpr int kSlots = 16;
  std::array<bool, kSlots + 1> AppOpen{};  // slots 1..16
  std::array<std::unique_ptr<Applic>, kSlots + 1> Apps;  // made on first use
  Applic* CurApplic = nullptr;
  std::unique_ptr<LibraryDatabase> Library;
  talvero::dao::Database* LibraryDB = nullptr;  // Library's database, read-only
  talvero::dao::Recordset* LibraryTable(const char* name) const;
  talvero::dao::Recordset *MotorsRS = nullptr, *ParametersRS = nullptr, *StepsRS = nullptr,
                          *ThreadsRS = nullptr, *IORS = nullptr;
  std::array<talvero::WatchSlotData, 11> WatchSlot;  // slots 1..10
  int ParameterCopyCount = 0;
  std::string ParameterCopyFamily;  // family code of the copied parameters
  talvero::NodeTables NodeTables;
  std::string AppsRootNode;
  bool ServiceMode() const;
  // The window's mouse pointer: 11 the hourglass, 0 the default.
  int MousePointer() const { return mousePointer_; }
  void MousePointer(int pointer);

  // ---- controls
  QtSysTree* Sys;
  QListWidget* Watch;
  QToolButton *BtnRS, *BtnPause, *Btn1, *ShowScope, *Toggle, *SWE_ON, *SWE_OFF, *BrakeAll;
  EditListBox* EditList;
  StepImageList StepImages;
  // The list's events: the window's own handlers; the editors fill the hooks.
  void EditList_DblClick();
  void EditList_KeyPress(int16_t& keyAscii);
  void EditList_MouseMove();
  void EditList_TbMouseMove();
  EditListEvents EditListHooks;  // Click, DblClick, KeyDown, KeyUp, MouseDown, MouseUp
  class StatStrip* StatStrip;
  QProgressBar* Prog;
  std::array<QLabel*, 3> Mon1{};  // status bar panels 1..3
  QFrame *Line1, *Line2;
  QTimer* TStat;
  QTimer* ResizeFin;

  // ---- menus
  QMenu *FileMenu, *EditMenu, *Setup_Wizard, *SpecialMenu, *Menu_Help, *Help_GS, *File_SetCom;
  QAction *File_NewApp, *File_OpenApp, *File_CloseApp, *File_PrintSetup, *File_Print, *File_Exit;
  std::array<QAction*, 8> COM_{};
  QAction* COM_OL;
  QAction *Edit_Copy, *Edit_Paste, *Edit_PasteIns, *Edit_Clear, *Edit_Ins, *Edit_Del, *Edit_SA;
  QAction *SetupWiz_Axis, *SetupWiz_IO, *SetupWiz_T;
  QAction *SpUpload, *SpRef, *SpStepNumbers, *GoASCII;
  QAction *Help_Overview, *Help_Search, *Help_Tips, *Help_About;
  std::array<QAction*, 5> HGS{};
  QAction* Timeouts;
  // The pop-up menus of the tree and the panel, never on the menu bar.
  QMenu *AAMenu, *PPMenu, *LEMenu, *PLMenu, *THMenu, *EVMenu, *PAMenu, *PRMenu, *APMenu, *AXMenu;
  QMenu *IOMenu, *WAMenu;
  // Any menu item by its name.
  QAction* Item(const std::string& name) const;

  // ---- small windows
  class Splash* SplashWindow() const { return splash_; }
  class POP* Pop() const { return pop_; }
  class QHelp* Tip() const { return qhelp_; }
  void Help_Tips_Click();
  void Help_About_Click();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // The family code AxisTypeMatch compares: the selected application axis's
  // while one is selected, else the drive's at the node.
  std::string AxisFamily(int node) const;
  void BuildMenus();
  void BuildControls();
  void BuildContextMenus();
  void ConnectContextMenus();
  void ConnectCommands();
  // Sets the design-time items of one pop-up from the model and loads its targets.
  void ShowContextMenu(const QPoint& globalPos);
  void UnloadTargets(QMenu* menu);
  void CloseApp(int slot);
  bool RenameDriveProgram(std::string& name);
  bool RenameAppProgram(std::string& name);
  void SelectAndClick(const std::string& key);
  talvero::WindowMetrics Metrics() const;
  void WireEditList();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption);
  mainwin::SettingsIO& Settings() { return env_.settings; }
  void ReadUserSettings(const std::string& commandLine, int& savedPort);

  MainWinEnv env_;
  std::unique_ptr<IspLine> ownLine_;
  DriveLine* line_ = nullptr;
  Applic& Slot(int slot);
  // The application in the slot, nullptr unless the slot is 1..16 and open.
  Applic* OpenApp(int slot) const;
  bool OpenLibrary();
  mainwin::PlotColours colours_;
  std::map<std::string, QAction*> items_;
  std::unique_ptr<InstanceLock> lock_;
  Splash* splash_ = nullptr;
  POP* pop_ = nullptr;
  QHelp* qhelp_ = nullptr;
  bool loaded_ = false;
  // The reopen list was read, so the exit writes it back.
  bool appsRead_ = false;
  bool endRequested_ = false;
  QMenu* shownMenu_ = nullptr;
  bool terminated_ = false;
  // Applications of OpenApps that exist but could not be opened this time:
  // they are kept for the next start.
  std::vector<std::string> unopenedApps_;
  int mousePointer_ = 0;
  std::array<std::string, 8> probeFailures_;  // why each menu port failed its probe
  friend class mainwin::LongOperation;
  mainwin::LongOperation* longOp_ = nullptr;
  int openPort_ = 0;
  bool lineGonePending_ = false;
  int awaitNode_ = -1;
  std::string awaitKey_;
  std::function<void()> refill_;
};
