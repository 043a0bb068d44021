// The main window as the program has it, every subsystem installed: it
// starts and closes cleanly, and a failure that escapes an event closes the
// user's applications and says so once.
#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <new>
#include <stdexcept>

#include "app/guarded_run.h"
#include "app/subsystems.h"
#include "mainwin/long_operation.h"
#include "mainwin/signal_end.h"
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
    App().ClearFailure();
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

TEST_F(WholeWindowTest, AFailureDuringTheStartEndsTheProgramAtOnce) {
  const struct {
    const char* name;
    bool inEvent;  // thrown by an event the start lets run, else by the start itself
  } cases[] = {{"thrown by the start", false}, {"thrown by an event during the start", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Build();
    bool thrown = false;
    const auto Throw = [&] {
      thrown = true;
      throw std::runtime_error("the drive search failed");
    };
    pump = [&] {
      if (!thrown && !c.inEvent) Throw();
    };
    if (c.inEvent) QTimer::singleShot(0, win.get(), Throw);
    // Were the window's loop to run after all, this ends it.
    bool loopRan = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
      loopRan = true;
      QCoreApplication::exit(0);
    });
    watchdog.start(500);
    prompter.ExpectMessage(app::FailureText("the drive search failed"), Answer::Ok);
    EXPECT_EQ(app::RunWindow(App(), *win, ""), 1);
    EXPECT_TRUE(thrown);
    EXPECT_FALSE(loopRan) << "the program ran on after the failure";
    pump = nullptr;
    App().ClearFailure();
    win.reset();
  }
}

TEST_F(WholeWindowTest, ASignalEndsTheProgramAsExitDoes) {
  const struct {
    const char* name;
    int signal;
    const char* busy;  // what runs when it comes
  } cases[] = {
      {"SIGTERM, idle", SIGTERM, ""},
      {"SIGHUP with a box open", SIGHUP, "box"},
      {"SIGINT during a drive operation", SIGINT, "operation"},
  };
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(StartOnLine());
    const std::string name = "Work" + std::to_string(c.signal);
    prompter.ExpectInput("Name of new application:", name);
    win->File_NewApp->trigger();
    ASSERT_TRUE(win->AppOpen[1]);
    auto end = std::make_unique<mainwin::SignalEnd>(*win);
    std::string busy = c.busy;
    bool finished = false;  // the box or the operation ended before the window did
    QTimer::singleShot(0, win.get(), [&] {
      ::raise(c.signal);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      if (busy == "box") {
        QDialog box(win.get());
        finished = box.exec() == QDialog::Rejected && win->Loaded();
      } else if (busy == "operation") {
        mainwin::LongOperation op(*win, 1);
        while (!op.StopRequested() && std::chrono::steady_clock::now() < deadline)
          QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        finished = op.StopRequested() && win->Loaded();
      }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    EXPECT_EQ(app::RunLoadedWindow(App(), *win), 0);
    EXPECT_EQ(end->Signal(), c.signal);
    end.reset();
    EXPECT_EQ(finished, !busy.empty()) << "asked to finish first";
    EXPECT_FALSE(win->AppOpen[1]) << "applications closed";
    EXPECT_NE(settings.values["OpenApps/List"].find(name), std::string::npos) << "and listed";
    EXPECT_LE(win->Link.theHandle(), 0) << "the port closed";
    win.reset();
    settings.values.erase("OpenApps/List");
  }
}

}  // namespace

// A tree click is one read: once its view finds the drive silent, the click's
// own status read asks nothing more, so a drive known silent gets one try in
// all and the window never waits out two tries in a row.
TEST_F(WholeWindowTest, AClickWhoseViewFoundTheDriveSilentAsksItNothingMore) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  for (const char* key : {"SU1", "LE1,0", "PP1"}) {  // parameters, a library program, the active program
    SCOPED_TRACE(key);
    sim.ClearFaults();
    Click("#1");
    sim.AddFault(talvero::sim::FaultRule::Silent(1));
    win->Answers.Failed(1);  // as the status tick leaves a silent drive
    sim.ClearLog();
    Click(key);
    const std::vector<std::string> sent = sim.Requests(1);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent, std::vector<std::string>{sent.front()});
  }
}
