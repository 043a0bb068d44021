// Every read of several requests that a click or a tab of the online panel or
// the drive menu starts, on a drive that does not answer: what is sent, what
// is shown, and what is counted.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "mainwin/stat_strip.h"
#include "online/adi.h"
#include "online/cf_form.h"
#include "online/drive_menu.h"
#include "online/tests/admin_fixture.h"
#include "online/tests/online_fixture.h"
#include "sim/fault_plan.h"

using namespace std::string_literals;
using talvero::Answer;
using talvero::sim::FaultRule;

namespace {

enum Tab { kGeneral = 0, kFaults = 1, kIO = 2, kVariables = 3 };

class SilentReadsTest : public OnlineTest {
 protected:
  void Install(MainWin& w) override {
    OnlineTest::Install(w);
    online::InstallDriveMenu(w);
    online::InstallTerminal(w);
  }
  void SetUp() override {
    OnlineTest::SetUp();
    AddDrive(1, talvero::sim::Family::RHO, "KV110c", "Feed").DefineUserVariable("SPEED");
    ASSERT_TRUE(StartOnLine());
    win->TStat->stop();
    win->Item("AA_SetConfig")->setEnabled(true);  // service mode
  }
  // The status node on a tab, read while the drive answers.
  void OnTab(int tab) {
    Click("#1");
    Click("SS1");
    if (win->StatStrip->currentIndex() != tab) win->StatStrip->setCurrentIndex(tab);
  }
  void OnVariable() {
    OnTab(kVariables);
    win->StatStrip->UV_Select->setCurrentRow(0);
  }
  std::string Items(QListWidget* list) const {
    std::string s;
    for (int i = 0; i < list->count(); ++i) s += (i ? "|" : "") + list->item(i)->text().toStdString();
    return s;
  }
  std::string Variables() const { return Items(win->StatStrip->UV_Select); }
  std::string LastBox() const { return prompter.Boxes().empty() ? "" : prompter.Boxes().back().text; }
  struct Counts {
    long long errors, node, failed;
    bool operator==(const Counts&) const = default;
  };
  Counts Now() const {
    return {win->Link.ErrorCount, win->Link.NodeErrorCount[1], (long long)win->Link.FailedOperations};
  }
};

TEST_F(SilentReadsTest, ASilentDriveCostsOneFailedRequestAndTheViewSaysSo) {
  const std::string notAnswering = "Node 1 does not answer.";
  struct Case {
    const char* name;
    std::function<void()> arrange;  // the drive still answers; the boxes the click will show
    std::function<void()> act;
    std::string first;  // the request that fails
    int tries;          // its tries when the drive is not yet known silent
    std::function<std::string()> shown;
    std::string says;
    int reads = 1;  // reads of their own, each of which fails
  };
  const auto variables = [&] { return Variables(); };
  const auto box = [&] { return LastBox(); };
  const auto inputs = [&] { return win->StatStrip->InputsFrame->title().toStdString(); };
  const auto told = [&] { prompter.ExpectMessage(notAnswering, Answer::Ok); };
  const Case cases[] = {
      {"Variables tab", [&] { OnTab(kGeneral); }, [&] { win->StatStrip->setCurrentIndex(kVariables); },
       "}\x00"s, 8, variables, notAnswering},
      {"a variable picked", [&] { OnTab(kVariables); },
       [&] { win->StatStrip->UV_Select->setCurrentRow(0); }, "+SPEED", 8, variables, notAnswering},
      {"a variable set",
       [&] {
         OnVariable();
         win->StatStrip->UV_NV->setText("5");
       },
       [&] { win->StatStrip->UV_Change->click(); }, ":!SPEED=5", 8, variables, notAnswering},
      {"a variable defined",
       [&] {
         OnTab(kVariables);
         prompter.ExpectInput("Name of New User Variable?", "b2")
             .ExpectMessage("Cannot define B2: the drive did not answer.", Answer::Ok, "User Variable Define...");
       },
       [&] { panel->AddUV_Click(); }, "I\x04" "B2", 5, variables, notAnswering},
      {"a variable deleted",
       [&] {
         OnVariable();
         prompter.ExpectMessage("Delete SPEED ? ", Answer::Ok, "Delete User Variable...");
       },
       [&] { panel->DeleteUV_Click(); }, "vSPEED", 8, variables, notAnswering},
      {"General tab", [&] { OnTab(kVariables); }, [&] { win->StatStrip->setCurrentIndex(kGeneral); }, "Q", 8,
       [&] { return win->StatStrip->GS_stat->text().toStdString(); }, notAnswering},
      {"Faults tab", [&] { OnTab(kGeneral); }, [&] { win->StatStrip->setCurrentIndex(kFaults); }, "\x11\x00"s, 8,
       [&] { return Items(win->StatStrip->FaultList); }, notAnswering},
      {"IO tab", [&] { OnTab(kGeneral); }, [&] { win->StatStrip->setCurrentIndex(kIO); }, "=IN", 8, inputs,
       "Inputs: Node 1 does not answer"},
      {"an input forced",
       [&] {
         OnTab(kIO);
         panel->IOKind = "IN";
         panel->IOPoint = 2;
       },
       [&] { panel->IO_ForceON_Click(); }, "=IN0", 8, inputs, "Inputs: Node 1 does not answer"},
      {"the input toggle",
       [&] {
         OnTab(kIO);
         panel->ToggleDefined = true;
         panel->ToggleIn = 0;
       },
       [&] { panel->Toggle_Click(); }, "=IN0", 8, inputs, "Inputs: Node 1 does not answer", 3},
      {"drive menu opened", [&] { Click("#1"); },
       [&] {
         win->Sys_MouseDown(2, 0, 0, 0);
         win->AAMenu->hide();
       },
       "I\x03", 5,
       [&] { return win->Item("AA_Free")->text().toStdString() + "|" + win->Item("AA_Serial")->text().toStdString(); },
       "Node 1 does not answer|S/N : "},
      {"firmware information",
       [&] {
         Click("#1");
         told();
       },
       [&] { win->Item("AA_Firm")->trigger(); }, "I\x01", 5, box, notAnswering},
      {"drive clock set",
       [&] {
         Click("#1");
         told();
       },
       [&] { win->Item("AA_SDT")->trigger(); }, "\x0F\x26\x04\x12\x09\x14\x05", 8, box, notAnswering},
      {"calibration",
       [&] {
         Click("#1");
         told();
       },
       [&] { win->Item("AA_Cal")->trigger(); }, "\x1C", 8, box, notAnswering},
      {"all variables deleted",
       [&] {
         Click("#1");
         prompter.ExpectMessage("ALL user variables will be lost...there is NO UNDO!   Continue ?", Answer::Ok);
         told();
       },
       [&] { win->Item("AA_KillUV")->trigger(); }, "v*", 8, box, notAnswering},
      {"drive name, and no search after it",
       [&] {
         Click("#1");
         prompter.ExpectInput("Drive name?", "MILL");
         told();
       },
       [&] { win->Item("AA_DriveName")->trigger(); }, "\x1DMILL", 8, box, notAnswering},
      {"configuration dialog",
       [&] {
         Click("#1");
         prompter.ExpectMessage(online::CF_Form::kReadFailed, Answer::Ok);
         WhenShown("CF_Form", [](QWidget& w) {
           auto& f = static_cast<online::CF_Form&>(w);
           EXPECT_FALSE(f.CF_OK->isEnabled());
           EXPECT_EQ(f.SerialNumber->text(), "");
           for (QLineEdit* b : f.CF_Box) EXPECT_EQ(b->text(), "") << "nothing shown as if read";
           for (QCheckBox* c : f.CF_Check) EXPECT_FALSE(c->isChecked());
           f.CF_Cancel->click();
         });
       },
       [&] { win->Item("AA_SetConfig")->trigger(); }, "I\x05", 8, box, online::CF_Form::kReadFailed},
  };
  for (const bool known : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (known ? ", drive known silent" : ", drive silent for the first time"));
      win->Answers.Answered(1);
      c.arrange();
      sim.ClearLog();
      sim.AddFault(FaultRule::Silent(1));
      if (known) win->Answers.Failed(1);
      const Counts before = Now();
      // Window events run between any two tries: the log's length at each pump.
      std::vector<size_t> pumped;
      pump = [&] { pumped.push_back(sim.Log().size()); };
      c.act();
      pump = nullptr;
      sim.ClearFaults();
      // One full cycle at most, then one try for each later read.
      EXPECT_EQ(Sent(), std::vector<std::string>((known ? 1 : c.tries) + c.reads - 1, "1:" + c.first))
          << "then nothing more";
      EXPECT_EQ(Now(), (Counts{before.errors + c.reads, before.node + c.reads, before.failed + c.reads}));
      EXPECT_EQ(c.shown(), c.says);
      EXPECT_TRUE(win->Answers.Silent(1));
      for (size_t k = 1; k < Sent().size(); ++k)
        EXPECT_NE(std::find(pumped.begin(), pumped.end(), k), pumped.end()) << "no window events after request " << k;
      EXPECT_TRUE(prompter.AllShown());
    }
  }
}

