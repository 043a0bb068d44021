// The servo wizard in the real window: the motor list, activation from the
// axis, the use rule, and OK's whole write list on application axes and
// drives, with its refusals and its warning.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <map>

#include "runtime/val.h"

#include "wizards/tests/wizard_fixture.h"

namespace {

using talvero::Answer;

class AxisSetupTest : public WizardTest {
 protected:
  std::vector<std::string> Run() {
    wizards::AxisSetup& d = Servo();
    d.show();  // activation
    d.ASW_OK_Click();
    EXPECT_FALSE(d.isVisible());
    return Journal(d.Access());
  }
  std::vector<std::string> Texts(const std::array<QLineEdit*, 9>& boxes) {
    std::vector<std::string> v;
    for (QLineEdit* b : boxes) v.push_back(b->isHidden() ? "-" : b->text().toStdString());
    return v;
  }
};

const std::vector<std::string> kAppRho = {
    "INER=0.001", "ACC=1000",  "DEC=1000",  "OSPD=20000", "KF=0.8",    "PPG=5.0",   "KP=0.043982",
    "KI=2.35619", "CM=2",      "PET=0.001", "FSV=0",      "DCM=1",     "EM=0",      "IMAX=6.25",
    "IRMS=2.5",   "BSPD=1500", "MIND=1",    "RRES=1",     "RFLX=1",    "MFLX=1",    "MPOL=6",
    "DM=1",       "REAL=0",    "KT=0.500",  "OSPD=10156", "FBF=500",   "DCV=0",     "DCC=0",
    "VFF=0",      "VFI=0",     "RPOL=2",    "EPPR=4096",  "FBS=1.0",   "FEED=0",    "COFF=0",
    "FEED=0",     "EPPR=4096"};
const std::vector<std::pair<std::string, std::string>> kRhoValues = {
    {"DM", "1"},     {"MPOL", "6"},   {"INER", "0.001"}, {"KT", "0.5"},    {"IRMS", "2.5"},
    {"FEED", "0"},   {"EPPR", "4096"}, {"COFF", "0"},    {"DCM", "0"},     {"PET", "0.001"},
    {"SPPR", "4096"}, {"ACC", "6000"}, {"FSV", "5000"},  {"CM", "2"}};

TEST_F(AxisSetupTest, ListAndPageAsCreated) {
  ASSERT_TRUE(Begin());
  wizards::AxisSetup& d = Servo();
  EXPECT_EQ(d.windowTitle(), "Axis Setup Wizard");
  ASSERT_EQ(d.MtrSelection->count(), 17);
  EXPECT_EQ(d.MtrSelection->itemText(0).toStdString(), "- Current Settings                ");
  EXPECT_EQ(d.MtrSelection->itemText(5).toStdString(), "- Generic Induction               ");
  EXPECT_EQ(d.MtrSelection->itemText(6), "SM-23-05-Y");
  EXPECT_EQ(d.MtrSelection->itemText(16), "AC-20-150-E");
  EXPECT_EQ(d.MtrSelection->currentIndex(), -1);
  EXPECT_EQ(d.Frame1->title(), "Motor");
  EXPECT_EQ(d.Frame2->title(), "Feedback");
  EXPECT_EQ(d.Frame3->title(), "Application");
  EXPECT_TRUE(sim.Log().empty()) << "loading reads nothing";
}

TEST_F(AxisSetupTest, AppAxesGetTheWholeSetUp) {
  ASSERT_TRUE(Begin());
  Store(1, kRhoValues);
  Click("AX-1,1");
  wizards::AxisSetup& d = Servo();
  d.show();
  EXPECT_EQ(d.MtrType->text(), "Type: Brushless");
  EXPECT_TRUE(d.ASet[0]->isChecked());
  EXPECT_FALSE(d.DA->isEnabled());
  EXPECT_TRUE(d.DA->isChecked());
  EXPECT_EQ(d.ASI[0]->text(), "0.001");
  EXPECT_EQ(d.ASI[3]->text(), "5000.0");
  d.ASW_OK_Click();
  EXPECT_EQ(Journal(d.Access()), kAppRho);
  EXPECT_TRUE(sim.Log().empty());
  EXPECT_EQ(Stored(1, "OSPD"), "10156");
  EXPECT_EQ(Stored(1, "EPPR"), "4096");
  EXPECT_EQ(Stored(1, "KP"), "0.043982");

  // A TAU axis adds its current loop after COFF.
  auto rho = kRhoValues;
  rho.push_back({"IKPQ", "4000"});
  Store(2, rho);
  Click("AX-2,1");
  std::vector<std::string> tau = kAppRho;
  const auto coff = std::find(tau.begin(), tau.end(), "COFF=0") + 1;
  tau.insert(coff, {"IKPQ=4000", "IKPD=4000", "CDLY=5000", "RGNL=60000", "RGNI=45"});
  EXPECT_EQ(Run(), tau);
  EXPECT_EQ(tau.size(), 42u);
  EXPECT_EQ(Stored(2, "RGNL"), "60000");
}

TEST_F(AxisSetupTest, DriveAtDefaultsTakesEveryWriteInOrder) {
  ASSERT_TRUE(Begin());
  Click("#1");
  wizards::AxisSetup& d = Servo();
  d.show();
  // The DC brush page shows the drive's resistance and reads it in box order.
  EXPECT_EQ(d.MtrType->text(), "Type: DC Brush");
  EXPECT_EQ(Texts(d.MP), (std::vector<std::string>{"-", "0.0001", "0.500", "1.200", "-", "-", "-",
                                                   "2.5", "1."}));
  EXPECT_TRUE(d.MP[3]->isEnabled());
  EXPECT_TRUE(d.FeedT[2]->isChecked());
  EXPECT_EQ(Sent(1, "="), (std::vector<std::string>{"=DM", "=COFF", "=INER", "=KT", "=MRES", "=IRMS",
                                                    "=FBS", "=DCM", "=PET", "=SPPR", "=ACC", "=FSV",
                                                    "=CM", "=DCM"}));
  // Velocity use: its inputs live, DA by the drive's DCM.
  EXPECT_TRUE(d.ASet[1]->isChecked());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d.ASet[i]->isEnabled(), i == 1) << i;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(d.ASI[i]->isEnabled(), i >= 1 && i <= 4) << i;
  EXPECT_TRUE(d.DA->isEnabled());
  EXPECT_FALSE(d.DA->isChecked());
  EXPECT_EQ(d.ASI[3]->text(), "833.3");
  sim.ClearLog();
  d.ASW_OK_Click();
  const std::vector<std::string> expected = {
      "INER=0.0001", "ACC=1000",   "DEC=1000",   "OSPD=20000", "KF=0.8",    "PPG=5.0",
      "KP=0.004398", "KI=0.23562", "CM=0",       "FSV=3000",   "ACC=999.96", "DEC=999.96",
      "PET=0",       "DCM=0",      "EM=0",       "IMAX=6.25",  "IRMS=2.5",  "BSPD=1500",
      "MIND=1",      "RRES=1",     "RFLX=1",     "MFLX=1",     "MPOL=2",    "DM=3",
      "REAL=0",      "KT=0.500",   "MRES=1.200", "OSPD=10156", "FBF=500",   "DCV=0",
      "DCC=0",       "VFF=0",      "VFI=0",      "RPOL=2",     "EPPR=4096", "FBS=1.0",
      "FEED=0",      "COFF=0",     "FEED=2",     "FBS=1"};
  EXPECT_EQ(Journal(d.Access()), expected);
  EXPECT_EQ(Sent(1, ":"), AsRequests(expected));
  for (const auto& e : d.Access().Journal()) EXPECT_TRUE(e.taken) << e.name;
  // The drive holds each last value.
  std::map<std::string, std::string> last;
  for (const auto& e : d.Access().Journal()) last[e.name] = e.value;
  for (const auto& [name, value] : last) EXPECT_EQ(rt::Val(DriveValue(1, name)), rt::Val(value)) << name;

