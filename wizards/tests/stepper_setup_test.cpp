// The stepper wizard in the real window: rows, states, and OK's 21 writes to
// a drive and to an application axis.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "wizards/tests/wizard_fixture.h"

namespace {

class StepperSetupTest : public WizardTest {
 protected:
  void Choose(const QString& row) {
    wizards::StepperSetup& d = Stepper();
    d.MtrSelection->setCurrentIndex(d.MtrSelection->findText(row));
    d.MtrSelection_Click();
  }
};

TEST_F(StepperSetupTest, DriveAtDefaults) {
  ASSERT_TRUE(Begin());
  Click("#5");
  wizards::StepperSetup& d = Stepper();
  EXPECT_EQ(d.windowTitle(), "Stepper Axis Setup Wizard");
  ASSERT_EQ(d.MtrSelection->count(), 5);
  EXPECT_EQ(d.MtrSelection->itemText(1).toStdString(), "- Generic Stepper                 ");
  EXPECT_EQ(d.MtrSelection->itemText(2), "ST-17-03-N");
  EXPECT_EQ(d.MPL[8]->text(), "Pulses/Rev");
  EXPECT_EQ(d.MPL[9]->text(), "3rd Harmonic Compensation");
  d.show();
  for (int hidden : {1, 4, 6}) EXPECT_TRUE(d.MP[hidden]->isHidden() && d.MPL[hidden]->isHidden());
  sim.ClearLog();
  d.ASW_OK_Click();
  EXPECT_FALSE(d.isVisible());
  const std::vector<std::string> expected = {
      "DM=1",     "MRSN=200", "MCSV=5.00", "IKP=1.0", "MCG=0.0",  "THC=0.0",    "EPPR=4000",
      "IC=1.00",  "IP=1.00",  "ACC=1000",  "DEC=1000", "OSPD=20000", "EM=0",     "FBF=500",
      "DCV=0",    "VFF=0",    "VFI=0",     "FBS=1.0",  "DCM=0",     "CM=2",       "PET=0"};
  EXPECT_EQ(Journal(d.Access()), expected);
  EXPECT_EQ(Sent(5, ":"), AsRequests(expected));
  EXPECT_EQ(DriveValue(5, "MCSV"), "5");
  EXPECT_EQ(DriveValue(5, "DM"), "1");
}

TEST_F(StepperSetupTest, AppAxisRowsAndCancel) {
  ASSERT_TRUE(Begin());
  Store(3, {{"DM", "0"}, {"EPPR", "500"}, {"MRSN", "400"}});
  Click("AX-3,1");
  wizards::StepperSetup& d = Stepper();
  d.show();
  EXPECT_TRUE(d.FromCurrent());
  EXPECT_TRUE(d.FeedT[1]->isChecked());
  EXPECT_FALSE(d.MP[9]->isEnabled());
  EXPECT_EQ(d.MP[9]->text(), "500");
  EXPECT_EQ(d.MP[0]->text(), "400");
  d.MP[0]->setText("800");
  d.ASW_Cancel_Click();
  EXPECT_EQ(Stored(3, "MRSN"), "400");
  d.show();
  EXPECT_EQ(d.MP[0]->text(), "400") << "edits are lost; the next opening reads again";

  struct Case { const char* row; std::vector<std::string> first9; };
  const Case cases[] = {
      {"- Generic Stepper                 ",
       {"DM=0", "MRSN=200", "MCSV=5.00", "IKP=1.0", "MCG=0.0", "THC=0.0", "EPPR=0", "IC=1.00", "IP=1.00"}},
      {"ST-23-08-E",
       {"DM=1", "MRSN=200", "MCSV=45.00", "IKP=2.0", "MCG=1.0", "THC=2.0", "EPPR=1000", "IC=2.80", "IP=2.80"}},
      {"ST-17-03-N",
       {"DM=0", "MRSN=200", "MCSV=60.00", "IKP=1.5", "MCG=0.5", "THC=0.0", "EPPR=0", "IC=1.70", "IP=1.70"}},
  };
  for (const Case& c : cases) {
    d.show();
    Choose(c.row);
    d.ASW_OK_Click();
    auto j = Journal(d.Access());
    ASSERT_EQ(j.size(), 21u);
    EXPECT_EQ(std::vector<std::string>(j.begin(), j.begin() + 9), c.first9) << c.row;
  }
  EXPECT_EQ(Stored(3, "IC"), "1.70");
  EXPECT_EQ(Stored(3, "EPPR"), "0");
  EXPECT_TRUE(sim.Log().empty());

  // Library rows lock the options; the generic row lets Encoder free box 9.
  d.show();
  Choose("ST-23-08-E");
  EXPECT_TRUE(d.FromLibrary());
  EXPECT_FALSE(d.FeedT[0]->isEnabled());
  EXPECT_FALSE(d.MP[0]->isEnabled());
  Choose("- Generic Stepper                 ");
  EXPECT_FALSE(d.MP[9]->isEnabled());
  d.FeedT[0]->click();
  EXPECT_TRUE(d.MP[9]->isEnabled());
  d.MP[9]->setText("1000");
  d.FeedT[0]->click();
  EXPECT_EQ(d.MP[9]->text(), "1000");
  d.ASW_Cancel_Click();
}

}  // namespace
