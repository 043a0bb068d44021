// Start-up, the port menu, the search and the exit of the real main window,
// over a line of drives in memory.
#include "mainwin/main_win.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include "mainwin/qhelp.h"
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include "mainwin/instance_lock.h"
#include "platform/dao/recordset.h"
#include "store/applic.h"
#include "store/library_database.h"
#include "mainwin/pop.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/splash.h"
#include "mainwin/stat_strip.h"
#include <QListWidget>
#include <QProgressBar>
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "mainwin/tests/fakes.h"
#include "mainwin/tests/main_win_fixture.h"

namespace {

using talvero::Answer;

TEST_F(MainWinTest, FirstStartCreatesEveryDefaultAndFindsTheDrives) {
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load("talvero"));

  const std::pair<const char*, const char*> expected[] = {
      {"Setup/COM", "1"},       {"Setup/TT", "1"},  {"Setup/B1T", "750"},      {"Setup/BNT", "300"},
      {"Setup/Retry", "8"},     {"Help/GS", "1"},   {"Plot/1", "16777215"},    {"Plot/2", "0"},
      {"Plot/3", "12500670"},   {"Plot/4", "65535"}, {"Plot/5", "9639167"},    {"Setup/CPS", "<none>"},
      {"OpenApps/List", "<none>"}};
  for (const auto& [key, value] : expected) EXPECT_EQ(Value(key), value) << key;
  EXPECT_EQ(line.probed, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(line.settings.firstByteTimeout, 750);
  EXPECT_EQ(line.settings.retries, 8);
  EXPECT_EQ(w.PCol(3), 12500670);
  EXPECT_TRUE(w.FirstRun);
  ASSERT_NE(w.LibraryDB, nullptr);
  EXPECT_TRUE(w.LibraryDB->ReadOnly());
  ASSERT_NE(w.ParametersRS, nullptr);
  EXPECT_GT(w.ParametersRS->RecordCount(), 0);
  EXPECT_NE(w.IORS, nullptr);

  // Only the probed port is offered, and it is the one in use.
  EXPECT_TRUE(w.COM_[0]->isVisible());
  EXPECT_TRUE(w.COM_[0]->isChecked());
  EXPECT_FALSE(w.COM_OL->isChecked());
  for (int i = 1; i < 8; ++i) EXPECT_FALSE(w.COM_[i]->isVisible()) << i;

  // The drives, in node order, with their tables and branches.
  EXPECT_EQ(DriveKeys(), (std::vector<std::string>{"#1", "#4", "#31"}));
  EXPECT_EQ(line.asked.size(), 31u);
  EXPECT_EQ(w.GetDriveNameByNode(4), "KV110i/d Lift (Node 4)");
  EXPECT_EQ(w.Sys->Text("#31"), "KS130i/d <b>Arm</b> & co (Node 31)");
  EXPECT_EQ(w.NodeTables.at(31).family, "PSI");
  EXPECT_EQ(w.SerialandVersion(4, 1), "Serial # 10Lift");
  EXPECT_EQ(w.SerialandVersion(4, 2), "Kernel version: 1.9");
  EXPECT_EQ(w.Sys->Children("#1"), (std::vector<std::string>{"PA1", "TH1", "PP1", "PL1", "SS1"}));
  EXPECT_EQ(w.Sys->Children("PA4"), (std::vector<std::string>{"SU4", "SM4", "SF4", "SC4", "TU4"}));
  EXPECT_EQ(w.Sys->Children("PL1"), (std::vector<std::string>{"LE1,0", "LE1,2"}));
  EXPECT_EQ(w.Sys->Text("LE1,2"), "CUT 2");
  EXPECT_EQ(w.Sys->Picture("PL1"), "pgmlib");
  EXPECT_TRUE(w.Sys->Children("PL4").empty());
  EXPECT_FALSE(w.BrakeAll->isHidden());

  // Service items stay locked without the keyword; the timer runs.
  EXPECT_FALSE(w.Item("AA_SetConfig")->isEnabled());
  EXPECT_FALSE(w.Item("AA_FILE2MEM")->isEnabled());
  EXPECT_TRUE(w.Item("AA_FILE2MEM")->isVisible());
  EXPECT_FALSE(w.Timeouts->isVisible());
  EXPECT_FALSE(w.ServiceMode());
  EXPECT_TRUE(w.TStat->isActive());
  EXPECT_EQ(w.TStat->interval(), 500);
  EXPECT_TRUE(w.Help_Tips->isChecked());

  EXPECT_TRUE(w.SplashWindow()->isHidden());
  EXPECT_TRUE(w.Pop()->isHidden());  // the start-up search reports on the splash screen
  EXPECT_EQ(w.Mon1[0]->text(), " Version 3.0 Build 0 ");
  EXPECT_EQ(w.SelKey, "");  // no applications to reopen, so nothing was selected
}

TEST_F(MainWinTest, HostileSettingsStartOffLineWithSaneValues) {
  settings.values = {{"Setup/COM", "9"},  {"Setup/Retry", "0"}, {"Setup/CPS", "12"},
                     {"Setup/B1T", "abc"}, {"Setup/BNT", "99999"}, {"Plot/1", "xyz"},
                     {"Setup/TT", "0"},    {"Help/GS", "1"}};
  prompter.ExpectMessage("Couldn't open COM9. Offline mode selected.\n\nThere is no such port.",
                         Answer::Ok, "Error!");
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load("talvero"));
  EXPECT_TRUE(line.probed.empty());  // CPS 12 names no port
  EXPECT_EQ(Value("Setup/COM"), "0");
  EXPECT_EQ(Value("Setup/Retry"), "1");
  EXPECT_EQ(Value("Setup/B1T"), "750");
  EXPECT_EQ(Value("Setup/BNT"), "32767");
  EXPECT_EQ(Value("Plot/1"), "16777215");
  EXPECT_EQ(Value("Setup/CPS"), "12");
  EXPECT_EQ(line.settings.retries, 1);
  EXPECT_FALSE(w.Help_Tips->isChecked());
  EXPECT_FALSE(w.FirstRun);
  EXPECT_TRUE(w.COM_OL->isChecked());
  EXPECT_EQ(line.opened, (std::vector<int>{0}));
  EXPECT_GE(line.closes, 1);
  EXPECT_TRUE(DriveKeys().empty());
  EXPECT_EQ(w.Sys->Children(""), (std::vector<std::string>{"!SY", "!AP"}));
  EXPECT_TRUE(w.BrakeAll->isHidden());
}