  // Again: clearing the checked use reruns the rule, one more DCM read.
  sim.ClearLog();
  d.show();
  EXPECT_EQ(Sent(1, "=").size(), 15u);
  d.ASW_Cancel_Click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(Sent(1, ":").empty()) << "Cancel writes nothing";
}

TEST_F(AxisSetupTest, UseRuleFollowsEveryCheckChange) {
  ASSERT_TRUE(Begin());
  Click("#2");
  sim.Drive(2).SetValue("CM", "6");
  sim.Drive(2).SetValue("DCM", "1");
  wizards::AxisSetup& d = Servo();
  d.show();
  for (QCheckBox* b : d.ASet) {
    EXPECT_FALSE(b->isChecked());
    EXPECT_TRUE(b->isEnabled());
  }
  EXPECT_FALSE(d.ASW_OK->isEnabled());
  EXPECT_TRUE(d.DA->isChecked());
  d.ASet[2]->setChecked(true);
  EXPECT_TRUE(d.ASW_OK->isEnabled());
  EXPECT_TRUE(d.ASI[5]->isEnabled() && d.ASI[6]->isEnabled() && d.Label1[0]->isEnabled());
  EXPECT_FALSE(d.ASet[0]->isEnabled());
  EXPECT_FALSE(d.DA->isEnabled());
  d.ASet[2]->setChecked(false);
  d.ASet[3]->setChecked(true);
  EXPECT_TRUE(d.DA->isEnabled());
  for (QLineEdit* b : d.ASI) EXPECT_FALSE(b->isEnabled());
  // A TAU drive: resolver counts are 65536; CM 4 checks the slave use.
  sim.Drive(2).SetValue("CM", "4");
  sim.Drive(2).SetValue("FEED", "1");
  sim.Drive(2).SetValue("DM", "1");
  sim.Drive(2).SetValue("SPPR", "8192");
  d.ASW_Cancel_Click();
  d.show();
  EXPECT_TRUE(d.ASet[2]->isChecked());
  EXPECT_EQ(d.ASI[5]->text(), "8192");
  EXPECT_EQ(d.ASI[6]->text(), "65536");
  d.ASW_OK_Click();
  const auto j = Journal(d.Access());
  EXPECT_EQ(std::count(j.begin(), j.end(), "SPPR=8192"), 1);
  EXPECT_EQ(std::count(j.begin(), j.end(), "CM=5"), 1);
  EXPECT_EQ(DriveValue(2, "IKPQ"), "1");
}

