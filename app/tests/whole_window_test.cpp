// The main window as the program has it, every subsystem installed: it
// starts and closes cleanly, and a failure that escapes an event closes the
// user's applications and says so once.
#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QTimer>
#include <new>
#include <stdexcept>

#include "app/guarded_run.h"
#include "app/subsystems.h"
#include "mainwin/tests/sim_window_fixture.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;

class WholeWindowTest : public SimWindowTest {
 protected:
  void SetUp() override {
    SimWindowTest::SetUp();
    oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());  // new applications go to the current folder
  }
  void TearDown() override {
    QDir::setCurrent(oldDir);
    SimWindowTest::TearDown();
  }
  void Install(MainWin& w) override { app::InstallSubsystems(w); }
  static app::GuardedApplication& App() { return *static_cast<app::GuardedApplication*>(qApp); }
  QString oldDir;
};

TEST_F(WholeWindowTest, StartsOnALineAndClosesWithNothingLeftBehind) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  AddDrive(4, Family::TAU, "KV110i", "Lift");
  ASSERT_TRUE(StartOnLine());
  win->show();
  Click("#1");
  win->TStat_Timer();
  QCoreApplication::processEvents();
  QCloseEvent close;
  QCoreApplication::sendEvent(win.get(), &close);
  EXPECT_TRUE(close.isAccepted());
  EXPECT_EQ(settings.values["OpenApps/List"], "");
  // The window's children go, the panel's watch on them with them.
  win.reset();
  QCoreApplication::processEvents();
}

TEST_F(WholeWindowTest, AFailureThatEscapesAnEventClosesTheApplicationsAndSaysSoOnce) {
  ASSERT_TRUE(Start());
  prompter.ExpectInput("Name of new application:", "Work");
  win->File_NewApp->trigger();
  ASSERT_TRUE(win->AppOpen[1]);
  QTimer::singleShot(0, win.get(), [] { throw std::bad_alloc(); });
  QTimer::singleShot(0, win.get(), [] { throw std::runtime_error("a second failure"); });
  prompter.ExpectMessage(app::FailureText("out of memory"), Answer::Ok);
  EXPECT_EQ(app::RunLoadedWindow(App(), *win), 1);
  EXPECT_FALSE(win->AppOpen[1]) << "closed as at any exit";
  EXPECT_NE(settings.values["OpenApps/List"].find("Work"), std::string::npos) << "and opened again at the next start";
}

}  // namespace
