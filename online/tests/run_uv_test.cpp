// The run controls and the user variables on the real window.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "mainwin/stat_strip.h"
#include "online/tests/online_fixture.h"
#include "platform/ui/prompter.h"
#include "sim/fault_plan.h"

using namespace std::string_literals;
using talvero::Answer;
using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

class RunTest : public OnlineTest {
 protected:
  // The requests other than the status reads of the refresh after a command.
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const std::string& s : Sent())
      if (s != "1:Q" && s != "1:q") out.push_back(s);
    return out;
  }
};

TEST_F(RunTest, RunStopDecidesOnTheDrivesPresentState) {
  StartWithThreeDrives();
  Click("SS1");
  sim.ClearLog();
  panel->BtnRS_Click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x08"});
  EXPECT_EQ(OnlinePanel::State(win->BtnRS), 0);  // the refresh shows it running
  sim.ClearLog();
  panel->BtnRS_Click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x09"});
  // A failed status read may hide a running program: stop, never run.
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "Q"));
  sim.ClearLog();
  panel->BtnRS_Click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x09"});
}

TEST_F(RunTest, PauseResumeAndNoAnswer) {
  StartWithThreeDrives();
  Click("SS1");
  win->BtnRS->click();  // running
  sim.ClearLog();
  panel->BtnPause_Click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x03"});
  EXPECT_EQ(OnlinePanel::State(win->BtnPause), 0);
  EXPECT_FALSE(win->Btn1->isHidden());
  sim.ClearLog();
  win->Btn1->click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x0A"});
  sim.ClearLog();
  win->BtnPause->click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x04"});
  EXPECT_TRUE(win->Btn1->isHidden());
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "Q"));
  sim.ClearLog();
  panel->BtnPause_Click();
  EXPECT_EQ(Commands(), std::vector<std::string>{"1:\x03"});
}

TEST_F(RunTest, EnableResetAndTheirStatusText) {
  StartWithThreeDrives();
  Click("SS1");
  sim.ClearLog();
  win->SWE_ON->click();
  EXPECT_EQ(Sent().front(), "1::!SWE=1");
  EXPECT_NE(panel->StatusText().find("is Enabled"), std::string::npos);
  sim.ClearLog();
  win->SWE_OFF->click();
  EXPECT_EQ(Sent().front(), "1::!SWE=0");
  EXPECT_NE(panel->StatusText().find("is Disabled"), std::string::npos);
  sim.Drive(1).RaiseFault(3);
  sim.ClearLog();
  win->StatStrip->DriveReset->click();
  EXPECT_EQ(Sent().front(), "1:\x17");
  EXPECT_NE(panel->StatusText().find("     None"), std::string::npos);
}

TEST_F(RunTest, EStopEveryFoundDriveInOrder) {
  AddDrive(31, talvero::sim::Family::PHI, "KV120i/d", "Last");  // the highest node there is
  StartWithThreeDrives();
  Click("!SY");
  panel->BrakeAll_Click();
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1:\x1B", "4:\x1B", "7:\x1B", "31:\x1B"}));
  EXPECT_EQ(sim.Drive(7).EStops(), 1);
  EXPECT_EQ(sim.Drive(31).EStops(), 1);

  // A silent node 4 does not hold back the others; it gets its other tries
  // after, and its failed stop counts once, however many tries it took.
  sim.AddFault(FaultRule::Silent(4));
  Click("SS1");
  for (int retries : {8, 1}) {
    SCOPED_TRACE(retries);
    win->Link.Retries = int16_t(retries);
    const int16_t errors = win->Link.ErrorCount, nodeErrors = win->Link.NodeErrorCount[4];
    const uint64_t failed = win->Link.FailedOperations;
    sim.ClearLog();
    win->BrakeAll->click();
    std::vector<std::string> expected = {"1:\x1B", "4:\x1B", "7:\x1B", "31:\x1B"};
    for (int t = 1; t < retries; ++t) expected.push_back("4:\x1B");
    std::vector<std::string> sent = Sent();
    ASSERT_GT(sent.size(), expected.size());
    EXPECT_EQ(sent[expected.size()], "1:Q");  // then the status text of the selected drive
    sent.resize(expected.size());
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(win->Link.ErrorCount, errors + 1);
    EXPECT_EQ(win->Link.NodeErrorCount[4], nodeErrors + 1);
    EXPECT_EQ(win->Link.FailedOperations, failed + 1);
  }
}