TEST_F(AxisSetupTest, RefusedInputsWriteNothingAndKeepTheDialog) {
  ASSERT_TRUE(Begin());
  Click("#1");
  sim.Drive(1).SetValue("CM", "5");
  wizards::AxisSetup& d = Servo();
  struct Case { int box; const char* text; const char* message; };
  for (const Case& c : {Case{6, "", "The Slave side of the ratio must not be 0."},
                        Case{6, "none", "The Slave side of the ratio must not be 0."},
                        Case{-1, "1E300", "KP is out of range."}}) {
    d.show();
    if (c.box >= 0)
      d.ASI[c.box]->setText(c.text);
    else
      d.MP[1]->setText(c.text);
    sim.ClearLog();
    prompter.ExpectMessage(c.message, Answer::Ok);
    d.ASW_OK_Click();
    EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Critical);
    EXPECT_TRUE(d.isVisible()) << c.text;
    EXPECT_TRUE(Sent(1, ":").empty()) << c.text;
    d.ASW_Cancel_Click();
  }
}

TEST_F(AxisSetupTest, UnacknowledgedWritesAreNamedAfterTheRun) {
  ASSERT_TRUE(Begin());
  Click("#1");
  sim.AddFault(talvero::sim::FaultRule::Missing(1, ":!KP", -1));
  prompter.ExpectMessage("These parameters were not written to the axis:\nKP", Answer::Ok);
  const auto j = Run();
  EXPECT_EQ(j.size(), 40u) << "the run goes on to its end";
  EXPECT_EQ(Sent(1, ":!PET=0").size(), 1u);
  EXPECT_EQ(DriveValue(1, "KP"), "10");
}

