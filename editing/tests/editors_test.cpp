// Changing parameter values, events and program settings through their
// dialogs, on simulated drives and an application file.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "editing/ed_set.h"
#include "editing/ed_t.h"
#include "editing/new_value.h"
#include "editing/tests/editing_fixture.h"
#include "mainwin/model/tree_key.h"
#include "platform/ui/qt/window_factory.h"
#include "sim/fault_plan.h"
#include "store/applic.h"

namespace {

using editing::EdSet;
using editing::EdT;
using editing::NewValue;
using editing_test::EditingTest;
using editing_test::ModalScript;
using talvero::Answer;
using talvero::sim::Family;
using talvero::sim::FaultRule;

constexpr int kCM = 0, kSWE = 1, kKVF = 2, kSUREV = 3;  // rows of the SU view

class EditorsTest : public EditingTest {
 protected:
  talvero::sim::SimDrive& Drive() {
    auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
    d.SetValue("CM", "2");
    d.SetValue("SWE", "1");
    d.SetValue("KVF", "12.5");
    d.Vars().SetLimits("KVF", 0, 100);
    return d;
  }
  // The value commands node 1 was sent.
  std::vector<std::string> Writes() {
    std::vector<std::string> w;
    for (const std::string& r : sim.Requests(1))
      if (r.rfind(":!", 0) == 0) w.push_back(r.substr(1));
    return w;
  }
  // Types the text into the numeric dialog and presses Change.
  static std::function<void(NewValue&)> Type(const std::string& text) {
    return [text](NewValue& d) {
      d.NewVal->setText(QString::fromStdString(text));
      d.ChangeOK->click();
    };
  }
};

TEST_F(EditorsTest, EnumerationListsTheCodeAndSendsTheChosenIndex) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  ModalScript script;
  script.On<NewValue>([](NewValue& d) {
    EXPECT_EQ(d.What->text(), "New Value for Software Enable");
    EXPECT_TRUE(d.NewVal->isHidden());
    ASSERT_EQ(d.VList->count(), 2);
    EXPECT_EQ(d.VList->itemText(0), "Inactive");
    EXPECT_EQ(d.VList->currentText(), "Active");
    EXPECT_EQ(d.units->text(), "");
    d.VList->setCurrentIndex(0);
    d.ChangeOK->click();
  });
  script.On<NewValue>([](NewValue& d) {
    ASSERT_EQ(d.VList->count(), 7);  // code 3, Velocity to Open Loop
    EXPECT_EQ(d.VList->itemText(6), "Open Loop");
    EXPECT_EQ(d.VList->currentText(), "Position");
    d.ChangeCancel->click();
  });
  DblClick(kSWE);
  DblClick(kCM);
  EXPECT_EQ(Writes(), std::vector<std::string>{"!SWE=0"});
  EXPECT_EQ(List().ItemText(kSWE), "\tSoftware Enable (SWE)\tInactive ");
  EXPECT_TRUE(List().Selected(kCM));  // only the row edited last is selected
  EXPECT_FALSE(List().Selected(kSWE));
}

TEST_F(EditorsTest, AValueNamingNoEntryWaitsForAChoice) {
  Drive().SetValue("SWE", "7");
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  ModalScript script;
  script.On<NewValue>([](NewValue& d) {
    EXPECT_EQ(d.VList->currentIndex(), -1);
    EXPECT_FALSE(d.ChangeOK->isEnabled());
    d.VList->setCurrentIndex(1);
    EXPECT_TRUE(d.ChangeOK->isEnabled());
    d.ChangeOK->click();
  });
  DblClick(kSWE);
  EXPECT_EQ(Writes(), std::vector<std::string>{"!SWE=1"});
}