TEST_F(MainWinTest, ProbingOnePortLeavesAnotherSavedPortOffLine) {
  settings.values = {{"Setup/CPS", "3"}, {"Setup/COM", "1"}, {"Help/GS", "1"}};
  line.probeable = {1, 3};
  prompter.ExpectMessage("Couldn't open COM1. Offline mode selected.", Answer::Ok, "Error!");
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  EXPECT_EQ(line.probed, (std::vector<int>{3}));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(w.COM_[i]->isVisible(), i == 2) << i;
  EXPECT_EQ(Value("Setup/COM"), "0");

  // A saved port whose probe failed says why.
  win.reset();
  settings.values = {{"Help/GS", "1"}};
  line.probeable = {};
  line.probeFailure = "Permission denied: add your user to the dialout group.";
  prompter.ExpectMessage("Couldn't open COM1. Offline mode selected.\n\n"
                         "Permission denied: add your user to the dialout group.",
                         Answer::Ok, "Error!");
  ASSERT_TRUE(Make().Form_Load(""));
  EXPECT_EQ(Value("Setup/COM"), "0");
}

TEST_F(MainWinTest, ServiceKeywordAnywhereInTheCommandLine) {
  settings.values = {{"Setup/COM", "0"}, {"Help/GS", "1"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load("/usr/bin/talvero --x=QuernStaldy"));
  EXPECT_TRUE(w.ServiceMode());
  EXPECT_TRUE(w.Item("AA_FILE2MEM")->isEnabled());
  EXPECT_TRUE(w.Timeouts->isVisible());
}

TEST_F(MainWinTest, PortThatWillNotOpenSaysWhyAndGoesOffLine) {
  settings.values = {{"Help/GS", "1"}};
  line.openable = {};
  line.failure = "Permission denied: add your user to the dialout group.";
  prompter.ExpectMessage(
      "Couldn't open COM1. Please select another.\n\n"
      "Permission denied: add your user to the dialout group.",
      Answer::Ok, "Error!");
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  EXPECT_EQ(line.opened, (std::vector<int>{1, 0}));
  EXPECT_TRUE(w.COM_OL->isChecked());
  EXPECT_FALSE(w.COM_[0]->isChecked());
  EXPECT_EQ(Value("Setup/COM"), "0");
  EXPECT_TRUE(line.asked.empty());

  // A port beyond the menu is refused the same way, without touching the line.
  prompter.ExpectMessage("Couldn't open COM9. Please select another.\n\nThere is no such port.",
                         Answer::Ok, "Error!");
  w.COM__Click(8);
  EXPECT_EQ(line.opened, (std::vector<int>{1, 0, 0}));
}

TEST_F(MainWinTest, ControlCOnTheSplashScreenEndsTheStartUpSearch) {
  settings.values = {{"Help/GS", "1"}};
  std::string progress;
  line.onWhoAmI = [&](int node) {
    if (node == 5) progress = win->SplashWindow()->KOV->text().toStdString();
    if (node == 6)
      QCoreApplication::postEvent(win->SplashWindow(), new QKeyEvent(QEvent::KeyPress, Qt::Key_C,
                                                                     Qt::ControlModifier, "\x03"));
  };
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  EXPECT_EQ(progress, "Searching for Drives...at Node 5 of 31\n(Control-C ends search)");
  EXPECT_EQ(w.SplashWindow()->KOV->text(), "Ending search...");
  EXPECT_EQ(line.asked, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(DriveKeys(), (std::vector<std::string>{"#1", "#4"}));
  EXPECT_EQ(w.GetDriveNameByNode(31), "");
}

TEST_F(MainWinTest, LaterSearchesShowTheProgressWindowWithAWorkingStop) {
  settings.values = {{"Help/GS", "1"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  line.asked.clear();
  bool popShown = false, mainDisabled = false, popEnabled = false;
  std::string text;
  line.onWhoAmI = [&](int node) {
    if (node != 3) return;
    popShown = w.Pop()->isVisible();
    popEnabled = w.Pop()->isEnabled();
    mainDisabled = !w.isEnabled();
    text = w.Pop()->PS2->text().toStdString();
    w.Pop()->Stop->click();
  };
  w.RefreshTree();
  EXPECT_TRUE(popShown);
  EXPECT_TRUE(popEnabled);
  EXPECT_TRUE(mainDisabled);
  EXPECT_EQ(text, "at Node 3 of 31");
  EXPECT_EQ(w.Pop()->PS1->text(), "\nSearching for Drives...");
  EXPECT_EQ(w.Pop()->PS2->text(), "at Node 3 of 31");  // frozen once stopped
  EXPECT_EQ(line.asked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(DriveKeys(), (std::vector<std::string>{"#1"}));
  EXPECT_TRUE(w.Pop()->isHidden());
  EXPECT_TRUE(w.isEnabled());

  // The next search starts afresh; Ctrl-C on the progress window stops it too.
  line.asked.clear();
  line.onWhoAmI = [&](int node) {
    if (node == 10)
      QCoreApplication::postEvent(w.Pop(), new QKeyEvent(QEvent::KeyPress, Qt::Key_C,
                                                         Qt::ControlModifier, "\x03"));
  };
  w.RefreshTree();
  EXPECT_EQ(line.asked.size(), 10u);
  EXPECT_EQ(DriveKeys(), (std::vector<std::string>{"#1", "#4"}));
}

TEST_F(MainWinTest, ReentrantRebuildAndFailedLineCheck) {
  settings.values = {{"Help/GS", "1"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  int inner = -1;
  line.asked.clear();
  line.onWhoAmI = [&](int node) {
    if (node != 2) return;
    size_t before = w.Sys->Children("!SY").size();
    w.RefreshTree();  // returns at once
    inner = int(w.Sys->Children("!SY").size() - before);
  };
  w.RefreshTree();
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(line.asked.size(), 31u);

  // A modem on the line: no search, only the roots.
  line.lineOk = false;
  line.asked.clear();
  line.onWhoAmI = nullptr;
  w.RefreshTree();
  EXPECT_TRUE(line.asked.empty());
  EXPECT_TRUE(DriveKeys().empty());
  EXPECT_EQ(w.GetDriveNameByNode(1), "");
  EXPECT_TRUE(w.BrakeAll->isHidden());
}

TEST_F(MainWinTest, SecondInstanceIsRefusedBeforeAnythingElse) {
  InstanceLock first((dir.path() + "/talvero.lock").toStdString());
  ASSERT_TRUE(first.Acquire());
  prompter.ExpectMessage("Cannot load program again.", Answer::Ok, "Talvero is already open!");
  MainWin& w = Make();
  EXPECT_FALSE(w.Form_Load(""));
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Exclamation);
  EXPECT_EQ(settings.writes, 0);
  EXPECT_TRUE(line.probed.empty());
  EXPECT_EQ(w.Library, nullptr);
  win.reset();
  EXPECT_EQ(settings.writes, 0);  // the refused instance stores nothing at exit
  first.Release();
  MainWin& again = Make();
  EXPECT_TRUE(again.Form_Load("")) << "the lock is free once the first instance ends";
  prompter.ExpectMessage("For Help on setting up and programming your drive,\n"
                         "pick a topic under the Help Menu in 'Getting Started'.",
                         Answer::Ok, "Getting Started...");
  again.Form_Activate();
  again.Form_Activate();  // once only
}

TEST_F(MainWinTest, MissingOrDamagedLibraryEndsCleanlyWithAMessage) {
  const std::string broken = (dir.path() + "/broken.KOV").toStdString();
  QFile f(QString::fromStdString(broken));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("this is no database");
  f.close();
  for (const std::string& path : {(dir.path() + "/none/KOVdata.KOV").toStdString(), broken}) {
    libraryPath = path;
    prompter.ExpectMessageContaining("Cannot open the library database " + path + ":", Answer::Ok);
    MainWin& w = Make();
    EXPECT_FALSE(w.Form_Load(""));
    EXPECT_EQ(w.ExitStatus, 1) << "the program ends as failed";
    EXPECT_TRUE(line.opened.empty());
    EXPECT_FALSE(w.TStat->isActive());
    EXPECT_EQ(w.ParametersRS, nullptr);
    EXPECT_EQ(Value("OpenApps/List"), "<none>");
    EXPECT_TRUE(prompter.Boxes().back().text.find("cannot run without it") != std::string::npos);
    win.reset();
    InstanceLock next((dir.path() + "/talvero.lock").toStdString());
    EXPECT_TRUE(next.Acquire()) << "the lock is released";
  }
}

// A path with ";" comes back whole; a file that is there but cannot be opened
// this time is said and kept for the next start (only a vanished one is dropped).
TEST_F(MainWinTest, ReopenKeepsSemicolonPathsAndFilesThatFailedToOpen) {
  const std::string base = dir.path().toStdString();
  {
    Applic app;
    ASSERT_TRUE(app.Create(base + "/semi;colon.APP").ok());
    app.AClose();
    QFile f(QString::fromStdString(base + "/locked.APP"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not now");
  }
  const std::string list = mainwin::JoinOpenApps({base + "/semi;colon", base + "/locked"});
  settings.values = {{"Help/GS", "1"}, {"OpenApps/List", list}};
  prompter.ExpectMessageContaining("Can't open application " + base + "/locked.APP: ", Answer::Ok);
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  EXPECT_TRUE(w.AppOpen[1]);
  EXPECT_FALSE(w.AppOpen[2]);
  w.File_Exit_Click();
  EXPECT_EQ(Value("OpenApps/List"), list);
  EXPECT_TRUE(prompter.Failures().empty());
}

TEST_F(MainWinTest, ApplicationsReopenAndExitStoresThemAndClosesThePort) {
  const std::string base = dir.path().toStdString();
  for (const char* name : {"/Line A.APP", "/b.app"}) {
    Applic app;
    ASSERT_TRUE(app.Create(base + name).ok()) << name;
    ASSERT_TRUE(app.AddPgm("HOME").ok());
    app.AClose();
  }
  settings.values = {{"Help/GS", "1"},
                     {"OpenApps/List", base + "/Line A;;" + base + "/gone;" + base + "/b;" + base + "/c"}};
  prompter.ExpectMessageContaining(base + "/gone.APP: the file no longer exists", Answer::Ok);
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  EXPECT_TRUE(w.AppOpen[1] && w.AppOpen[2] && !w.AppOpen[3]);
  EXPECT_EQ(w.Sys->Children("!AP"), (std::vector<std::string>{"AP1", "AP2"}));
  // The file's own letter case, without the extension.
  EXPECT_EQ(w.Sys->Text("AP1").substr(w.Sys->Text("AP1").size() - 7), "/Line A");
  EXPECT_EQ(w.Sys->Children("AP1"), (std::vector<std::string>{"PR-1"}));
  EXPECT_EQ(w.Sys->Children("PR-1"), (std::vector<std::string>{"PR-1,1"}));
  EXPECT_EQ(w.Sys->Text("PR-1,1"), "HOME");
  EXPECT_EQ(w.SelKey, "!AP");
  // The same file again selects its slot instead of taking another.
  EXPECT_TRUE(w.OpenAnApp(base + "/Line A.APP"));
  EXPECT_FALSE(w.AppOpen[3]);
  EXPECT_EQ(w.SelKey, "AP1");
  // Tree rebuilds keep the open applications; the refresh ends on the drives root.
  w.SpRef_Click();
  EXPECT_EQ(w.Sys->Children("!AP"), (std::vector<std::string>{"AP1", "AP2"}));
  EXPECT_EQ(w.SelKey, "!SY");
  EXPECT_EQ(w.Sys->SelectedKey(), "!SY");
  EXPECT_EQ(w.Sys->Children("!SY"), (std::vector<std::string>{"#1", "#4", "#31"}));
  // A file that is no application is said so, with its path; no slot is taken.
  const std::string junk = base + "/junk.APP";
  {
    QFile f(QString::fromStdString(junk));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database at all");
  }
  prompter.ExpectMessageContaining("Can't open application " + junk + ": ", Answer::Ok);
  EXPECT_FALSE(w.OpenAnApp(junk));
  EXPECT_FALSE(w.AppOpen[3]);
  EXPECT_FALSE(w.Sys->Exists("AP3"));

  int closesBefore = line.closes;
  w.File_Exit_Click();
  EXPECT_EQ(Value("OpenApps/List"), base + "/Line A;" + base + "/b;");
  EXPECT_FALSE(w.Apps[1]->IsOpen());
  EXPECT_FALSE(w.AppOpen[2]);
  EXPECT_EQ(line.closes, closesBefore + 1);
  EXPECT_EQ(w.ParametersRS, nullptr);
  EXPECT_EQ(w.LibraryDB, nullptr);
  EXPECT_FALSE(w.TStat->isActive());
  win.reset();  // the exit ran once
  EXPECT_EQ(line.closes, closesBefore + 1);
}

TEST_F(MainWinTest, TipsToggleAndSharedServices) {
  settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  w.Help_Tips_Click();
  EXPECT_FALSE(w.Help_Tips->isChecked());
  EXPECT_EQ(Value("Setup/TT"), "0");
  w.Help_Tips->trigger();  // through the menu
  EXPECT_TRUE(w.Help_Tips->isChecked());
  EXPECT_EQ(Value("Setup/TT"), "1");

  // The scope button's tip: the first move after the background only arms it.
  w.show();
  auto move = [](QWidget* target) {
    QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
  };
  move(w.centralWidget());
  move(w.ShowScope);
  EXPECT_TRUE(w.Tip()->isHidden());
  move(w.ShowScope);
  EXPECT_TRUE(w.Tip()->isVisible());
  EXPECT_EQ(w.Tip()->Helptxt->text(), " click to use KOVscope ");
  move(w.Sys->viewport());
  EXPECT_TRUE(w.Tip()->isHidden());
  w.Help_Tips_Click();  // tips off: nothing shows
  move(w.ShowScope);
  move(w.ShowScope);
  EXPECT_TRUE(w.Tip()->isHidden());
  w.Help_Tips_Click();
  w.hide();

  w.MousePointer(11);
  EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
  w.MousePointer(0);
  EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(w.MousePointer(), 0);

  w.PSCol(12, 255);
  EXPECT_EQ(w.PCol(12), 255);
  EXPECT_EQ(Value("Plot/12"), "255");

  w.NodeTables.at(4).family = "TAU";
  w.CurNode = 4;
  EXPECT_TRUE(w.AxisTypeMatch("TAU", 4));
  EXPECT_FALSE(w.AxisTypeMatch("PSI", 4));
  w.NodeTables.at(4).family = "";
  EXPECT_FALSE(w.AxisTypeMatch("TAU", 4));
  EXPECT_FALSE(w.AxisIsDumb());
  w.CurNode = 40;
  EXPECT_EQ(w.GetDriveName(), "");
  EXPECT_FALSE(w.AxisIsDumb());
}

}  // namespace


namespace {

TEST_F(MainWinTest, ServicesOnAnApplicationAxis) {
  const std::string base = dir.path().toStdString();
  {
    auto lib = LibraryDatabase::Open(libraryPath);
    ASSERT_TRUE(lib.ok()) << lib.error;
    Applic app;
    ASSERT_TRUE(app.Create(base + "/cell.APP").ok());
    ASSERT_TRUE(app.AddAxis("X1", "PSI", (*lib)->ParametersRS.get()).ok());
    app.AClose();
  }
  settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}, {"OpenApps/List", base + "/cell;"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  ASSERT_TRUE(w.AppOpen[1]);
  EXPECT_TRUE(w.Sys->Exists("AX-1,1"));
  w.NodeTables.at(1).family = "TAU";  // whatever the drives hold
  w.CurNode = -1;
  w.CurApp = 1;
  const std::pair<const char*, bool> matches[] = {{"PSI", true}, {"TAU", false}, {"", false}};
  for (const auto& [codes, match] : matches) EXPECT_EQ(w.AxisTypeMatch(codes, w.CurNode), match) << codes;
  w.Internal_write("ZZTEST", "");
  EXPECT_EQ(w.Internal_read_string("ZZTEST"), "");
  EXPECT_EQ(w.Internal_read("ZZTEST"), "0");
  w.Internal_write("ZZTEST", "MISSING");
  EXPECT_EQ(w.Internal_read("ZZTEST"), "0");
  w.Internal_write("ZZTEST", "12.5");
  EXPECT_EQ(w.Internal_read("ZZTEST"), "12.5");
  w.CurApp = 5;  // no application there: nothing read, nothing written, no crash
  EXPECT_EQ(w.Internal_read_string("ZZTEST"), "");
  w.Internal_write("ZZTEST", "1");
}

}  // namespace

#include <QDir>
#include <QTextStream>

#include "mainwin/about.h"
#include "mainwin/user_settings.h"
#include "platform/help/help_service.h"
#include "platform/serial/port_map.h"
#include "platform/settings/settings.h"

namespace {

// The user's own settings file, damaged, in a temporary config folder.
TEST_F(MainWinTest, DamagedSettingsFileHealsOnTheFirstStart) {
  QTemporaryDir config;
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  unsetenv("TALVERO_COM1");
  QDir().mkpath(config.path() + "/Talvero3");
  QFile ini(config.path() + "/Talvero3/Talvero3.ini");
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("garbage line without equals\n[Setup]\nCOM=9\nRetry=99999\nCPS=12\nB1T=abc\n"
            "[Plot]\n3=-1\n[Ports]\nCOM1=/dev/talvero-test-line\n[Help]\nGS=1\n");
  ini.close();
  prompter.ExpectMessage("Couldn't open COM9. Offline mode selected.\n\nThere is no such port.",
                         Answer::Ok, "Error!");
  {
    MainWinEnv env;
    env.settings = mainwin::UserSettings();
    env.line = &line;
    env.libraryPath = libraryPath;
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    MainWin w(std::move(env));
    ASSERT_TRUE(w.Form_Load(""));
    EXPECT_EQ(talvero::DeviceForPort(1), "/dev/talvero-test-line");
    EXPECT_EQ(line.settings.retries, mainwin::kMaxRetries);
  }
  auto get = [](const char* section, const char* key) {
    return talvero::GetSetting(mainwin::kAppKey, section, key, "<none>");
  };
  EXPECT_EQ(get("Setup", "COM"), "0");
  EXPECT_EQ(get("Setup", "Retry"), "20");
  EXPECT_EQ(get("Setup", "B1T"), "750");
  EXPECT_EQ(get("Setup", "BNT"), "300");
  EXPECT_EQ(get("Plot", "3"), "12500670");
  EXPECT_EQ(get("OpenApps", "List"), "");
  EXPECT_EQ(talvero::DeviceForPort(1), "/dev/ttyS0") << "the window's mapping ends with it";
  if (oldConfig.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
  else qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(MainWinTest, HelpMenuCallsTheHelpWithItsContexts) {
  QTemporaryDir helpDir;
  QFile f(helpDir.path() + "/talvero.help");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  for (int c : {7001, 8001, 8002, 8003, 8004, 8005})
    f.write(QString("[%1] Topic %1\nkeywords: t%1\nText.\n").arg(c).toUtf8());
  f.close();
  talvero::HelpService help(helpDir.path().toStdString());
  std::vector<std::pair<int, talvero::HelpWindow>> shown;
  help.SetDisplay([&](const talvero::HelpTopic& t, talvero::HelpWindow w) { shown.emplace_back(t.context, w); });
  std::vector<std::string> searched;
  help.SetIndexDisplay([&](const std::string& keyword, const std::vector<talvero::HelpIndexEntry>& e)
                           -> std::optional<int> {
    searched.push_back(keyword);
    EXPECT_EQ(e.size(), 6u);
    return std::nullopt;
  });
  talvero::SetHelpService(&help);
  settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  w.Help_Overview->trigger();
  for (QAction* a : w.HGS) a->trigger();
  w.Help_Search->trigger();
  talvero::SetHelpService(nullptr);
  using W = talvero::HelpWindow;
  EXPECT_EQ(shown, (std::vector<std::pair<int, W>>{{7001, W::Main}, {8001, W::Step}, {8002, W::Step},
                                                   {8003, W::Step}, {8004, W::Step}, {8005, W::Step}}));
  EXPECT_EQ(searched, std::vector<std::string>{""});
}

TEST_F(MainWinTest, AboutBoxShowsTitleAndVersion) {
  settings.values = {{"Help/GS", "1"}, {"Setup/COM", "0"}};
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  QString title, version;
  QTimer::singleShot(0, [&]() {
    auto* about = qobject_cast<About*>(QApplication::activeModalWidget());
    ASSERT_NE(about, nullptr);
    title = about->windowTitle();
    version = about->SI->text();
    about->accept();
  });
  w.Help_About->trigger();
  EXPECT_EQ(title, "About Talvero");
  EXPECT_EQ(version, w.SplashWindow()->Info->text());
  EXPECT_EQ(version, "Version 3.0 Build 0");
}

}  // namespace
