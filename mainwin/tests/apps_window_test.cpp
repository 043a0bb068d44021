// Applications and their axes in the real main window: the File menu, the
// application and axis menus, the 16-slot limits, reopening after exit.
#include <QAction>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include "mainwin/tests/tree_window_fixture.h"
#include "platform/files/tests/file_kinds.h"

namespace {

using talvero::Answer;

class AppsWindowTest : public TreeWindowTest {
 protected:
  void SetUp() override {
    TreeWindowTest::SetUp();
    oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());  // new applications go to the current folder
  }
  void TearDown() override {
    QDir::setCurrent(oldDir);
    TreeWindowTest::TearDown();
  }
  void NewApp(const std::string& name) {
    prompter.ExpectInput("Name of new application:", name);
    win->File_NewApp->trigger();
  }
  QString oldDir;
};

TEST_F(AppsWindowTest, SixteenApplicationsOpenCloseAndReopen) {
  MainWin& w = Start({});
  const std::string base = QDir(dir.path()).canonicalPath().toStdString();
  for (int i = 1; i <= 16; ++i) {
    NewApp("App" + std::to_string(i));
    ASSERT_TRUE(w.AppOpen[size_t(i)]) << i;
    EXPECT_EQ(w.SelKey, "AP" + std::to_string(i));
    EXPECT_EQ(w.Sys->Children("AP" + std::to_string(i)), std::vector<std::string>{"PR-" + std::to_string(i)});
  }
  EXPECT_TRUE(QFile::exists(QString::fromStdString(base + "/App16.APP")));
  prompter.ExpectInput("Name of new application:", "App17");
  prompter.ExpectMessage("Too many applications open; Maximum is 16.", Answer::Ok);
  w.File_NewApp->trigger();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(base + "/App17.APP")));
  EXPECT_EQ(w.Sys->Children("!AP").size(), 16u);

  // Closing slot 3 frees it: the next application takes it and its key.
  Click("AP3");
  ASSERT_TRUE(w.File_CloseApp->isEnabled());
  w.File_CloseApp->trigger();
  EXPECT_FALSE(w.AppOpen[3]);
  EXPECT_FALSE(w.Sys->Exists("AP3"));
  EXPECT_NE(w.SelKey, "AP3") << "the tree's new selection was clicked";
  // The same file opened again selects its slot; another file takes slot 3.
  prompter.ExpectOpenFile(base + "/App5.APP");
  w.File_OpenApp->trigger();
  EXPECT_EQ(prompter.Dialogs().back().filter.find("*.APP"), 0u);
  EXPECT_EQ(prompter.Dialogs().back().title, "Restore application from...");
  EXPECT_FALSE(w.AppOpen[3]);
  EXPECT_EQ(w.SelKey, "AP5");
  prompter.ExpectOpenFile(base + "/App3.APP");
  w.File_OpenApp->trigger();
  EXPECT_TRUE(w.AppOpen[3]);
  EXPECT_EQ(w.SelKey, "AP3");
  prompter.ExpectOpenFile(std::nullopt);  // cancelled: nothing opens
  w.File_OpenApp->trigger();
  EXPECT_EQ(w.SelKey, "AP3");

  // Exit stores the sixteen; the next start opens them again, in their slots.
  w.File_Exit_Click();
  const std::string stored = Value("OpenApps/List");
  EXPECT_EQ(std::count(stored.begin(), stored.end(), ';'), 16);
  win.reset();
  MainWin& again = Make();
  ASSERT_TRUE(again.Form_Load(""));
  for (int i = 1; i <= 16; ++i) EXPECT_TRUE(again.AppOpen[size_t(i)]) << i;
  EXPECT_EQ(again.Sys->Text("AP3"), again.Clean(again.Apps[3]->Name));
  EXPECT_EQ(again.SelKey, "!AP");
}

TEST_F(AppsWindowTest, NewApplicationNamesThatCouldDoHarmAreRefused) {
  MainWin& w = Start({});
  QFile existing(dir.path() + "/Kept.APP");
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("someone's file");
  existing.close();
  for (const char* name : {"a/b", "x;y", "..", "up\\..\\x", "tab\tname", "   "}) {
    prompter.ExpectInput("Name of new application:", name);
    prompter.ExpectMessageContaining("Invalid application name", Answer::Ok);
    w.File_NewApp->trigger();
  }
  prompter.ExpectInput("Name of new application:", "Kept");
  prompter.ExpectMessageContaining("already exists", Answer::Ok);
  w.File_NewApp->trigger();
  ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
  EXPECT_EQ(existing.readAll(), "someone's file");
  prompter.ExpectInput("Name of new application:", std::nullopt);
  w.File_NewApp->trigger();
  for (int i = 1; i <= 16; ++i) EXPECT_FALSE(w.AppOpen[size_t(i)]);
  EXPECT_TRUE(w.Sys->Children("!AP").empty());
}

