// Editing the program view's lines: the Edit menu, the keys, the mouse, and
// the step editor loop, written back to an application file or a simulated
// drive.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>

#include "editing/ed_step.h"
#include "editing/step_list_edit.h"
#include "editing/tests/editing_fixture.h"
#include "mainwin/model/tree_key.h"
#include "platform/help/help_service.h"
#include "sim/fault_plan.h"
#include "store/applic.h"

namespace {

using editing::EdStep;
using editing_test::EditingTest;
using editing_test::ModalScript;
using talvero::Answer;
using talvero::sim::Buffer;
using talvero::sim::Family;
using talvero::sim::FaultRule;

const char kInsertAsk[] = "Program steps at the end will be erased due to this INSERT\nContinue with INSERT ?";
const char kKeyInsertAsk[] = "The last program step will be erased due to this INSERT\nContinue with INSERT ?";
const char kSilent[] =
    "Node 1 did not answer; the program on the drive may be incomplete. Click its node to read it again.";

class StepListTest : public EditingTest {
 protected:
  void SetUp() override {
    EditingTest::SetUp();
    auto db = talvero::dao::Database::Open(libraryPath);
    ASSERT_TRUE(db.ok()) << db.error;
    auto s = (*db)->Execute(R"SQL(
INSERT INTO Steps VALUES
  (4, 'Motion', 'Move at a speed', 'Move to ~1 ~u at ~2 ~u/sec', 'MV ~1 ~2', 'Position', 'Speed'),
  (5, 'Logic', 'Set a variable', 'Let ~1 = ~2', 'LET ~1=~2', 'Variable', 'Value'),
  (6, 'Logic', 'Show a text', 'Show ~1', 'SHOW ~1', 'Text', NULL),
  (7, 'Flow', 'Go to a label if', 'If ~1 go to ~2', 'IF ~1 GO ~2', 'Condition', 'Label');
)SQL");
    ASSERT_TRUE(s) << s.error;
  }