TEST_F(SilentReadsTest, AReadThatFailsPartWayShowsNothingItReadAndFillsWhenTheDriveAnswers) {
  for (const char* name : {"V1", "V2", "V3"}) sim.Drive(1).DefineUserVariable(name);
  OnTab(kGeneral);
  sim.ClearLog();
  sim.AddFault(FaultRule::SilentFrom(1, 2));  // two names read, then silence
  win->StatStrip->setCurrentIndex(kVariables);
  std::vector<std::string> expected = {"1:}\x00"s, "1:}\x01"};
  for (int t = 0; t < 8; ++t) expected.push_back("1:}\x02");
  EXPECT_EQ(Sent(), expected);
  EXPECT_EQ(Variables(), "Node 1 does not answer.");
  EXPECT_FALSE(win->StatStrip->UV_Select->item(0)->flags() & Qt::ItemIsSelectable);
  EXPECT_FALSE(win->StatStrip->DeleteUV->isEnabled());

  // A tick while it stays silent gives it one try and leaves the tab as it is.
  sim.ClearLog();
  panel->TStat_Timer();
  EXPECT_EQ(Sent(), std::vector<std::string>{"1:Q"});
  EXPECT_EQ(Variables(), "Node 1 does not answer.");
  // The first tick that hears it again fills the tab by itself.
  sim.ClearFaults();
  panel->TStat_Timer();
  EXPECT_EQ(Variables(), "SPEED|V1|V2|V3");
  // On another view the answer fills nothing.
  sim.AddFault(FaultRule::Silent(1));
  win->StatStrip->setCurrentIndex(kGeneral);
  win->StatStrip->setCurrentIndex(kVariables);
  Click("#1");
  sim.ClearFaults();
  sim.ClearLog();
  panel->TStat_Timer();
  for (const std::string& r : Sent()) EXPECT_NE(r[2], '}');
}