TEST_F(RunTest, NothingIsSentForASelectionThatIsNoDrive) {
  StartWithThreeDrives();
  Click("SS1");
  win->CurNode = -2;  // an application axis
  win->AppSelected = true;
  sim.ClearLog();
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           win->BtnRS, win->BtnPause, win->Btn1, win->SWE_ON, win->SWE_OFF, win->StatStrip->DriveReset})
    b->click();
  panel->AddUV_Click();
  panel->UV_Change_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  win->CurNode = 4;  // a node that belongs to an application
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{win->BtnRS, win->BtnPause, win->SWE_ON})
    b->click();
  win->AppSelected = false;
  win->AxisSelected = false;  // the root
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{win->Btn1, win->SWE_OFF})
    b->click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  panel->BrakeAll_Click();  // the E-stop acts whatever is selected
  EXPECT_EQ(Sent().size(), 3u);
}

class UVTest : public OnlineTest {
 protected:
  std::vector<std::string> Names() const {
    std::vector<std::string> r;
    QListWidget* l = win->StatStrip->UV_Select;
    for (int i = 0; i < l->count(); ++i) r.push_back(l->item(i)->text().toStdString());
    return r;
  }
  void ShowVariables(const char* key) {
    Click(key);
    win->StatStrip->setCurrentIndex(3);
  }
};

TEST_F(UVTest, ListedInSlotOrderAndTheButtonsFollowTheSelection) {
  StartWithThreeDrives();
  talvero::sim::SimDrive& d = sim.Drive(1);
  auto name = [](int i) { return i == 5 ? "SPEED"s : "V" + std::to_string(i); };
  for (int i = 0; i < 48; ++i) ASSERT_TRUE(d.DefineUserVariable(name(i)));
  for (int i = 0; i < 48; ++i)
    if (i != 0 && i != 5 && i != 47) d.Handle("v" + name(i));
  d.SetValue("SPEED", "2.5");
  ShowVariables("SS1");
  StatStrip& s = *win->StatStrip;
  EXPECT_EQ(Names(), (std::vector<std::string>{"V0", "SPEED", "V47"}));
  EXPECT_FALSE(s.DeleteUV->isEnabled());
  EXPECT_FALSE(s.UV_Change->isEnabled());
  sim.ClearLog();
  s.UV_Select->setCurrentRow(1);
  EXPECT_TRUE(s.AddUV->isEnabled());
  EXPECT_TRUE(s.DeleteUV->isEnabled());
  EXPECT_TRUE(s.UV_Change->isEnabled());
  EXPECT_EQ(s.UV_PV->text().toStdString(), "2.5");
  EXPECT_EQ(Sent(), std::vector<std::string>{"1:+SPEED"});

  // Assigning: the drive evaluates; the value is shown again.
  s.UV_NV->setText("100");
  sim.ClearLog();
  s.UV_Change->click();
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1::!SPEED=100", "1:+SPEED"}));
  EXPECT_EQ(s.UV_PV->text().toStdString(), "100");
  s.UV_NV->setText("1 + 2");
  prompter.ExpectMessage("A valid expression (without any spaces) is required.", Answer::Ok);
  sim.ClearLog();
  panel->UV_Change_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Critical);
  // ":!SPEED=" and the expression in one request frame.
  s.UV_NV->setText(QString(248, '1'));
  prompter.ExpectMessage("The expression is too long for the drive: it takes at most 247 characters.", Answer::Ok);
  sim.ClearLog();
  panel->UV_Change_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});

  // The rebuild after a deletion disables the two again; Cancel sends nothing.
  const talvero::MessageBox deleteBox{"Delete SPEED ? ", "Delete User Variable...", talvero::Buttons::OkCancel};
  prompter.ExpectBox(deleteBox, Answer::Cancel).ExpectBox(deleteBox, Answer::Ok);
  sim.ClearLog();
  panel->DeleteUV_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  panel->DeleteUV_Click();
  EXPECT_EQ(Sent().front(), "1:vSPEED");
  EXPECT_EQ(Names(), (std::vector<std::string>{"V0", "V47"}));
  EXPECT_FALSE(s.DeleteUV->isEnabled());
  EXPECT_FALSE(s.UV_Change->isEnabled());
}