  editing::StepListEdit& S() { return *editing::StepListEdit::Of(*win); }
  // Rows from..to selected, as the mouse leaves them.
  void Select(int from, int to) {
    for (int i = 0; i < List().ListCount(); ++i) List().SetSelected(i, i >= from && i <= to);
    win->CurRow = from;
  }
  // The program writes a node got since the log was cleared: "E5 V 1",
  // "e5 " (library buffer), "PsNAME", "PlNAME".
  std::vector<std::string> Writes(int node) {
    std::vector<std::string> out;
    for (const std::string& r : sim.Requests(node)) {
      if (r[0] == 'E' || r[0] == 'e') out.push_back(r.substr(0, 1) + std::to_string(uint8_t(r[1])) + " " + r.substr(2));
      else if (r.rfind("Ps", 0) == 0 || r.rfind("Pl", 0) == 0) out.push_back(r);
    }
    return out;
  }
  std::string Row(int r) { return List().ItemText(r); }
  // Drive 1's active program ("V 20" on line 0) shown, its first line
  // selected and copied.
  talvero::sim::SimDrive& ActiveProgramCopied() {
    auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
    d.Programs().SetLine(Buffer::Active, 0, "V 20");
    EXPECT_TRUE(StartOnLine());
    Click("PP1");
    Select(0, 0);
    S().Edit_Copy_Click();
    return d;
  }
  // Double-clicks row r after the mouse made it the current row.
  void EditRow(int r) {
    Select(r, r);
    win->EditList_DblClick();
  }
  // A point on row r as the mouse events give it, -1 when none shows it.
  int PointOf(int r) {
    for (int y = 0; y < 40000; y += 5)
      if (Ed().ListIndex(150, y) == r) return y;
    return -1;
  }
};

// ---- application programs

TEST_F(StepListTest, CommandsOnAnApplicationProgramWriteEveryChangedLine) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddPgm("PICK"));
    const char* lines[] = {"V 10", "MA 1", "MA 2", "MA 3", "END"};
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(app.UpdatePgmStep(1, i, lines[i]));
  });
  Click(TreeKey::Make("PR", {-1, 1}).Format());
  ASSERT_TRUE(win->ProgramViewShown);
  Applic& app = *Ed().SelectedApp();
  auto file = [&] {
    std::vector<std::string> v;
    for (int i = 0; i < 10; ++i) v.push_back(app.GetPgmStep(1, i));
    return v;
  };
  using V = std::vector<std::string>;
  struct Step {
    const char* what;
    std::function<void()> act;
    V lines;
  };
  const Step steps[] = {
      {"copy 1..2", [&] { Select(1, 2); S().Edit_Copy_Click(); }, {"V 10", "MA 1", "MA 2", "MA 3", "END", "", "", "", "", ""}},
      {"paste at 5", [&] { Select(5, 5); S().Edit_Paste_Click(); },
       {"V 10", "MA 1", "MA 2", "MA 3", "END", "MA 1", "MA 2", "", "", ""}},
      {"insert 2 at 1", [&] { Select(1, 2); S().Edit_Ins_Click(); },
       {"V 10", "", "", "MA 1", "MA 2", "MA 3", "END", "MA 1", "MA 2", ""}},
      {"delete 1..2", [&] { Select(1, 2); S().Edit_Del_Click(); },
       {"V 10", "MA 1", "MA 2", "MA 3", "END", "MA 1", "MA 2", "", "", ""}},
      {"clear 3..4", [&] { Select(3, 4); S().Edit_Clear_Click(); },
       {"V 10", "MA 1", "MA 2", "", "", "MA 1", "MA 2", "", "", ""}},
      {"paste with insert at 0", [&] { Select(0, 0); S().Edit_PasteIns_Click(); },
       {"MA 1", "MA 2", "V 10", "MA 1", "MA 2", "", "", "MA 1", "MA 2", ""}},
      {"insert key at 2", [&] { Select(2, 2); S().EditList_KeyUp(45, 0); },
       {"MA 1", "MA 2", "", "V 10", "MA 1", "MA 2", "", "", "MA 1", "MA 2"}},
      {"delete key at 0", [&] { Select(0, 0); S().EditList_KeyUp(46, 0); },
       {"MA 2", "", "V 10", "MA 1", "MA 2", "", "", "MA 1", "MA 2", ""}},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(file(), s.lines) << s.what;
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(Row(i), "\t" + (s.lines[size_t(i)].empty() ? std::string(" ") : Ed().ShownProgram().Decomp(i)))
          << s.what << " row " << i;
    EXPECT_EQ(win->MousePointer(), 0) << s.what;
  }
  EXPECT_TRUE(List().Selected(0));
  EXPECT_EQ(List().SelCount(), 1);
}

TEST_F(StepListTest, AReadOnlyApplicationIsRefusedBeforeAnyWrite) {
  ASSERT_TRUE(Start());
  const std::string path = (dir.path() + "/Cell.APP").toStdString();
  {
    Applic app;
    ASSERT_TRUE(app.Create(path));
    ASSERT_TRUE(app.AddPgm("PICK"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 0, "V 10"));
  }
  ASSERT_TRUE(win->OpenAnApp(path));
  Click(TreeKey::Make("PR", {-1, 1}).Format());
  // As a write-protected file opens.
  Applic& app = *Ed().SelectedApp();
  app.AClose();
  ASSERT_TRUE(app.AOpen(path, true));
  ASSERT_TRUE(app.ReadOnly());
  ASSERT_TRUE(win->ProgramViewShown);
  prompter.ExpectMessage("This application is open for viewing only.", Answer::Ok);
  prompter.ExpectMessage("This application is open for viewing only.", Answer::Ok);
  Select(0, 0);
  S().Edit_Del_Click();
  EditRow(0);  // no editor opens
  EXPECT_EQ(Ed().SelectedApp()->GetPgmStep(1, 0), "V 10");
  EXPECT_EQ(Ed().ShownProgram().Get_Op(0), 2);
}