TEST_F(AxisSetupTest, MotorRowsFillThePage) {
  ASSERT_TRUE(Begin());
  Click("#1");
  wizards::AxisSetup& d = Servo();
  d.show();
  // Generic induction: the drive's values, not the defaults.
  d.MtrSelection->setCurrentIndex(5);
  d.MtrSelection_Click();
  EXPECT_EQ(d.MtrType->text(), "Type: Induction");
  EXPECT_EQ(Texts(d.MP), (std::vector<std::string>{"8", "0.0001", "3000.0", "2.4", "0.5", "0.1",
                                                   "0.1", "2.5", "4000"}));
  EXPECT_FALSE(d.FeedT[2]->isEnabled());
  // Clicking the chosen option again keeps the count; another option sets its default.
  d.FeedT[0]->click();
  EXPECT_EQ(d.MP[8]->text(), "4000");
  d.FeedT[1]->click();
  EXPECT_EQ(d.MP[8]->text(), "2");
  EXPECT_EQ(d.MPL[8]->text(), "Pole Count");
  // A library motor locks the page; its feedback comes from the record.
  d.MtrSelection->setCurrentIndex(d.MtrSelection->findText("SM-23-05-Y"));
  d.MtrSelection_Click();
  EXPECT_EQ(d.MP[1]->text(), "1.2E-05");
  EXPECT_FALSE(d.MP[1]->isEnabled());
  EXPECT_TRUE(d.FeedT[0]->isChecked());
  EXPECT_TRUE(d.CTK->isChecked());
  EXPECT_FALSE(d.CTK->isEnabled());
  d.FeedT_Click(1);
  EXPECT_EQ(d.MPL[8]->text(), "Pole Count");
  EXPECT_EQ(d.MP[8]->text(), "2");
  EXPECT_FALSE(d.CTK->isChecked());
  // A name no longer in the table: said so, and back to the current settings.
  d.MtrSelection->addItem("XX-99-99");
  d.MtrSelection->setCurrentIndex(d.MtrSelection->count() - 1);
  prompter.ExpectBox({"Motor XX-99-99 is not in the library."}, Answer::Ok);
  d.MtrSelection_Click();
  EXPECT_EQ(d.MtrSelection->currentIndex(), 0);
  EXPECT_EQ(d.MtrType->text(), "Type: DC Brush");
  EXPECT_TRUE(d.MP[1]->isEnabled());
  d.ASW_Cancel_Click();
}

TEST_F(AxisSetupTest, TheMenuOpensTheWizardOfTheFamily) {
  ASSERT_TRUE(Begin());
  std::vector<std::string> opened;
  auto closeNext = [&]() {
    QTimer::singleShot(0, [&]() {
      if (Servo().isVisible()) {
        opened.push_back("AxisSetup");
        Servo().ASW_Cancel_Click();
      }
      if (Stepper().isVisible()) {
        opened.push_back("StepperSetup");
        Stepper().ASW_Cancel_Click();
      }
    });
  };
  for (const char* key : {"#1", "#5", "AX-3,1", "AX-2,1"}) {
    Click(key);
    closeNext();
    win->SetupWiz_Axis_Click();
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"AxisSetup", "StepperSetup", "StepperSetup", "AxisSetup"}));
  EXPECT_TRUE(Sent(1, ":").empty());
  EXPECT_TRUE(Sent(5, ":").empty());
}

}  // namespace