TEST_F(UVTest, DefiningANewName) {
  StartWithThreeDrives();
  sim.Drive(4).DefineUserVariable("SPEED");
  ShowVariables("SS4");
  const char* title = "User Variable Define...";
  prompter.ExpectInput("Name of New User Variable?", "a1")
      .ExpectInput("Name of New User Variable?", "1A")
      .ExpectMessage("First character of a variable must be alphabetic.", Answer::Ok, title)
      .ExpectInput("Name of New User Variable?", "A-1")
      .ExpectMessage("Only alphanumeric characters allowed in a name.", Answer::Ok, title)
      .ExpectInput("Name of New User Variable?", " A")
      .ExpectMessage("First character of a variable must be alphabetic.", Answer::Ok, title)
      .ExpectInput("Name of New User Variable?", "speed")
      .ExpectMessage("Cannot define SPEED as it already exists.", Answer::Ok, title)
      .ExpectInput("Name of New User Variable?", std::nullopt)
      .ExpectInput("Name of New User Variable?", "B2")
      .ExpectMessage("Cannot define B2: the drive did not answer.", Answer::Ok, title);
  sim.ClearLog();
  panel->AddUV_Click();
  EXPECT_EQ(Sent()[0], "4:I\x04" "A1");
  EXPECT_EQ(Sent()[1], "4:VA1");
  EXPECT_EQ(Names(), (std::vector<std::string>{"SPEED", "A1"}));
  sim.ClearLog();
  panel->AddUV_Click();
  panel->AddUV_Click();
  panel->AddUV_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  panel->AddUV_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{"4:I\x04SPEED"});
  sim.ClearLog();
  panel->AddUV_Click();  // Cancel
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  sim.AddFault(FaultRule::Silent(4));
  panel->AddUV_Click();
  for (const std::string& s : Sent()) EXPECT_EQ(s, "4:I\x04" "B2");
  EXPECT_EQ(sim.Drive(4).UserVariableSlot(2), "");
}

TEST_F(UVTest, ANameLeavesRoomForItsValue) {
  StartWithThreeDrives();
  sim.Drive(1).SetUserVariableNameLimit(255);  // a drive that keeps any name it is sent
  ShowVariables("SS1");
  StatStrip& s = *win->StatStrip;
  const uint64_t failed = win->Link.FailedOperations;
  // ":!", the name, "=" and the value fill at most one request frame of 255.
  for (size_t length = 250; length <= 254; ++length) {
    const std::string name(length, char('A' + length - 250));
    const size_t room = length <= 251 ? 252 - length : 0;
    SCOPED_TRACE(length);
    prompter.ExpectInput("Name of New User Variable?", name);
    if (room == 0)
      prompter.ExpectMessage("The name is too long for the drive: it takes at most 251 characters.", Answer::Ok,
                             "User Variable Define...");
    sim.ClearLog();
    panel->AddUV_Click();
    if (room == 0) {
      EXPECT_EQ(Sent(), std::vector<std::string>{});
      ASSERT_TRUE(sim.Drive(1).DefineUserVariable(name));  // defined from elsewhere
      panel->RefreshUV();
    } else {
      ASSERT_GE(Sent().size(), 2u);
      EXPECT_EQ(Sent()[0], "1:I\x04" + name);
      EXPECT_EQ(Sent()[1], "1:V" + name);
    }
    const std::vector<std::string> names = Names();
    const auto at = std::find(names.begin(), names.end(), name);
    ASSERT_NE(at, names.end());
    s.UV_Select->setCurrentRow(int(at - names.begin()));
    EXPECT_EQ(s.UV_PV->text().toStdString(), "0");

    for (const std::string& value : {std::string("1"), std::string(room, '7'), std::string(room + 1, '7')}) {
      if (value.empty()) continue;
      SCOPED_TRACE(value.size());
      s.UV_NV->setText(QString::fromStdString(value));
      const bool fits = value.size() <= room;
      const std::string shown = s.UV_PV->text().toStdString();
      if (!fits)
        prompter.ExpectMessage(
            room == 0 ? "This variable's name leaves no room for a value in a request to the drive: its value "
                        "cannot be set."
                      : "The expression is too long for the drive: it takes at most " + std::to_string(room) +
                            (room == 1 ? " character." : " characters."),
            Answer::Ok);
      sim.ClearLog();
      panel->UV_Change_Click();
      if (fits) {
        EXPECT_EQ(Sent(), (std::vector<std::string>{"1::!" + name + "=" + value, "1:+" + name}));
        EXPECT_EQ(s.UV_PV->text().toStdString(), value);
      } else {
        EXPECT_EQ(Sent(), std::vector<std::string>{});
        EXPECT_EQ(s.UV_PV->text().toStdString(), shown);
      }
    }
  }
  EXPECT_EQ(win->Link.FailedOperations, failed) << "a refusal is no failed request";
}