TEST_F(StepListTest, AStoreRefusalRollsTheWholeCommandBack) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddPgm("PICK"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(app.UpdatePgmStep(1, i, "MA " + std::to_string(i)));
    auto s = app.Database()->Execute(
        "CREATE TRIGGER refuse BEFORE UPDATE ON \"PGM:PICK\" WHEN NEW.Line = 3 "
        "BEGIN SELECT RAISE(ABORT, 'line 3 refused'); END;");
    ASSERT_TRUE(s) << s.error;
  });
  Click(TreeKey::Make("PR", {-1, 1}).Format());
  ASSERT_TRUE(win->ProgramViewShown);
  prompter.ExpectMessageContaining("line 3 refused", Answer::Ok);
  Select(1, 2);
  S().Edit_Ins_Click();  // writes 6, 5 and 4, then line 3 is refused
  Applic& app = *Ed().SelectedApp();
  for (int i = 0; i < 7; ++i) {
    const std::string want = i < 5 ? "MA " + std::to_string(i) : "";
    EXPECT_EQ(app.GetPgmStep(1, i), want) << "line " << i;
    EXPECT_EQ(Ed().ShownProgram().Encode(i), want) << "row " << i;
  }
  EXPECT_TRUE(win->ProgramViewShown);
  EXPECT_EQ(Row(6), "\t ");
}

// ---- drives

TEST_F(StepListTest, LibraryDeleteLoadsTheProgramFirstAndStoresItOnTheLastWrite) {
  auto& d = AddDrive(2, Family::TAU, "KV110i/d", "Lift");
  for (int i = 0; i < 21; ++i) d.Programs().SetLine(Buffer::Library, uint8_t(i), "V " + std::to_string(i));
  d.Programs().Save(Buffer::Library, "HOME");
  d.Programs().Clear(Buffer::Library);
  ASSERT_TRUE(StartOnLine());
  Click("LE2,0");
  ASSERT_TRUE(win->ProgramViewShown);
  sim.ClearLog();
  Select(10, 12);
  S().Edit_Del_Click();

  std::vector<std::string> want = {"PlHOME"};
  for (int i = 10; i <= 17; ++i) want.push_back("e" + std::to_string(i) + " V " + std::to_string(i + 3));
  for (int i = 18; i <= 20; ++i) want.push_back("e" + std::to_string(i) + " ");
  want.insert(want.end(), {"e255 ", "e254 ", "e253 ", "PsHOME"});
  EXPECT_EQ(Writes(2), want);
  // The drive holds the program as shown.
  ASSERT_TRUE(d.Programs().Load(Buffer::Library, "HOME"));
  EXPECT_EQ(d.Programs().Get(Buffer::Library).lines[10], "V 13");
  EXPECT_EQ(d.Programs().Get(Buffer::Library).lines[17], "V 20");
  EXPECT_EQ(d.Programs().Get(Buffer::Library).lines[18], "");
  EXPECT_EQ(Row(10), "\t" + Ed().ShownProgram().Decomp(10));
  EXPECT_EQ(Ed().ShownProgram().Get_p1(10), "13");
  EXPECT_TRUE(List().Selected(10));
  EXPECT_EQ(List().SelCount(), 1);
}

TEST_F(StepListTest, PasteOnTheActiveProgramResendsItsFirstLine) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "V 20");
  d.Programs().SetLine(Buffer::Active, 1, "MA 5");
  d.Programs().SetLine(Buffer::Active, 254, "END");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  Select(0, 1);
  S().Edit_Copy_Click();
  EXPECT_TRUE(Writes(1).empty() || Writes(1).back().rfind("E", 0) != 0);

  // Ten lines do not fit at 250; six do.
  sim.ClearLog();
  prompter.ExpectMessage("Can't paste there. Only 256 lines allowed in a program", Answer::Ok, "Paste Error");
  Select(250, 250);
  S().Clip.ClipCount = 10;
  S().Edit_Paste_Click();
  EXPECT_TRUE(Writes(1).empty());
  S().Clip.ClipCount = 6;
  S().Edit_Paste_Click();
  EXPECT_EQ(Writes(1), (std::vector<std::string>{"E250 V 20", "E251 MA 5", "E252 ", "E253 ", "E254 ", "E255 ",
                                                 "E250 V 20"}));
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[254], "");

  sim.ClearLog();
  prompter.ExpectMessage("(Re)Select target line to paste at", Answer::Ok, "Paste Error");
  win->CurRow = -1;
  S().Edit_Paste_Click();
  EXPECT_TRUE(Writes(1).empty());
}