TEST_F(EditorsTest, NumericValuesAreCheckedByTheDriveAgainstItsLimits) {
  Drive().SetValue("KP", "10");
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  ModalScript script;
  script.On<NewValue>([](NewValue& d) {
    EXPECT_EQ(d.NewVal->text(), "12.500");
    EXPECT_EQ(d.NewVal->selectedText(), "12.500");  // all of it, ready to overtype
    EXPECT_EQ(d.units->text(), "(percent)");
    Type("100")(d);
  });
  script.On<NewValue>(Type("101"));          // out of range: the box, then OK
  script.On<NewValue>([](NewValue& d) {      // the dialog again, with the typed text
    EXPECT_EQ(d.NewVal->text(), "101");
    Type("KP*5")(d);                         // the drive makes it 50
  });
  script.On<NewValue>(Type("-3"));           // out of range again: Cancel ends the edit
  DblClick(kKVF);
  prompter.ExpectMessage("Error: parameter is out of range\n\nMinimum = 0.000\nMaximum = 100.000", Answer::Ok,
                         "KVF: Out of range....");
  DblClick(kKVF);
  prompter.ExpectMessage("Error: parameter is out of range\n\nMinimum = 0.000\nMaximum = 100.000",
                         Answer::Cancel, "KVF: Out of range....");
  DblClick(kKVF);
  EXPECT_EQ(Writes(), (std::vector<std::string>{"!KVF=100", "!KVF=KP*5"}));
  EXPECT_EQ(List().ItemText(kKVF), "\tFeed Forward (KVF)\t50.000 percent");
  EXPECT_EQ(List().ListHeight(kKVF), List().ListHeight(kCM));
  EXPECT_TRUE(List().Selected(kKVF));
}

TEST_F(EditorsTest, RefusalsBeforeAnythingIsSent) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  ModalScript script;
  script.On<NewValue>(Type("1 2"));  // refused, the dialog stays open
  script.On<NewValue>([](NewValue& d) {
    EXPECT_TRUE(d.isVisible());
    d.close();  // the close box counts as Cancel
  });
  prompter.ExpectMessage("A valid expression (without any spaces) is required.", Answer::Ok);
  DblClick(kKVF);
  EXPECT_EQ(Ed().NewValueDialog().Result, 0);

  sim.ClearLog();
  DblClick(kSUREV);  // italic: nothing happens
  EXPECT_TRUE(sim.Requests(1).empty());
  EXPECT_EQ(script.Opened(), 1);  // the italic row opened no dialog

  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.Register("Tune", [](QWidget* parent) { return new QWidget(parent); });
  wf.ShowModeless("Tune");
  prompter.ExpectMessage("Cannot change parameters with the Tuning Wizard open.", Answer::Ok);
  DblClick(kKVF);
  wf.Destroy("Tune");
  EXPECT_TRUE(sim.Requests(1).empty());
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Critical);
}

TEST_F(EditorsTest, AWriteTheDriveRefusesIsReported) {
  Drive().Vars().SetReadOnly("KVF", true);
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  ModalScript script;
  script.On<NewValue>(Type("20"));
  prompter.ExpectMessage("The drive did not take the new value; KVF is still 12.500.", Answer::Ok);
  DblClick(kKVF);
  EXPECT_EQ(List().ItemText(kKVF), "\tFeed Forward (KVF)\t12.500 percent");
}

TEST_F(EditorsTest, ASilentDriveChangesNothing) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "m"));
  ModalScript script;
  script.On<NewValue>(Type("20"));
  prompter.ExpectMessage("Node 1 did not answer; KVF was not changed.", Answer::Ok);
  DblClick(kKVF);
  EXPECT_TRUE(Writes().empty());

  sim.AddFault(FaultRule::Silent(1));
  prompter.ExpectMessage("Node 1 did not answer; SWE was not changed.", Answer::Ok);
  DblClick(kSWE);  // no dialog: the present value could not be read
  EXPECT_EQ(script.Opened(), 1);
}

TEST_F(EditorsTest, AValueThatWentButIsNotReadBackIsNotCalledUnchanged) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  FaultRule readBack = FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "=KVF");
  readBack.after = 1;  // the present value comes back
  sim.AddFault(readBack);
  ModalScript script;
  script.On<NewValue>(Type("20"));
  prompter.ExpectMessage("Node 1 did not answer; the new value of KVF could not be read back.", Answer::Ok);
  DblClick(kKVF);
  EXPECT_EQ(Writes(), std::vector<std::string>{"!KVF=20"});
  EXPECT_EQ(sim.Requests(1).back(), "=KVF");
}