TEST_F(AppsWindowTest, SixteenAxesTheSeventeenthRefusedAndDeleteAsks) {
  MainWin& w = Start({{"cell", {}, {}}});
  const char* items[] = {"AP_NewAxRho", "AP_NewAxTau", "AP_NewAxPHI", "AP_NewAxPSI"};
  const char* families[] = {"RHO", "TAU", "PHI", "PSI"};
  Click("AP1");
  prompter.ExpectInput("Name of new axis:", std::nullopt);
  w.Item("AP_NewAxRho")->trigger();
  EXPECT_EQ(w.Sys->Children("AP1"), std::vector<std::string>{"PR-1"});
  for (int x = 1; x <= 16; ++x) {
    prompter.ExpectInput("Name of new axis:", "A" + std::to_string(x));
    w.Item(items[(x - 1) % 4])->trigger();
    const std::string key = "AX-" + std::to_string(x) + ",1";
    ASSERT_TRUE(w.Sys->Exists(key)) << x;
    EXPECT_EQ(w.SelKey, key);
    EXPECT_EQ(w.Apps[1]->WhatType(int16_t(x)), families[(x - 1) % 4]);
  }
  EXPECT_EQ(w.Sys->Text("AX-1,1"), "KV110c Axis: A1");
  EXPECT_EQ(w.Sys->Children("AX-3,1"), (std::vector<std::string>{"PA-3,1", "EV-3,1"}));
  EXPECT_EQ(w.Sys->Children("PA-3,1"),
            (std::vector<std::string>{"SU-3,1", "SM-3,1", "SF-3,1", "SC-3,1", "TU-3,1"}));
  prompter.ExpectInput("Name of new axis:", "A17");
  prompter.ExpectMessage("Can't create new axis: Too many axes in this application.", Answer::Ok);
  w.Item("AP_NewAxTau")->trigger();
  EXPECT_EQ(w.Sys->Children("AP1").size(), 17u);

  // Deleting asks; Cancel keeps the axis, its nodes and the selection.
  Click("AX-2,1");
  prompter.ExpectMessage("Really delete A2?", Answer::Cancel);
  w.Item("AX_Del")->trigger();
  EXPECT_TRUE(w.Sys->Exists("AX-2,1"));
  EXPECT_EQ(w.SelKey, "AX-2,1");
  prompter.ExpectMessage("Really delete A2?", Answer::Ok);
  w.Item("AX_Del")->trigger();
  EXPECT_FALSE(w.Sys->Exists("AX-2,1"));
  EXPECT_FALSE(w.Sys->Exists("PA-2,1"));
  EXPECT_EQ(w.Apps[1]->GetAxisName(2), "");
  EXPECT_NE(w.SelKey, "AX-2,1");
  // A name used already (case and blanks aside) is refused; the gap is filled next.
  Click("AP1");
  prompter.ExpectInput("Name of new axis:", " a3 ");
  prompter.ExpectMessage("Can't create new axis: Axis name already used.", Answer::Ok);
  w.Item("AP_NewAxPSI")->trigger();
  prompter.ExpectInput("Name of new axis:", "B2");
  w.Item("AP_NewAxPSI")->trigger();
  EXPECT_EQ(w.Sys->Children("AP1").back(), "AX-2,1") << "the new axis stands last";
  EXPECT_EQ(w.Sys->Text("AX-2,1"), "KS130i/d Axis: B2");
  // A stale selection does nothing: no application selected, no question.
  Click("#4");
  w.Item("AX_Del")->trigger();
  w.Item("AP_Close")->trigger();
  EXPECT_TRUE(w.AppOpen[1]);
  // Closing from the application's menu removes the whole branch.
  Click("AP1");
  w.Item("AP_Close")->trigger();
  EXPECT_FALSE(w.AppOpen[1]);
  EXPECT_FALSE(w.Sys->Exists("AX-1,1"));
}

// An application in a folder that takes no journal opens for viewing only and
// says so once, as a user without root's rights meets it: the window is
// driven in a child that takes the user nobody's ids.
TEST_F(AppsWindowTest, AnApplicationInAClosedFolderOpensForViewingOnlyAndSaysSoOnce) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user (nobody): run the tests as root";
  MainWin& w = Start({});
  const std::string base = QDir(dir.path()).canonicalPath().toStdString();
  const std::string closed = base + "/closed", path = closed + "/ours.APP";
  ASSERT_TRUE(QDir(dir.path()).mkdir("closed"));
  {
    Applic app;
    ASSERT_TRUE(app.Create(path).ok());
    ASSERT_TRUE(app.AddPgm("P").ok());
  }
  constexpr uid_t nobody = talvero::testing::kNobody;
  ASSERT_EQ(::chown(path.c_str(), nobody, nobody), 0);
  ::chmod(base.c_str(), 0755);
  ::chmod(closed.c_str(), 0555);
  const std::string got = talvero::testing::AsUser(nobody, [&] {
    prompter.ExpectMessage(path + " is open for viewing only: the folder " + closed + " does not allow new files.",
                           Answer::Ok);
    const bool opened = w.OpenAnApp(path);
    const bool refused = !w.Apps[1]->UpdatePgmStep(1, 0, "MA 1").ok();
    std::string out = std::string(opened && w.AppOpen[1] && w.Apps[1]->ReadOnly() && refused ? "viewing only" : "writable") + "|";
    for (const std::string& f : prompter.Failures()) out += f + "|";
    return out;
  });
  EXPECT_EQ(got, "viewing only|") << "the box, once, and no other";
  ::chmod(closed.c_str(), 0755);
}

}  // namespace