TEST_F(StepListTest, InsertAsksBeforeStepsFallOffAndCancelChangesNothing) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "V 20");
  d.Programs().SetLine(Buffer::Active, 1, "MA 5");
  d.Programs().SetLine(Buffer::Active, 2, "END");
  d.Programs().SetLine(Buffer::Active, 254, "MA 9");
  d.Programs().SetLine(Buffer::Active, 255, "XQ 1");  // a raw command line
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  ASSERT_EQ(Ed().ShownProgram().Get_Op(255), 0);
  Select(0, 2);
  S().Edit_Copy_Click();
  sim.ClearLog();

  // Paste with insert: the question, Cancel, and no paste either.
  prompter.ExpectMessage(kInsertAsk, Answer::Cancel);
  Select(10, 10);
  S().Edit_PasteIns_Click();
  // The Insert key, where only the raw line falls off, asks too.
  prompter.ExpectMessage(kKeyInsertAsk, Answer::Cancel);
  S().EditList_KeyUp(45, 0);
  EXPECT_TRUE(Writes(1).empty());
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[255], "XQ 1");

  // OK: the raw line goes, line 1 moves down and is emptied last.
  prompter.ExpectMessage(kKeyInsertAsk, Answer::Ok);
  Select(1, 1);
  S().EditList_KeyUp(45, 0);
  // Line 253 is empty, but 254 moved on: it is emptied too.
  EXPECT_EQ(Writes(1), (std::vector<std::string>{"E255 MA 9", "E254 ", "E3 END", "E2 MA 5", "E1 "}));
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[255], "MA 9");
}

TEST_F(StepListTest, NothingIsWrittenWhileTheDriveRunsOrDoesNotAnswer) {
  auto& d = ActiveProgramCopied();
  d.SetStatusExtraBits(1u << 3);  // running
  sim.ClearLog();

  S().Edit_Paste_Click();
  S().Edit_PasteIns_Click();
  S().Edit_Clear_Click();
  S().Edit_Ins_Click();
  S().Edit_Del_Click();
  S().EditList_KeyUp(45, 0);
  S().EditList_KeyUp(46, 0);
  {
    ModalScript none;  // no step editor may open
    EditRow(0);
  }
  EXPECT_TRUE(Writes(1).empty());

  d.SetStatusExtraBits(0);
  sim.AddFault(FaultRule::Silent(1));
  S().Edit_Del_Click();
  sim.ClearFaults();
  for (const std::string& r : sim.Requests(1)) EXPECT_NE(r[0], 'E');

  // With no row current, the keys do nothing.
  sim.ClearLog();
  Select(0, 0);
  List().SetSelected(0, false);
  S().EditList_KeyUp(46, 0);
  EXPECT_EQ(win->CurRow, -1);
  EXPECT_TRUE(Writes(1).empty());
}

TEST_F(StepListTest, TheEditMenuOpensOnTheStatusTimersStateAndAsksTheDriveNothing) {
  auto& d = ActiveProgramCopied();
  // What the last status tick found: the drive it read (-1: no answer) and its word.
  const struct {
    const char* name;
    int statusNode;
    uint16_t status;
    bool selected;
    bool writing;
  } cases[] = {
      {"idle", 1, 0, true, true},
      {"idle, nothing selected", 1, 0, false, false},
      {"running", 1, 1u << 3, true, false},
      {"silent", -1, 0, true, false},
      {"another drive's state", 4, 0, true, false},
  };
  // Opening the menu on a drive that would keep the window waiting.
  sim.AddFault(FaultRule::Silent(1));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win->AxisStatusNode = c.statusNode;
    win->AxisStatus = c.status;
    Select(0, 0);
    if (!c.selected) {
      List().SetSelected(0, false);
      win->CurRow = -1;
    }
    sim.ClearLog();
    emit win->EditMenu->aboutToShow();
    EXPECT_TRUE(sim.Log().empty()) << "no request for opening the menu";
    EXPECT_EQ(win->Edit_Copy->isEnabled(), c.selected);
    EXPECT_TRUE(win->Edit_SA->isEnabled());
    for (QAction* a : {win->Edit_Paste, win->Edit_PasteIns, win->Edit_Clear, win->Edit_Ins, win->Edit_Del})
      EXPECT_EQ(a->isEnabled(), c.writing) << a->objectName().toStdString();
  }
  // The command still asks: a drive running since the tick is not written.
  sim.ClearFaults();
  d.SetStatusExtraBits(1u << 3);
  win->AxisStatusNode = 1;
  win->AxisStatus = 0;
  emit win->EditMenu->aboutToShow();
  ASSERT_TRUE(win->Edit_Del->isEnabled());
  sim.ClearLog();
  win->Edit_Del->trigger();
  EXPECT_FALSE(sim.Requests(1).empty()) << "the drive is asked before the write";
  EXPECT_TRUE(Writes(1).empty());
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[0], "V 20");
}