TEST_F(EditorsTest, AnApplicationAxisStoresNumbersOnly) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddAxis("X", "RHO", win->ParametersRS));
  });
  Click(TreeKey::Make("SU", {-1, 1}).Format());
  ModalScript script;
  script.On<NewValue>(Type("KP*2"));
  script.On<NewValue>(Type("7.5"));
  script.On<NewValue>([](NewValue& d) {
    d.VList->setCurrentIndex(1);
    d.ChangeOK->click();
  });
  prompter.ExpectMessage("An application axis stores numbers only: enter a number.", Answer::Ok);
  DblClick(kKVF);
  DblClick(kSWE);
  EXPECT_EQ(win->Internal_read("KVF"), "7.5");
  EXPECT_EQ(win->Internal_read("SWE"), "1");
  EXPECT_EQ(List().ItemText(kKVF), "\tFeed Forward (KVF)\t7.500 percent");
}

// ---- EdT

TEST_F(EditorsTest, EventEditorOnADriveWritesTheEventAndItsSwitch) {
  auto& d = Drive();
  d.SetEventText(2, "IF IN1 DO OUT=1");
  ASSERT_TRUE(StartOnLine());
  Click("TH1");
  ModalScript script;
  script.On<EdT>([](EdT& t) {
    EXPECT_EQ(t.windowTitle(), "Edit an Event...");
    EXPECT_EQ(t.Step->currentItem()->text(), "On a condition, run a command");
    EXPECT_EQ(t.Des1->text(), "Condition");
    EXPECT_EQ(t.Text1->text(), "IN1");
    EXPECT_EQ(t.Text2->text(), "OUT=1");
    EXPECT_TRUE(t.ThED->isEnabled());
    t.Step->setCurrentRow(4);  // every period: its operands start empty
    EXPECT_EQ(t.Des1->text(), "Period (sec)");
    EXPECT_EQ(t.Text1->text(), "");
    t.Step->setCurrentRow(1);  // back to the event's own type: its operands return
    EXPECT_EQ(t.Text1->text(), "IN1");
    t.Step->setCurrentRow(4);
    t.Text1->setText("0.5");
    t.Text2->setText("OUT=2");
    t.ThED->setChecked(true);
    t.OK->click();
  });
  DblClick(2);
  EXPECT_EQ(d.EventText(2), "EVERY 0.5 DO OUT=2");
  EXPECT_EQ(d.EventMask(), 1u << 2);
  EXPECT_EQ(List().ItemText(2), "\t02: Every 0.5 sec do OUT=2");
  EXPECT_EQ(List().ListPicture(2), win->StepImages.Picture("on"));
}

TEST_F(EditorsTest, EventEditorChecksItsOperands) {
  ASSERT_TRUE(Start());
  EdT& t = Ed().EventEditor();
  struct Case {
    int op;
    const char *p1, *p2;
    const char* refusal;  // "" = accepted
  };
  const Case cases[] = {
      {1, "IN1", "OUT=1", ""},
      {1, "  ", "OUT=1", "A valid expression is required for Condition"},
      {1, "IN1", "", "A valid expression is required for Command"},
      {1, "IN1 AND", "OUT=1", "A valid expression (without any spaces) is required for Condition"},
      {1, "IN1", "any text at all", ""},  // a command is free text
      {2, "IN1", "no such label!", ""},   // so is a label
      {3, "1+", "X", "A valid expression (without any spaces) is required for Position"},
      {4, "0.5", "X", ""},
      {5, "", "", ""},  // no operands
  };
  for (const Case& c : cases) {
    ModalScript script;
    script.On<EdT>([&](EdT& d) {
      d.Step->setCurrentRow(c.op);
      d.Text1->setText(c.p1);
      d.Text2->setText(c.p2);
      d.OK->click();
      if (d.isVisible()) d.Cancel->click();
    });
    if (*c.refusal) prompter.ExpectMessage(c.refusal, Answer::Ok);
    t.EventOp = -1;
    t.DoEdit();
    EXPECT_EQ(t.Cancelled, *c.refusal != 0) << c.p1 << " " << c.p2;
    EXPECT_EQ(t.ChosenOp, c.op);
  }
}

