// The tuning window on drives and application axes: what it reads at each
// activation, the figures it shows, what "Change" writes, and that it leaves
// steppers and non-axes alone.
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "platform/ui/passing_prompter.h"
#include "wizards/tests/wizard_fixture.h"
#include "runtime/cstr.h"
#include "platform/ui/qt/window_factory.h"
#include "platform/ui/qt/window_place.h"
#include "wizards/tune.h"

namespace {

using talvero::Answer;

// Each box as a real window over the tuning window: it takes the focus
// while it shows and gives it back when it closes, as a message box does.
class WindowedPrompter : public talvero::PassingPrompter {
 public:
  using PassingPrompter::PassingPrompter;
  Answer Message(const talvero::MessageBox& box) override {
    QWidget* back = QApplication::activeWindow();
    QWidget w;
    w.show();
    w.activateWindow();
    QCoreApplication::processEvents();
    const Answer a = inner_.Message(box);
    w.hide();
    if (back) back->activateWindow();
    QCoreApplication::processEvents();
    return a;
  }
};
using talvero::sim::FaultRule;

class TuneTest : public WizardTest {
 protected:
  wizards::Tune& T() { return *wizards::TheTune(); }
  // The menu's way in: Form_Start, shown, activated.
  void Open() {
    win->SetupWiz_T_Click();
    QCoreApplication::processEvents();
  }
  void ExpectDefaultsBox() {
    prompter.ExpectBox({"Could not recoconize tuning values from the axis.\nDefaults loaded."}, Answer::Ok);
  }
  std::vector<int> Sliders() {
    return {T().Damping->value(), T().Response->value(), T().FeedForward->value(), T().XI->value()};
  }
  std::vector<std::string> Labels() {
    return {T().Label_D->text().toStdString(), T().Label_R->text().toStdString(),
            T().Label_FF->text().toStdString()};
  }
  // The axis' gains as issue 17's set-up leaves them for INER 0.001.
  static constexpr std::pair<const char*, const char*> kSetUp[] = {
      {"INER", "0.001"}, {"KP", "0.043982"}, {"KI", "2.35619"}, {"KF", "0.8"}, {"PPG", "5"}};
};

TEST_F(TuneTest, ApplicationAxisDefaultsAndChange) {
  ASSERT_TRUE(Begin());
  struct Case { const char* iner; std::vector<std::string> written; };
  const Case cases[] = {
      {"0.001", {"KP=0.04398226", "KI=2.356193", "KF=0.8", "PPG=5"}},
      {"0.0001", {"KP=0.004398226", "KI=0.2356192", "KF=0.8", "PPG=5"}},
  };
  Click("AX-1,1");
  for (const Case& c : cases) {
    Store(1, {{"INER", c.iner}, {"KP", "0"}, {"KI", "0"}});
    ExpectDefaultsBox();
    T().Form_Activate();
    EXPECT_EQ(T().windowTitle(), "Tuning Wizard (Offline App)");
    T().Def_Click();
    sim.ClearLog();
    T().Set_Click();
    EXPECT_EQ(Journal(Servo().Access()), c.written) << c.iner;
    for (const std::string& w : c.written) {
      const size_t eq = w.find('=');
      EXPECT_EQ(Stored(1, w.substr(0, eq)), w.substr(eq + 1)) << c.iner;
    }
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(Sliders(), (std::vector<int>{70, 150, 80, 0}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Damping (1.40)", "Response (23.9)", "Feedforward Gain (80%)"}));
    EXPECT_EQ(T().PosGain->text(), "5.000");
  }
}

TEST_F(TuneTest, GainsReadBackAsSliders) {
  ASSERT_TRUE(Begin());
  Click("AX-1,1");
  // The set-up's own gains: no box, and Change writes what the whole-number
  // sliders give.
  for (auto [n, v] : kSetUp) Store(1, {{n, v}});
  T().Form_Activate();
  EXPECT_EQ(Sliders(), (std::vector<int>{70, 150, 80, 0}));
  EXPECT_EQ(T().Response->maximum(), 300);
  EXPECT_EQ(T().Response->tickInterval(), 4);
  T().Set_Click();
  EXPECT_EQ(Journal(Servo().Access()), (std::vector<std::string>{"KP=0.04398226", "KI=2.356193", "KF=0.8", "PPG=5"}));

  Store(1, {{"KP", "0.293215"}, {"KI", "104.7198"}});
  T().Form_Activate();
  EXPECT_EQ(Sliders(), (std::vector<int>{70, 1000, 80, 2}));
  EXPECT_EQ(T().Response->maximum(), 2700);
  EXPECT_EQ(T().Response->tickInterval(), 36);
  EXPECT_EQ(T().Label_R->text(), "Response (159.2)");

  for (auto [kf, ff] : {std::pair{"0.125", 12}, {"0.375", 38}}) {
    Store(1, {{"KF", kf}});
    T().Form_Activate();
    EXPECT_EQ(T().FeedForward->value(), ff) << kf;
  }
  // Beyond the sliders: the defaults, and the operator is told.
  for (auto [n, v] : {std::pair{"KF", "1.5"}, {"KI", "1E+12"}}) {
    Store(1, {{n, v}});
    ExpectDefaultsBox();
    T().Form_Activate();
    EXPECT_EQ(Sliders(), (std::vector<int>{70, 150, 80, 0})) << n;
    Store(1, {kSetUp[2], kSetUp[3]});
  }
}

TEST_F(TuneTest, DriveAtItsDefaultsLoadsTheDefaultsAndChangeWritesThem) {
  ASSERT_TRUE(Begin());
  Click("#1");
  ExpectDefaultsBox();
  Open();
  EXPECT_TRUE(wizards::TuneVisible());
  EXPECT_EQ(T().windowTitle(), "Tuning Wizard (Node 1)");
  EXPECT_EQ(Sent(1, "="), (std::vector<std::string>{"=PPG", "=CM", "=INER", "=KF", "=KP", "=KI"}));
  EXPECT_EQ(Sliders(), (std::vector<int>{70, 150, 80, 0}));
  EXPECT_EQ(T().PosGain->text(), "5.000");
  sim.ClearLog();
  T().Set_Click();
  EXPECT_EQ(Sent(1, ""), AsRequests({"KP=0.004398226", "KI=0.2356192", "KF=0.8", "PPG=5"}));
  EXPECT_EQ(DriveValue(1, "KI"), "0.2356192");
  EXPECT_TRUE(T().isVisible()) << "Change leaves the window open";

  // A write the drive does not take is named once, after the writes.
  sim.AddFault(FaultRule::Missing(1, ":!KP", -1));
  prompter.ExpectMessage("These parameters were not written to the axis:\nKP", Answer::Ok);
  T().Set_Click();
  T().hide();
  EXPECT_FALSE(wizards::TuneVisible());
}

TEST_F(TuneTest, ClosingItsOwnBoxIsNoReturnOfTheOperator) {
  ASSERT_TRUE(Begin());
  WindowedPrompter boxes(prompter);
  Click("#1");
  ExpectDefaultsBox();
  Open();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &T());
  EXPECT_EQ(Sent(1, "=").size(), 6u) << "one reading, one box";

  // Going to another window and back is a return: the axis is read again.
  QWidget other;
  other.show();
  other.activateWindow();
  QCoreApplication::processEvents();
  sim.ClearLog();
  ExpectDefaultsBox();
  T().activateWindow();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(Sent(1, "=").size(), 6u);
  T().hide();
}

TEST_F(TuneTest, OpensOverTheMainWindowAndWhollyOnTheScreen) {
  ASSERT_TRUE(Begin());
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const struct Case {
    const char* name;
    QPoint mainAt;  // the main window's top left, from the area's bottom right
  } cases[] = {
      {"main window in the middle", {-(area.width() + 500) / 2, -(area.height() + 400) / 2}},
      {"main window at the bottom right corner, partly off", {-200, -150}},
      {"main window above and left, partly off", {-area.width() - 300, -area.height() - 300}},
  };
  win->show();
  win->resize(500, 400);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    talvero::TheWindowFactory().Destroy("Tune");  // a window opens afresh
    win->move(area.bottomRight() + c.mainAt);
    Click("#1");
    ExpectDefaultsBox();
    Open();
    ASSERT_TRUE(T().isVisible());
    const QRect tune = T().frameGeometry();
    EXPECT_TRUE(area.contains(tune));
    // As near the main window's centre as the screen lets it be.
    const QRect over = talvero::KeepWithin(QRect(QPoint(), tune.size()).translated(
                                               win->frameGeometry().center() - QRect(QPoint(), tune.size()).center()),
                                           area);
    EXPECT_LE((tune.topLeft() - over.topLeft()).manhattanLength(), 4);
    T().hide();
  }
  win->hide();
}

TEST_F(TuneTest, BadInertiaHidesTheWindowAndWritesNothing) {
  ASSERT_TRUE(Begin());
  const std::string box = "Bad inertia value loaded in the axis.\nPlease set the inertia to a valid value.";
  // An inertia the drive did not give is no bad inertia: the window says the
  // drive does not answer and reads nothing more.
  Click("#1");
  sim.AddFault(FaultRule::Missing(1, "=INER", -1));
  Open();
  EXPECT_TRUE(T().isVisible());
  EXPECT_EQ(T().windowTitle(), "Tuning Wizard (Node 1 does not answer)");
  EXPECT_EQ(Sent(1, "="), (std::vector<std::string>{"=PPG", "=CM", "=INER", "=INER"}));
  T().Set_Click();
  EXPECT_TRUE(Sent(1, ":").empty());
  T().hide();
  sim.ClearFaults();

  Click("AX-1,1");
  for (const char* iner : {"0", "-0.001", "MISSING"}) {
    Store(1, {{"INER", iner}, {"KP", "0.043982"}, {"KI", "2.35619"}});
    prompter.ExpectBox({box}, Answer::Ok);
    Open();
    EXPECT_FALSE(T().isVisible()) << iner;
    EXPECT_EQ(Stored(1, "KP"), "0.043982") << iner;
  }
}

TEST_F(TuneTest, SlidersLabelsAndRevert) {
  ASSERT_TRUE(Begin());
  Click("AX-1,1");
  for (auto [n, v] : kSetUp) Store(1, {{n, v}});
  T().Form_Activate();
  const std::vector<int> found = Sliders();
  const std::vector<std::string> labels = Labels();
  const float kp = T().KP, ki = T().KI;

  for (auto [d, text] : {std::pair{10, "Damping (0.20)"}, {90, "Damping (1.80)"}}) {
    T().Damping->setValue(d);  // as the operator moves it
    EXPECT_EQ(T().Label_D->text(), text);
  }
  // External inertia 3, response 2000, then back to class 0: pulled to 300.
  T().XI->setValue(3);
  EXPECT_EQ(T().Response->maximum(), 8100);
  T().Response->setValue(2000);
  T().XI->setValue(0);
  EXPECT_EQ(T().Response->value(), 300);
  EXPECT_EQ(T().Label_R->text(), "Response (47.7)");
  EXPECT_EQ(rt::CStrSingle(T().KI), "9.424771");  // 300² / c
  T().FeedForward->setValue(12);
  T().PosGain->setText("7");
  EXPECT_EQ(T().PPG, 7.0f);

  // Ticking the position loop changes no gain.
  const float before[] = {T().KP, T().KI, T().KF, T().PPG};
  T().SimuPL->setChecked(true);
  T().SimuPL->setChecked(false);
  T().SimuPL->setChecked(true);
  EXPECT_EQ((std::vector<float>{T().KP, T().KI, T().KF, T().PPG}), (std::vector<float>(before, before + 4)));

  sim.ClearLog();
  T().Revert_Click();
  EXPECT_EQ(Sliders(), found);
  EXPECT_EQ(Labels(), labels);
  EXPECT_EQ(T().KP, kp);
  EXPECT_EQ(T().KI, ki);
  EXPECT_EQ(T().PosGain->text(), "5.000");
  EXPECT_FALSE(T().SimuPL->isChecked());
  EXPECT_EQ(T().Response->maximum(), 300);
  EXPECT_EQ(Stored(1, "KP"), "0.043982") << "Revert writes nothing";

  // A typed gain is written as a number and shown with three places.
  T().PosGain->setText("7");
  T().Set_Click();
  EXPECT_EQ(Stored(1, "PPG"), "7");
  EXPECT_EQ(T().PosGain->text(), "7.000");
}

TEST_F(TuneTest, FollowsTheTreeAndLeavesStepperAndNonAxesAlone) {
  ASSERT_TRUE(Begin());
  for (auto [n, v] : kSetUp) Store(1, {{n, v}});
  Store(1, {{"KI", "104.7198"}, {"KP", "0.293215"}});
  Click("#1");
  ExpectDefaultsBox();
  Open();
  EXPECT_EQ(T().windowTitle(), "Tuning Wizard (Node 1)");

  // The operator picks the application axis and comes back to the window.
  Click("AX-1,1");
  QEvent back(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&T(), &back);
  EXPECT_EQ(T().windowTitle(), "Tuning Wizard (Offline App)");
  EXPECT_EQ(Sliders(), (std::vector<int>{70, 1000, 80, 2}));
  EXPECT_TRUE(T().Set->isEnabled());

  for (const char* key : {"#5", "AX-3,1", "!SY"}) {
    Click(key);
    sim.ClearLog();
    T().Form_Activate();
    EXPECT_EQ(T().windowTitle(), "Tuning Wizard (No Servo Axis)") << key;
    EXPECT_TRUE(sim.Log().empty()) << key << ": nothing read";
    for (QWidget* w : std::initializer_list<QWidget*>{T().Damping, T().Response, T().FeedForward, T().XI,
                                                      T().PosGain, T().Revert, T().Def, T().Set})
      EXPECT_FALSE(w->isEnabled()) << key << " " << w->objectName().toStdString();
  }
  // Back on a servo axis the window works again.
  Click("#3");
  ExpectDefaultsBox();
  T().Form_Activate();
  EXPECT_EQ(T().windowTitle(), "Tuning Wizard (Node 3)");
  EXPECT_TRUE(T().Set->isEnabled());

  // The tree moved to the stepper after the last read: Change writes nothing.
  Click("#5");
  sim.ClearLog();
  T().Set_Click();
  EXPECT_TRUE(sim.Log().empty());
  Click("AX-3,1");
  Store(3, {{"KP", "7"}});
  T().Set_Click();
  EXPECT_EQ(Stored(3, "KP"), "7");
  EXPECT_FALSE(T().Set->isEnabled());
  T().hide();
}

}  // namespace