TEST_F(StepListTest, ADriveSilentMidInsertStopsAndClearsTheView) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  for (int i = 0; i < 8; ++i) d.Programs().SetLine(Buffer::Active, uint8_t(i), "V " + std::to_string(i));
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  sim.ClearLog();
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, std::string("E") + char(6)));
  prompter.ExpectMessage(kSilent, Answer::Ok);
  Select(2, 3);
  S().Edit_Ins_Click();
  // Lines 7, 6 and 5 went down; the write of line 4 to 6 got no answer.
  const auto w = Writes(1);
  ASSERT_GE(w.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(w.begin(), w.begin() + 4),
            (std::vector<std::string>{"E9 V 7", "E8 V 6", "E7 V 5", "E6 V 4"}));
  EXPECT_EQ(w.back(), "E6 V 4") << "nothing after the silent write";
  EXPECT_FALSE(win->ProgramViewShown);
  EXPECT_EQ(List().ListCount(), 0);
  EXPECT_EQ(Ed().ShownProgram().Get_Op(0), -1);
  EXPECT_EQ(win->MousePointer(), 0);
}

// ---- mouse, keys, help

TEST_F(StepListTest, MouseAndKeysKeepOneBlockFromTheCurrentRow) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "V 20");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  auto press = [&](int button, int shift, int r) {
    S().EditList_MouseDown(int16_t(button), int16_t(shift), 150, PointOf(r));
  };
  auto release = [&](int r) { S().EditList_MouseUp(1, 0, 150, PointOf(r)); };
  ASSERT_GE(PointOf(20), 0);

  press(1, 0, 5);
  release(9);
  EXPECT_EQ(win->CurRow, 5);
  EXPECT_EQ(List().SelCount(), 5);
  // Shift extends from the same anchor.
  press(1, 1, 12);
  release(12);
  EXPECT_EQ(win->CurRow, 5);
  EXPECT_EQ(List().SelCount(), 8);
  // A drag from 20 up to 5 leaves only row 20.
  press(1, 0, 20);
  release(5);
  EXPECT_EQ(win->CurRow, 20);
  EXPECT_EQ(List().SelCount(), 1);
  EXPECT_TRUE(List().Selected(20));

  // A key keeps only the first selected row.
  Select(3, 7);
  win->CurRow = 7;
  S().EditList_KeyUp(40, 0);
  EXPECT_EQ(win->CurRow, 3);
  EXPECT_EQ(List().SelCount(), 1);

  S().Edit_SA_Click();
  EXPECT_EQ(win->CurRow, 0);
  EXPECT_EQ(List().SelCount(), 256);
  EXPECT_EQ(List().TopIndex(), 0);
}

TEST_F(StepListTest, RightClickShowsTheStepsHelp) {
  QTemporaryDir helpDir;
  QFile f(helpDir.path() + "/talvero.help");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  for (int c : {999, 1002}) f.write(QString("[%1] Topic %1\nkeywords: t%1\nText.\n").arg(c).toUtf8());
  f.close();
  talvero::HelpService help(helpDir.path().toStdString());
  std::vector<int> shown;
  help.SetDisplay([&](const talvero::HelpTopic& t, talvero::HelpWindow) { shown.push_back(t.context); });
  talvero::SetHelpService(&help);

  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "V 20");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  for (int r : {0, 7}) S().EditList_MouseDown(2, 0, 150, PointOf(r));
  talvero::SetHelpService(nullptr);
  EXPECT_EQ(shown, (std::vector<int>{1002, 999}));
  EXPECT_EQ(List().SelCount(), 1);
  EXPECT_TRUE(List().Selected(7));
}