TEST_F(EditorsTest, EventEditorEmptyEventAndCancelAfterOk) {
  ASSERT_TRUE(Start());
  EdT& t = Ed().EventEditor();
  ModalScript script;
  script.On<EdT>([](EdT& d) {
    EXPECT_EQ(d.Step->currentItem()->text(), "<empty>");
    EXPECT_TRUE(d.Text1->isHidden());
    EXPECT_TRUE(d.Text2->isHidden());
    d.OK->click();
  });
  script.On<EdT>([](EdT& d) { d.Cancel->click(); });
  script.On<EdT>([](EdT& d) { d.close(); });  // the close box too
  ThreadsMod::EventEdit start;
  const auto first = t.DoEdit(start);
  EXPECT_FALSE(first.cancelled);
  EXPECT_EQ(first.op, -1);
  EXPECT_TRUE(t.DoEdit(start).cancelled);
  t.OKPressed = true;
  EXPECT_TRUE(t.DoEdit(start).cancelled);
  EXPECT_FALSE(t.ThED->isEnabled());  // an application axis has no switch
}

// ---- EdSet

TEST_F(EditorsTest, SettingsOfADriveProgramGoToTheDrive) {
  auto& d = Drive();
  d.SetValue("UU", "4");
  d.SetValue("TR", "2.5");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  EXPECT_EQ(EdSet::FindUU("mm"), 4);
  EXPECT_EQ(EdSet::FindUU("MM"), 5);
  ModalScript script;
  script.On<EdSet>([](EdSet& s) {
    EXPECT_EQ(s.windowTitle(), "Edit Settings...");
    EXPECT_EQ(s.sel->currentText(), "mm");
    EXPECT_EQ(s.trans->text(), "2.5");
    EXPECT_FALSE(s.des->isEnabled());
    EXPECT_EQ(s.Label2->text(), "motor revolution(s) per mm");
    s.sel->setCurrentIndex(1);
    emit s.sel->activated(1);
    EXPECT_EQ(s.Label2->text(), "motor revolution(s) per degree");
    s.trans->setText("0");
    s.ok->click();  // refused; the dialog stays
    s.trans->setText("12.5");
    s.ok->click();
  });
  prompter.ExpectMessage("The transmission ratio must be a positive number.", Answer::Ok);
  EXPECT_TRUE(Ed().ShowSettings());
  EXPECT_EQ(d.Value("TR"), "12.5");
  EXPECT_EQ(d.Value("UU"), "1");
  ASSERT_NE(d.Programs().Find("$$SAVE$$"), nullptr);

  sim.AddFault(FaultRule::Silent(1));
  script.On<EdSet>([](EdSet& s) {
    s.ok->click();
    EXPECT_TRUE(s.isVisible());
    s.cancel->click();
  });
  prompter.ExpectMessage("Node 1 did not answer; the settings were not stored.", Answer::Ok);
  EXPECT_FALSE(Ed().ShowSettings());
}

TEST_F(EditorsTest, SettingsOfAnApplicationProgramGoToTheFile) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddPgm("PICK"));
  });
  Click(TreeKey::Make("PR", {-1, 1}).Format());
  ModalScript script;
  script.On<EdSet>([](EdSet& s) {
    EXPECT_TRUE(s.des->isEnabled());
    s.des->setText("Pick a part");
    s.trans->setText("4");
    s.sel->setCurrentIndex(2);
    s.ok->click();
  });
  EXPECT_TRUE(Ed().ShowSettings());
  Applic* app = Ed().SelectedApp();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->GetPD(1), "Pick a part");
  EXPECT_FLOAT_EQ(app->GetTrans(1), 4.0f);
  EXPECT_EQ(app->GetUnits(1), "inch");
}

}  // namespace