TEST_F(SilentReadsTest, TheStatusTextStopsAtTheFirstUnansweredRequest) {
  sim.Drive(1).RaiseFault(3);
  OnTab(kVariables);
  sim.ClearLog();
  sim.AddFault(FaultRule::SilentFrom(1, 1));  // the status word, then silence
  const uint64_t failed = win->Link.FailedOperations;
  win->StatStrip->setCurrentIndex(kGeneral);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1:Q", "1:=FLT", "1:=FLT", "1:=FLT", "1:=FLT", "1:=FLT", "1:=FLT",
                                              "1:=FLT", "1:=FLT"}));
  EXPECT_EQ(win->StatStrip->GS_stat->text().toStdString(), "Node 1 does not answer.");
  EXPECT_EQ(win->Link.FailedOperations, failed + 1);
}

TEST_F(SilentReadsTest, ATickDuringAClickReadLeavesNoTwoTriesWithoutEventsBetween) {
  // The tick comes with the events a read lets run: before its first request,
  // or between its first two tries. Within one pump of events the other
  // events may come before the tick or after it: both orders are tried.
  for (const size_t tickAt : {size_t(0), size_t(1)}) {
    for (const bool othersFirst : {false, true}) {
      SCOPED_TRACE(std::to_string(tickAt) + (othersFirst ? ", other events first" : ", the tick first"));
      win->Answers.Answered(1);
      OnTab(kGeneral);
      sim.ClearLog();
      sim.AddFault(FaultRule::Silent(1));
      bool ticked = false;
      std::vector<size_t> pumped;  // the log's length whenever other events ran
      pump = [&] {
        if (othersFirst) pumped.push_back(sim.Log().size());
        if (!ticked && sim.Log().size() == tickAt) {
          ticked = true;
          panel->TStat_Timer();
        }
        if (!othersFirst) pumped.push_back(sim.Log().size());
      };
      win->StatStrip->setCurrentIndex(kVariables);
      pump = nullptr;
      sim.ClearFaults();
      const std::vector<std::string> sent = Sent();
      EXPECT_EQ(std::count(sent.begin(), sent.end(), "1:Q"), 8);
      EXPECT_EQ(std::count(sent.begin(), sent.end(), "1:}\x00"s), 1);
      ASSERT_EQ(sent.size(), 9u);
      for (size_t k = 1; k < sent.size(); ++k)
        EXPECT_NE(std::find(pumped.begin(), pumped.end(), k), pumped.end()) << "no events after request " << k;
      EXPECT_EQ(Variables(), "Node 1 does not answer.");
    }
  }
}

}  // namespace
