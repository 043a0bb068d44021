// The main window's menus and controls, with their names and captions.
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "mainwin/about.h"
#include "mainwin/main_win.h"
#include "mainwin/pop.h"
#include "mainwin/qhelp.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/list_control_library.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/splash.h"
#include "mainwin/stat_strip.h"
#include "mainwin/version.h"
#include "mainwin/model/context_menus.h"
#include "mainwin/model/launchers.h"
#include "platform/help/help_service.h"
#include "platform/help/help_sys.h"
#include "platform/ui/qt/plain_text.h"
#include "platform/ui/qt/window_factory.h"

QAction* MainWin::AddItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  items_[name] = a;
  return a;
}

QAction* MainWin::Item(const std::string& name) const {
  auto it = items_.find(name);
  return it == items_.end() ? nullptr : it->second;
}

void MainWin::BuildMenus() {
  QMenuBar* bar = menuBar();

  FileMenu = bar->addMenu("&File");
  FileMenu->setObjectName("FileMenu");
  File_NewApp = AddItem(FileMenu, "File_NewApp", "New Application...");
  File_OpenApp = AddItem(FileMenu, "File_OpenApp", "Open Existing Application...");
  File_CloseApp = AddItem(FileMenu, "File_CloseApp", "Close Application");
  FileMenu->addSeparator();
  File_PrintSetup = AddItem(FileMenu, "File_PrintSetup", "Print Set&up...");
  File_Print = AddItem(FileMenu, "File_Print", "&Print...");
  FileMenu->addSeparator();
  File_SetCom = FileMenu->addMenu("Set up Communications...");
  File_SetCom->setObjectName("File_SetCom");
  items_["File_SetCom"] = File_SetCom->menuAction();
  for (int i = 0; i < 8; ++i) {
    std::string name = "COM_" + std::to_string(i);
    COM_[i] = AddItem(File_SetCom, name.c_str(), QString("use COM%1").arg(i + 1));
    COM_[i]->setCheckable(true);
    connect(COM_[i], &QAction::triggered, this, [this, i]() { COM__Click(i); });
  }
  COM_OL = AddItem(File_SetCom, "COM_OL", "Off-line");
  COM_OL->setCheckable(true);
  connect(COM_OL, &QAction::triggered, this, [this]() { COM_OL_Click(); });
  FileMenu->addSeparator();
  File_Exit = AddItem(FileMenu, "File_Exit", "E&xit Talvero");
  connect(File_Exit, &QAction::triggered, this, [this]() { File_Exit_Click(); });
  File_CloseApp->setEnabled(false);
  File_Print->setEnabled(false);

  EditMenu = bar->addMenu("&Edit");
  EditMenu->setObjectName("EditMenu");
  Edit_Copy = AddItem(EditMenu, "Edit_Copy", "Copy Program Step(s)");
  Edit_Paste = AddItem(EditMenu, "Edit_Paste", "Paste Program Step(s)");
  Edit_PasteIns = AddItem(EditMenu, "Edit_PasteIns", "Paste Program Step(s) with Insert");
  EditMenu->addSeparator()->setObjectName("EditSep0");
  Edit_Clear = AddItem(EditMenu, "Edit_Clear", "Clear Program Step(s)");
  EditMenu->addSeparator()->setObjectName("EditSep1");
  Edit_Ins = AddItem(EditMenu, "Edit_Ins", "Insert Multiple Empty Steps");
  Edit_Del = AddItem(EditMenu, "Edit_Del", "Delete Multiple Steps");
  EditMenu->addSeparator()->setObjectName("EditSep2");
  Edit_SA = AddItem(EditMenu, "Edit_SA", "Select All");
  // Nothing to edit until a program view is shown.
  for (QAction* a : {Edit_Copy, Edit_Paste, Edit_PasteIns, Edit_Clear, Edit_Ins, Edit_Del, Edit_SA})
    a->setEnabled(false);

  Setup_Wizard = bar->addMenu("&Wizards");
  Setup_Wizard->setObjectName("Setup_Wizard");
  SetupWiz_Axis = AddItem(Setup_Wizard, "SetupWiz_Axis", "Axis Setup...");
  SetupWiz_IO = AddItem(Setup_Wizard, "SetupWiz_IO", "IO Configuration...");
  SetupWiz_T = AddItem(Setup_Wizard, "SetupWiz_T", "Tuning...");
  for (QAction* a : {SetupWiz_Axis, SetupWiz_IO, SetupWiz_T}) a->setEnabled(false);

  SpecialMenu = bar->addMenu("Spe&cial");
  SpecialMenu->setObjectName("SpecialMenu");
  SpUpload = AddItem(SpecialMenu, "SpUpload", "&Upload New Firmware...");
  SpUpload->setEnabled(false);
  SpecialMenu->addSeparator();
  SpRef = AddItem(SpecialMenu, "SpRef", "&Refresh Application View");
  connect(SpRef, &QAction::triggered, this, [this]() { SpRef_Click(); });
  SpStepNumbers = AddItem(SpecialMenu, "SpStepNumbers", "Step &Numbers");
  SpStepNumbers->setCheckable(true);
  SpecialMenu->addSeparator();
  GoASCII = AddItem(SpecialMenu, "GoASCII", "&ASCII Drive Interface");

  Menu_Help = bar->addMenu("&Help");
  Menu_Help->setObjectName("Menu_Help");
  Help_Overview = AddItem(Menu_Help, "Help_Overview", "&Overview...");
  connect(Help_Overview, &QAction::triggered, this, []() { HelpSys::ShowHelpContents(); });
  Help_Search = AddItem(Menu_Help, "Help_Search", "&Index...");
  connect(Help_Search, &QAction::triggered, this, []() { HelpSys::ShowHelpSearch(); });
  Help_GS = Menu_Help->addMenu("&Getting Started");
  Help_GS->setObjectName("Help_GS");
  items_["Help_GS"] = Help_GS->menuAction();
  const char* topics[5] = {"Drive Setup", "Simple Motion Programming", "Working with Events",
                           "Working with KOVScope", "Storing Motion Programs"};
  for (int i = 0; i < 5; ++i) {
    std::string name = "HGS_" + std::to_string(i);
    HGS[i] = AddItem(Help_GS, name.c_str(), topics[i]);
    connect(HGS[i], &QAction::triggered, this, [i]() {
      if (std::optional<int> context = talvero::GettingStartedContext(i))
        HelpSys::ShowStepHelp(int16_t(*context));
    });
  }
  Menu_Help->addSeparator();
  Help_Tips = AddItem(Menu_Help, "Help_Tips", "&Show Tips");
  Help_Tips->setCheckable(true);
  connect(Help_Tips, &QAction::triggered, this, [this]() {
    Help_Tips->setChecked(!Help_Tips->isChecked());  // the handler flips it
    Help_Tips_Click();
  });
  Menu_Help->addSeparator();
  Help_About = AddItem(Menu_Help, "Help_About", "&About...");
  connect(Help_About, &QAction::triggered, this, [this]() { Help_About_Click(); });

  // The service counter sits on the menu bar itself.
  Timeouts = bar->addAction("No timeouts");
  Timeouts->setObjectName("Timeouts");
  items_["Timeouts"] = Timeouts;

  BuildContextMenus();
}

