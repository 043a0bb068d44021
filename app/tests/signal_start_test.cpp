// A signal that ends the program, sent while the start runs: the program
// starts as main() starts it, on its own link to simulated drives over a
// pseudo-terminal, with the real boxes. Whether the signal comes during the
// drive search or while the reopen of the applications asks its question,
// the program ends as File -> Exit does, within one try: status 0, the port
// let go, no request after the signal, the reopen list as the user had it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/guarded_run.h"
#include "app/subsystems.h"
#include "mainwin/signal_end.h"
#include "mainwin/splash.h"
#include "mainwin/startup_settings.h"
#include "mainwin/tests/pty_window_env.h"
#include "platform/jet/tests/test_files.h"
#include "platform/serial/serial_port_object.h"
#include "platform/ui/qt/qt_prompter.h"
#include "store/applic.h"
#include "store/tests/legacy_fixture.h"

namespace {

using std::chrono::steady_clock;
using talvero::jet::testing::Bytes;
using talvero::sim::Family;

enum class Phase { Search, Reopen };

class SignalDuringStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base = QDir(dir.path()).canonicalPath().toStdString();
    for (const char* name : {"/a.APP", "/b.APP"}) {
      Applic app;
      ASSERT_TRUE(app.Create(base + name).ok()) << name;
      app.AClose();
    }
    talvero::store::LegacyApplication old;
    old.axes = {{"X", "RHO", {{"KP", "1"}}}};
    legacy = talvero::store::testing::LegacyFile(old);
    talvero::jet::testing::Put(base + "/old.APP", legacy);
    // The earlier-version file in the middle: one opened before its question, one after.
    list = mainwin::JoinOpenApps({base + "/a", base + "/old", base + "/b"});
  }
  static app::GuardedApplication& App() { return *static_cast<app::GuardedApplication*>(qApp); }

  QTemporaryDir dir;
  std::string base, legacy, list;
};

TEST_F(SignalDuringStartTest, EndsTheProgramAsExitDoesAndKeepsTheReopenList) {
  const struct {
    const char* name;
    int signal;
    Phase phase;
    int second = 0;  // sent while the end waits for the try under way
  } cases[] = {
      {"SIGTERM during the search", SIGTERM, Phase::Search},
      {"SIGINT during the search", SIGINT, Phase::Search},
      {"SIGHUP during the search", SIGHUP, Phase::Search},
      {"SIGTERM during the reopen", SIGTERM, Phase::Reopen},
      {"SIGINT during the reopen", SIGINT, Phase::Reopen},
      {"SIGHUP during the reopen", SIGHUP, Phase::Reopen},
      {"SIGTERM during the search, then SIGINT", SIGTERM, Phase::Search, SIGINT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Drives everywhere but at node 3: the search's signal comes during its first try.
    talvero::sim::SimLine sim;
    for (int n = 1; n <= 31; ++n)
      if (n != 3) sim.AddDrive(n, Family::RHO);
    PtyWindowEnv env(sim);
    ASSERT_TRUE(env.Start()) << env.server.Error();
    env.settings.values = {{"Help/GS", "1"}, {"Setup/COM", "1"}, {"OpenApps/List", list}};
    talvero::QtPrompter boxes;
    talvero::SetPrompter(&boxes);
    auto win = std::make_unique<MainWin>(env.Env());
    app::InstallSubsystems(*win);
    auto end = std::make_unique<mainwin::SignalEnd>(*win);
    boxes.SetFallbackParent(win.get());

    std::atomic<bool> sent{false};
    steady_clock::time_point sentAt;
    size_t requestsAtSignal = 0;
    std::string boxShown;
    const auto Send = [&] {
      requestsAtSignal = sim.Log().size();
      sentAt = steady_clock::now();
      sent = true;
      ::kill(::getpid(), c.signal);
    };
    // The search's case: from outside, as soon as node 3 has been asked.
    std::thread sender([&] {
      if (c.phase != Phase::Search) return;
      const auto deadline = steady_clock::now() + std::chrono::seconds(20);
      while (steady_clock::now() < deadline) {
        for (const auto& r : sim.Log())
          if (r.node == 3 && !r.text) {
            Send();
            if (!c.second) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::kill(::getpid(), c.second);
            return;
          }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
    // The reopen's case: Control-C on the splash ends the search early, as a
    // user may, so the reopen comes at once; the signal once its question is
    // up. Any case: a program still running 3 s after the signal is ended for
    // the test (status 99).
    QTimer watch;
    const auto started = steady_clock::now();
    bool searchStopped = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (c.phase == Phase::Reopen && !searchStopped && win->SplashWindow()->KOV->text().contains("at Node")) {
        searchStopped = true;
        QCoreApplication::postEvent(win->SplashWindow(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "\x03"));
      }
      if (c.phase == Phase::Reopen && !sent) {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          boxShown = box->text().toStdString();
          Send();
        }
      }
      const auto now = steady_clock::now();
      if ((sent && now - sentAt > std::chrono::seconds(3)) || now - started > std::chrono::seconds(30))
        QCoreApplication::exit(99);
    });
    watch.start(20);

    const int status = app::RunWindow(App(), *win, "");
    const double seconds = std::chrono::duration<double>(steady_clock::now() - sentAt).count();
    sender.join();
    watch.stop();
    talvero::SetPrompter(&env.prompter);
    ASSERT_TRUE(sent) << "the moment never came";
    std::printf("%s: status %d after %.2f s\n", c.name, status, seconds);
    EXPECT_EQ(status, 0);
    // A failed try waits out the first byte, then the flush: about 1.55 s.
    EXPECT_LT(seconds, 2.0) << "within one try";
    EXPECT_EQ(end->Signal(), c.signal);
    EXPECT_EQ(sim.Log().size(), requestsAtSignal) << "no request after the signal";
    EXPECT_LE(win->Link.theHandle(), 0) << "the port closed";
    talvero::SerialPortObject other;
    EXPECT_GT(other.OpenDevice(env.server.SlavePath()), 0) << "and free for another program";
    other.Close();
    EXPECT_EQ(env.settings.values["OpenApps/List"], list) << "the reopen list as it was";
    EXPECT_FALSE(win->AppOpen[1]) << "what was reopened is closed again";
    EXPECT_EQ(Bytes(base + "/old.APP"), legacy) << "the question was not taken for a yes";
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(base + "/old.APP.jet")));
    if (c.phase == Phase::Reopen) {
      EXPECT_NE(boxShown.find("old.APP was written by an earlier version"), std::string::npos) << boxShown;
      EXPECT_TRUE(searchStopped);
    }

    end.reset();
    win.reset();
    App().ClearFailure();
  }
}

}  // namespace