// ---- the step editor

TEST_F(StepListTest, TheEditorLoopWritesEachLineAndStopsAtTheEnds) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 254, "V 1");
  d.Programs().SetLine(Buffer::Active, 1, "MA 1");
  d.SetValue("UU", "4");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  sim.ClearLog();
  {
    ModalScript script;
    script.On<EdStep>([](EdStep& f) {
      EXPECT_EQ(f.Des1->text(), "Speed [mm/sec]");
      f.Text1->setText("2*v9");
      f.OK_Click();
    });
    script.On<EdStep>([](EdStep& f) { f.OK_Click(); });  // the empty 255, then the end
    EditRow(254);
  }
  EXPECT_EQ(Writes(1), (std::vector<std::string>{"E254 V 2*V9", "E255 "}));
  EXPECT_EQ(win->CurRow, 255);
  EXPECT_EQ(Row(254), "\t     Speed 2*V9 mm/sec");

  sim.ClearLog();
  {
    ModalScript script;
    script.On<EdStep>([](EdStep& f) { f.Prev_Click(); });
    script.On<EdStep>([](EdStep& f) {
      EXPECT_EQ(f.Typ->currentItem()->text(), "<empty>");
      EXPECT_TRUE(f.Step->isHidden());
      f.Prev_Click();
    });
    EditRow(1);
  }
  EXPECT_EQ(Writes(1), (std::vector<std::string>{"E1 MA 1", "E0 "}));
  EXPECT_EQ(win->CurRow, 0);

  // Cancel writes the line as it was and ends the loop.
  sim.ClearLog();
  {
    ModalScript script;
    script.On<EdStep>([](EdStep& f) {
      f.Text1->setText("77");
      f.Cancel_Click();
    });
    EditRow(1);
  }
  EXPECT_EQ(Writes(1), (std::vector<std::string>{"E1 MA 1"}));
  EXPECT_EQ(win->CurRow, 1);
}