void MainWin::BuildContextMenus() {
  auto menu = [this](const char* name, const char* caption) {
    auto* m = new QMenu(caption, this);
    m->setObjectName(name);
    return m;
  };
  // A copy item whose submenu lists the targets, "none" at design time.
  auto targets = [this](QMenu* m, const char* name, const char* caption, const char* array) {
    QMenu* sub = m->addMenu(caption);
    sub->setObjectName(name);
    items_[name] = sub->menuAction();
    AddItem(sub, (std::string(array) + "_0").c_str(), "none");
  };

  // The tree's menus, their items and captions come from the model alone.
  const std::map<std::string, QMenu**> menuOf = {
      {"AAMenu", &AAMenu}, {"PPMenu", &PPMenu}, {"LEMenu", &LEMenu}, {"PLMenu", &PLMenu}, {"THMenu", &THMenu},
      {"EVMenu", &EVMenu}, {"PAMenu", &PAMenu}, {"PRMenu", &PRMenu}, {"APMenu", &APMenu}, {"AXMenu", &AXMenu}};
  for (const talvero::ContextMenu& model : talvero::AllContextMenus()) {
    QMenu* m = menu(model.name.c_str(), ("(" + model.name + ")").c_str());
    if (auto it = menuOf.find(model.name); it != menuOf.end()) *it->second = m;
    for (const talvero::ContextMenuItem& item : model.items) {
      if (item.separator) m->addSeparator();
      else if (item.copy) targets(m, item.name.c_str(), item.caption.c_str(), (item.name + "_Array").c_str());
      else AddItem(m, item.name.c_str(), talvero::ToQ(item.caption));
    }
  }

  IOMenu = menu("IOMenu", "(IO)");
  AddItem(IOMenu, "IO_NoForce", "Do Not Force On/Off");
  AddItem(IOMenu, "IO_ForceON", "Force On");
  AddItem(IOMenu, "IO_ForceOFF", "Force Off");

  WAMenu = menu("WAMenu", "(Watch)");
  AddItem(WAMenu, "WA_Clear", "Clear");
  AddItem(WAMenu, "WA_TP", "Target Position");
  AddItem(WAMenu, "WA_TV", "Target Velocity");
  AddItem(WAMenu, "WA_TPS", "Tasks/second");
  AddItem(WAMenu, "WA_TDPS", "Events/second");
  AddItem(WAMenu, "WA_MC", "Motor Current");
  AddItem(WAMenu, "WA_VEL", "Motor Velocity");
  AddItem(WAMenu, "WA_FA", "Feedback Angle");
  AddItem(WAMenu, "WA_FP", "Feedback Position");
  AddItem(WAMenu, "WA_ADC0", "Analog Input");
  AddItem(WAMenu, "WA_PMC", "% Motor Current");
  AddItem(WAMenu, "WA_Arb", "Arbitrary Expression...");
  ConnectContextMenus();
}

