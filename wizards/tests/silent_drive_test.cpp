// Each wizard's read of a drive that does not answer, at the program's
// tries and time-outs on the fake clock: the first request that fails all
// its tries ends the read, a drive known to be silent gets one try, the
// window runs between tries, nothing the drive did not give is shown or
// written, and the page fills by itself once the drive answers again.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>

#include "mainwin/edit_list_box.h"
#include "wizards/io_config.h"
#include "wizards/tests/silent_drive_fixture.h"
#include "wizards/tests/wizard_fixture.h"
#include "wizards/tune.h"

namespace {

using talvero::sim::FaultRule;

class SilentWizardTest : public SilentDriveTest<WizardTest> {
 protected:
  wizards::Tune& Tune() { return *wizards::TheTune(); }
  wizards::IOConfig& IO() { return *wizards::TheIOConfig(); }
  static bool AllEmpty(const std::vector<QLineEdit*>& boxes) {
    for (QLineEdit* b : boxes)
      if (!b->text().isEmpty()) return false;
    return true;
  }
};

struct EntryPoint {
  const char* name;
  int node;
  std::function<void()> before;   // on the answering drive
  std::function<void()> open;     // the read under test
  std::string firstRequest;       // the one request sent
  std::function<std::string()> notice;  // the text that says the drive does not answer
  std::function<bool()> noValue;  // nothing shown as read
  std::function<void()> write;    // OK, Change or Set
  std::function<bool()> filled;   // read again and shown
  std::function<void()> close;
};

TEST_F(SilentWizardTest, EachReadEndsAtItsFirstFailedRequestAndWritesNothingItDidNotRead) {
  ASSERT_TRUE(Begin());
  wizards::AxisSetup& servo = Servo();
  wizards::StepperSetup& stepper = Stepper();
  auto servoBoxes = [&]() {
    std::vector<QLineEdit*> v(servo.MP.begin(), servo.MP.end());
    v.insert(v.end(), servo.ASI.begin(), servo.ASI.end());
    return v;
  };
  auto choose = [](wizards::WizardDialog& d, int row) {
    d.MtrSelection->setCurrentIndex(row);
    d.MtrSelection_Click();
  };
  const EntryPoint entries[] = {
      {"servo wizard's first page", 1, [] {}, [&] { servo.show(); }, "=DM",
       [&] { return servo.Notice->isVisible() ? servo.Notice->text().toStdString() : std::string(); },
       [&] {
         return AllEmpty(servoBoxes()) && servo.MtrType->text().isEmpty() && !servo.ASW_OK->isEnabled() &&
                !servo.Frame1->isEnabled() && !servo.Frame3->isEnabled();
       },
       [&] { servo.ASW_OK_Click(); },
       [&] { return !servo.Unread() && servo.MtrType->text() == "Type: DC Brush" && servo.MP[1]->text() == "0.001" &&
                    servo.ASI[5]->text() == "200" && servo.ASW_OK->isEnabled() && servo.Notice->isHidden(); },
       [&] { servo.ASW_Cancel_Click(); }},
      {"servo wizard's page change", 1, [&] { servo.show(); }, [&] { choose(servo, 5); }, "=MPOL",
       [&] { return servo.Notice->isVisible() ? servo.Notice->text().toStdString() : std::string(); },
       [&] { return AllEmpty(servoBoxes()) && !servo.ASW_OK->isEnabled() && !servo.MtrSelection->isEnabled(); },
       [&] { servo.ASW_OK_Click(); },
       [&] { return !servo.Unread() && servo.MtrSelection->currentIndex() == 0 && servo.MP[1]->text() == "0.001"; },
       [&] { servo.ASW_Cancel_Click(); }},
      {"stepper wizard's first page", 5, [] {}, [&] { stepper.show(); }, "=DM",
       [&] { return stepper.Notice->isVisible() ? stepper.Notice->text().toStdString() : std::string(); },
       [&] {
         return AllEmpty({stepper.MP.begin(), stepper.MP.end()}) && !stepper.ASW_OK->isEnabled() &&
                !stepper.Frame1->isEnabled() && !stepper.FeedT[0]->isChecked() && !stepper.FeedT[1]->isChecked();
       },
       [&] { stepper.ASW_OK_Click(); },
       [&] { return !stepper.Unread() && stepper.MP[0]->text() == "200" && stepper.ASW_OK->isEnabled(); },
       [&] { stepper.ASW_Cancel_Click(); }},
      {"stepper wizard's page change", 5, [&] { stepper.show(); choose(stepper, 1); }, [&] { choose(stepper, 0); },
       "=DM", [&] { return stepper.Notice->isVisible() ? stepper.Notice->text().toStdString() : std::string(); },
       [&] { return AllEmpty({stepper.MP.begin(), stepper.MP.end()}) && !stepper.ASW_OK->isEnabled(); },
       [&] { stepper.ASW_OK_Click(); },
       [&] { return !stepper.Unread() && stepper.MP[0]->text() == "200"; },
       [&] { stepper.ASW_Cancel_Click(); }},
      {"tuning window", 1, [] {}, [&] { Tune().show(); }, "=PPG",
       [&] {
         const std::string t = Tune().windowTitle().toStdString();
         return t.substr(0, 15) == "Tuning Wizard (" ? t.substr(15, t.size() - 16) : t;
       },
       [&] { return Tune().PosGain->text().isEmpty() && !Tune().Set->isEnabled() && !Tune().Damping->isEnabled(); },
       [&] { Tune().Set_Click(); },
       [&] { return !Tune().Unread() && Tune().windowTitle() == "Tuning Wizard (Node 1)" && Tune().Set->isEnabled(); },
       [&] { Tune().hide(); }},
      {"I/O configuration", 1, [] {}, [&] { win->IOConfigLoadHook(); IO().show(); }, "=IOCW",
       [&] { return IO().Notice->isVisible() ? IO().Notice->text().toStdString() : std::string(); },
       [&] { return IO().IOL->isHidden() && IO().IOL->ListCount() == 0 && !IO().IOSet->isEnabled(); },
       [&] { IO().IOSet_Click(); },
       [&] { return !IO().Unread() && IO().IOL->isVisible() && IO().IOL->ListCount() == 9 && IO().IOCW == 72; },
       [&] { IO().IOExit_Click(); }},
  };
  // Gains the tuning window reads as its own.
  sim.Drive(1).SetValue("INER", "0.001");
  sim.Drive(1).SetValue("IOCW", "216");
  sim.Drive(1).SetValue("KP", "0.043982");
  sim.Drive(1).SetValue("KI", "2.35619");
  sim.Drive(1).SetValue("KF", "0.8");
  for (const EntryPoint& e : entries) {
    for (const bool known : {false, true}) {
      const std::string what = std::string(e.name) + (known ? ", known silent" : ", silent for the first time");
      const Cost cost = Silent(
          e.node, known,
          [&] {
            Click("#" + std::to_string(e.node));
            win->Link.Retries = 2;
            e.before();
          },
          e.open);
      ExpectOneFailedRequest(cost, known, e.firstRequest, what);
      EXPECT_EQ(e.notice(), "Node " + std::to_string(e.node) + " does not answer") << what;
      EXPECT_TRUE(e.noValue()) << what;

      // The drive answers again: what was not read is still not written,
      // and the page fills once the window hears the drive.
      sim.ClearFaults();
      sim.ClearLog();
      e.write();
      EXPECT_TRUE(sim.Requests(e.node).empty()) << what;
      win->DriveAnswered(e.node);
      EXPECT_TRUE(e.filled()) << what;
      e.close();
    }
  }
}

// Window events run while a modal wizard's opening read waits for a try,
// before the dialog's own loop: an Escape, a Cancel or a close taken then
// would hide it and leave the program waiting on an invisible dialog.
TEST_F(SilentWizardTest, AModalWizardTakesNoInputWhileItsOpeningReadWaits) {
  ASSERT_TRUE(Begin());
  win->Link.Retries = 8;  // a retry cycle, with events between its tries
  struct Case {
    const char* node;
    QDialog* dialog;
    std::function<void()> open;  // the menu's way, modal
  } cases[] = {
      {"#1", &Servo(), [&] { win->SetupWiz_Axis_Click(); }},
      {"#5", &Stepper(), [&] { win->SetupWiz_Axis_Click(); }},
      {"#1", &IO(), [&] { win->SetupWiz_IO_Click(); }},
  };
  for (const Case& c : cases) {
    const std::string what = c.dialog->windowTitle().toStdString() + " on " + c.node;
    sim.ClearFaults();
    Click(c.node);
    win->Answers.Answered(c.node[1] - '0');  // a retry cycle, with events between its tries
    sim.AddFault(FaultRule::Silent(0));
    QDialog& d = *c.dialog;
    bool tried = false, hung = false, closedByUs = false;
    pump = [&]() {
      if (tried || !d.isVisible()) return;
      tried = true;
      QTest::keyClick(&d, Qt::Key_Escape);
      for (QPushButton* b : d.findChildren<QPushButton*>()) b->click();
      d.close();
    };
    // Once the read is over and the dialog's loop runs, Cancel ends it.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&]() {
      if (!d.isVisible() || !d.isEnabled() || wizards::TheAxisSetup()->Access().Reading()) return;
      closedByUs = true;
      d.reject();
    });
    closer.start(0);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&]() {
      hung = true;
      d.show();
      d.reject();
    });
    watchdog.start(5000);
    c.open();
    pump = nullptr;
    EXPECT_TRUE(tried) << what;
    EXPECT_FALSE(hung) << what << ": the dialog hid before its loop ran";
    EXPECT_TRUE(closedByUs) << what;
    EXPECT_FALSE(d.isVisible()) << what;
    EXPECT_TRUE(Sent(5, ":").empty() && Sent(1, ":").empty()) << what << ": nothing written";
  }
}

}  // namespace