TEST_F(StepListTest, StepEditorFieldsKindsAndRefusals) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "MV 5 10");
  d.Programs().SetLine(Buffer::Active, 1, "LET A=1");
  d.Programs().SetLine(Buffer::Active, 2, "SHOW HI");
  d.SetValue("UU", "4");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  EdStep& f = S().StepEditor();
  std::vector<std::string> kinds;
  for (int i = 0; i < f.Typ->count(); ++i) kinds.push_back(f.Typ->item(i)->text().toStdString());
  EXPECT_EQ(kinds, (std::vector<std::string>{"<empty>", "<IML>", "Motion", "Flow", "Logic"}));

  const std::string k48(48, 'a'), k49(49, 'a');
  prompter.ExpectMessage("Invalid variable name: must be alphanumeric.", Answer::Ok);
  prompter.ExpectMessage("Invalid variable name: must be alphanumeric.", Answer::Ok);
  prompter.ExpectMessage("Commas, colons and backslashes are not allowed in a text field.", Answer::Ok);
  prompter.ExpectMessage("The 1st field is limited to 48 characters", Answer::Ok);
  {
    ModalScript script;
    // Line 0, a two-field motion step: a kind change starts on the kind's
    // first type with empty fields; going back restores the operands.
    script.On<EdStep>([](EdStep& f) {
      EXPECT_EQ(f.Des1->text(), "Position [mm]");
      EXPECT_EQ(f.Des2->text(), "Speed [mm/sec]");
      EXPECT_EQ(f.Text2->text(), "10");
      f.Typ->setCurrentRow(3);  // Flow: End, no fields
      EXPECT_EQ(f.Op(), 3);
      EXPECT_TRUE(f.Text1->isHidden());
      f.Typ->setCurrentRow(0);  // <empty>, then back to Motion
      f.Typ->setCurrentRow(2);  // Motion: its first type, empty
      EXPECT_EQ(f.Step->count(), 3);
      EXPECT_EQ(f.Op(), 1);
      EXPECT_EQ(f.Text1->text(), "");
      f.Step->setCurrentRow(2);  // the step's own type
      EXPECT_EQ(f.Op(), 4);
      EXPECT_EQ(f.Text1->text(), "5");
      EXPECT_EQ(f.Text2->text(), "10");
      f.OK_Click();
    });
    // Line 1: a variable, refused for Prev too, then abc stored as ABC.
    script.On<EdStep>([](EdStep& f) {
      EXPECT_EQ(f.Des1->text(), "Variable");
      f.Text1->setText("1AB");
      f.Prev_Click();
      EXPECT_TRUE(f.isVisible());
      f.Text1->setText("A-B");
      f.OK_Click();
      f.Text1->setText("abc");
      f.OK_Click();
    });
    // Line 2: a text with a comma, refused for Prev too; then <IML>.
    script.On<EdStep>([&](EdStep& f) {
      f.Text1->setText("A,B");
      f.Prev_Click();
      EXPECT_TRUE(f.isVisible());
      f.Typ->setCurrentRow(1);
      EXPECT_EQ(f.Des1->text(), "IML Command");
      EXPECT_EQ(f.Text1->text(), "");
      f.Text1->setText(QString::fromStdString(k49));
      f.OK_Click();
      f.Text1->setText(QString::fromStdString(k48));
      f.OK_Click();
    });
    // Line 3 is empty: "<empty>" is selected.
    script.On<EdStep>([](EdStep& f) {
      EXPECT_EQ(f.Typ->currentRow(), 0);
      f.Cancel_Click();
    });
    EditRow(0);
  }
  Program& p = Ed().ShownProgram();
  EXPECT_EQ(p.Get_Op(0), 4);
  EXPECT_EQ(p.Get_p1(0), "5");
  EXPECT_EQ(p.Get_p1(1), "ABC");
  EXPECT_EQ(p.Get_Op(2), 0);
  EXPECT_EQ(p.Get_p1(2), k48);
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[1], "LET ABC=1");
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[2], k48);

  // <empty> gives an empty step.
  {
    ModalScript script;
    script.On<EdStep>([](EdStep& f) {
      f.Typ->setCurrentRow(0);
      EXPECT_TRUE(f.Text1->isHidden());
      f.Cancel_Click();
      });
    EditRow(1);
  }
  EXPECT_EQ(p.Get_Op(1), 5) << "Cancel keeps the step";
  {
    ModalScript script;
    script.On<EdStep>([](EdStep& f) {
      f.Typ->setCurrentRow(0);
      f.OK_Click();
    });
    script.On<EdStep>([](EdStep& f) { f.Cancel_Click(); });
    EditRow(1);
  }
  EXPECT_EQ(p.Get_Op(1), -1);
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[1], "");
}

TEST_F(StepListTest, AStepIsMeasuredInTheCharactersTheDriveGets) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "IF 1 GO A");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  // "IF " + 40 + " GO " + 16: 63 characters, 64 bytes of UTF-8.
  const QString p1(40, '1'), p2 = QString(15, 'A') + QChar(0xC9);
  {
    ModalScript script;
    script.On<EdStep>([&](EdStep& f) {
      f.Text1->setText(p1);
      f.Text2->setText(p2);
      f.OK_Click();
    });
    script.On<EdStep>([](EdStep& f) { f.Cancel_Click(); });
    EditRow(0);
  }
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[0], "IF " + p1.toStdString() + " GO " + std::string(15, 'A') + "\xC9");
}

TEST_F(StepListTest, AStepTooComplexKeepsTheTypedTextAndTheOldStep) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "MV 5 10");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  const QString p1(40, '1'), p2(30, '2');
  prompter.ExpectMessage("Step too complex. Reduce the number of characters used", Answer::Ok);
  {
    ModalScript script;
    script.On<EdStep>([&](EdStep& f) {
      f.Text1->setText(p1);
      f.Text2->setText(p2);
      f.OK_Click();
    });
    script.On<EdStep>([&](EdStep& f) {
      EXPECT_EQ(f.Text1->text(), p1);
      EXPECT_EQ(f.Text2->text(), p2);
      EXPECT_EQ(Ed().ShownProgram().Get_p1(0), "5") << "the old step until accepted";
      f.Text1->setText("7");
      f.OK_Click();
    });
    script.On<EdStep>([](EdStep& f) { f.Cancel_Click(); });
    EditRow(0);
  }
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[0], "MV 7 " + p2.toStdString());
}

}  // namespace