namespace {

QToolButton* SquareButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                          const char* tip) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setIconSize(QSize(16, 16));
  b->setAutoRaise(false);
  b->setToolTip(tip);
  b->setMouseTracking(true);
  return b;
}

// A small trace on a screen, for the scope button.
QIcon ScopeIcon() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 60, 80), 2));
  p.setBrush(QColor(20, 40, 30));
  p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
  QPainterPath trace;
  trace.moveTo(5, 16);
  for (int x = 5; x <= 27; ++x) trace.lineTo(x, 16 - 7 * std::sin((x - 5) * 0.45));
  p.setPen(QPen(QColor(90, 230, 120), 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(trace);
  return QIcon(pm);
}

}  // namespace

void MainWin::BuildControls() {
  auto* frame = new QWidget(this);
  frame->setObjectName("MainFrame");
  frame->setMouseTracking(true);
  frame->installEventFilter(this);
  setCentralWidget(frame);

  Line1 = new QFrame(frame);
  Line1->setObjectName("Line1");
  Line2 = new QFrame(frame);
  Line2->setObjectName("Line2");
  for (QFrame* l : {Line1, Line2}) {
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
  }

  Sys = new QtSysTree(frame);
  Sys->setMouseTracking(true);
  Sys->viewport()->installEventFilter(this);
  connect(Sys, &QtSysTree::NodeClicked, this,
          [this](const QString& key) { Sys_NodeClick(key.toStdString()); });

  Watch = new QListWidget(frame);
  Watch->setObjectName("Watch");
  for (int k = 1; k <= 10; ++k) Watch->addItem(" ");

  BtnRS = SquareButton(frame, "BtnRS", QStyle::SP_MediaPlay, "Run / stop the program");
  BtnPause = SquareButton(frame, "BtnPause", QStyle::SP_MediaPause, "Pause the program");
  Btn1 = SquareButton(frame, "Btn1", QStyle::SP_MediaSkipForward, "Single step");
  ShowScope = SquareButton(frame, "ShowScope", QStyle::SP_DesktopIcon, "");
  ShowScope->setIcon(ScopeIcon());
  ShowScope->setToolTip("");  // its tip comes from QHelp
  ShowScope->installEventFilter(this);
  Toggle = SquareButton(frame, "Toggle", QStyle::SP_BrowserReload, "Toggle an input");
  SWE_ON = SquareButton(frame, "SWE_ON", QStyle::SP_DialogYesButton, "Software enable on");
  SWE_OFF = SquareButton(frame, "SWE_OFF", QStyle::SP_DialogNoButton, "Software enable off");
  BrakeAll = SquareButton(frame, "BrakeAll", QStyle::SP_BrowserStop, "Stop all drives");
  BrakeAll->hide();

  EditList = new EditListBox(frame, ListControlPath());
  WireEditList();
  StatStrip = new class StatStrip(frame);
  StatStrip->hide();

  Prog = new QProgressBar(frame);
  Prog->setObjectName("Prog");
  Prog->setRange(0, 255);
  Prog->setValue(0);
  Prog->setTextVisible(false);

  QStatusBar* bar = statusBar();
  bar->setObjectName("Mon1");
  const char* panelNames[3] = {"Mon1_1", "Mon1_2", "Mon1_3"};
  for (int i = 0; i < 3; ++i) {
    Mon1[i] = new QLabel(" ", bar);
    Mon1[i]->setObjectName(panelNames[i]);
    Mon1[i]->setTextFormat(Qt::PlainText);
    Mon1[i]->setFrameShape(QFrame::StyledPanel);
    Mon1[i]->setFrameShadow(QFrame::Sunken);
    Mon1[i]->setMinimumWidth(120);
    bar->addWidget(Mon1[i], i == 0 ? 0 : 1);
  }
  bar->setSizeGripEnabled(true);

  TStat = new QTimer(this);
  TStat->setObjectName("TStat");
  TStat->setInterval(500);
  connect(TStat, &QTimer::timeout, this, [this]() { TStat_Timer(); });
  ResizeFin = new QTimer(this);
  ResizeFin->setObjectName("ResizeFin");
  ResizeFin->setInterval(250);
  ResizeFin->setSingleShot(true);

  splash_ = new Splash;
  pop_ = new POP(this, splash_);
  splash_->OnControlC = [this]() { pop_->SetClicked(); };
  qhelp_ = new QHelp([this]() { return Help_Tips->isChecked(); });

  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.SetParent(this);
  if (!wf.IsRegistered("About"))
    wf.Register("About", [](QWidget* parent) {
      std::string title = parent ? parent->windowTitle().toStdString() : "Talvero";
      return new About(parent, title, mainwin::VersionText());
    });
}

bool MainWin::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease && watched == StatStrip->GS_stat) GS_stat_Click();
  if (e->type() == QEvent::MouseMove) {
    if (watched == ShowScope) {
      qhelp_->TT("click to use KOVscope");
      return true;  // not on to the background, which would hide the tip again
    }
    qhelp_->TT("");
  }
  return QMainWindow::eventFilter(watched, e);
}

void MainWin::Help_Tips_Click() {
  talvero::TipsState tips = talvero::ToggleTips(Help_Tips->isChecked());
  Help_Tips->setChecked(tips.checked);
  Settings().save("Setup", "TT", tips.setting);
}

void MainWin::MousePointer(int pointer) {
  mousePointer_ = pointer;
  if (pointer == 11) setCursor(Qt::WaitCursor);
  else unsetCursor();
}

void MainWin::Help_About_Click() { talvero::TheWindowFactory().ShowModal("About"); }

std::string MainWin::ListControlPath() const {
  return env_.listControlPath.empty() ? DefaultListControlPath() : env_.listControlPath;
}
