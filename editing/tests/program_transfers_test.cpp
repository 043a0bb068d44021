// Programs between an application and a drive, and the drive's program
// store commands, against simulated drives and an application file.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>

#include "editing/ed_set.h"
#include "editing/tests/transfers_fixture.h"
#include "mainwin/model/units_list.h"
#include "sim/fault_plan.h"

namespace {

using editing_test::TransfersTest;
using talvero::Answer;
using talvero::TargetKind;
using talvero::sim::Buffer;
using talvero::sim::Family;
using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

class ProgramTransfersTest : public TransfersTest {
 protected:
  // Drive 1 and an application whose program 1 is named name, with steps on
  // lines 0, 7 and 255, ratio 2.5 and units "inch"; its node clicked.
  talvero::sim::SimDrive& DriveAndProgram(const std::string& name) {
    auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
    EXPECT_TRUE(StartOnLine());
    OpenApp([&](Applic& app) {
      ASSERT_TRUE(app.AddPgm(name));
      ASSERT_TRUE(app.UpdatePgmStep(1, 0, "V 5"));
      ASSERT_TRUE(app.UpdatePgmStep(1, 7, "MA 7"));
      ASSERT_TRUE(app.UpdatePgmStep(1, 255, "END"));
      ASSERT_TRUE(app.UpdateSettings(1, "Jogging", "2.5", "inch"));
    });
    Click(PR(1, 1));
    return d;
  }
  // The line numbers of the program line writes, in order.
  std::vector<int> LinesWritten(const std::string& command) {
    std::vector<int> lines;
    for (const std::string& r : Sent(1, command)) lines.push_back(uint8_t(r[1]));
    return lines;
  }
};

TEST_F(ProgramTransfersTest, ToTheActiveProgramSendsOnlyStepsInLineOrderAndTheSettings) {
  auto& d = DriveAndProgram("jog");
  d.Programs().SetLine(Buffer::Active, 3, "MA 99");  // cleared first
  int highest = 0;
  QObject::connect(win->Prog, &QProgressBar::valueChanged, [&](int v) { highest = std::max(highest, v); });
  CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1));

  const auto& active = d.Programs().Get(Buffer::Active);
  EXPECT_EQ(active.lines[0], "V 5");
  EXPECT_EQ(active.lines[3], "");
  EXPECT_EQ(active.lines[7], "MA 7");
  EXPECT_EQ(active.lines[255], "END");
  EXPECT_EQ(LinesWritten("E"), (std::vector<int>{0, 7, 255}));
  EXPECT_EQ(d.Value("TR").value_or(""), "2.5");
  EXPECT_EQ(d.Value("UU").value_or(""), std::to_string(talvero::FindUU("inch")));
  EXPECT_EQ(Sent(1, "PS$$SAVE$$").size(), 1u);
  EXPECT_EQ(highest, 255);
  EXPECT_EQ(win->Prog->value(), 0);
  EXPECT_EQ(win->MousePointer(), 0);
  EXPECT_EQ(win->RunningOperation(), nullptr);
}

TEST_F(ProgramTransfersTest, LibraryNamesAreCheckedBeforeAnythingIsSent) {
  struct Case {
    const char* program;
    const char* message;  // "" = none
    const char* stored;   // "" = nothing sent
  };
  const Case cases[] = {
      {"pick-up", "Rename the program: drive library names must be alphanumeric.", ""},
      {"jog 2", "", "JOG 2"},
      {"abcdefghij", "Drive library names cannot exceed 8 characters: name (ABCDEFGHIJ) will be truncated !",
       "ABCDEFGH"},
  };
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic& app) {
    for (int16_t p = 1; p <= 3; ++p) {
      ASSERT_TRUE(app.AddPgm(cases[p - 1].program));
      ASSERT_TRUE(app.UpdatePgmStep(p, 0, "V 5"));
      ASSERT_TRUE(app.UpdatePgmStep(p, 7, "MA 7"));
      ASSERT_TRUE(app.UpdatePgmStep(p, 255, "END"));
      ASSERT_TRUE(app.UpdateSettings(p, "", "2.5", "inch"));
    }
  });
  int pgm = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    Click(PR(1, ++pgm));
    sim.ClearLog();
    if (*c.message) prompter.ExpectBox({c.message}, Answer::Ok);
    CopyTo("PR_Copy", To(TargetKind::DriveProgramLibrary, 0, 0, 1));
    if (!*c.stored) {
      EXPECT_TRUE(sim.Requests(1).empty());
      continue;
    }
    const auto* stored = d.Programs().Find(c.stored);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->program.lines[0], "V 5");
    EXPECT_EQ(stored->program.lines[255], "END");
    EXPECT_EQ(stored->program.ratio, "2.5");
    EXPECT_EQ(LinesWritten("e"), (std::vector<int>{0, 7, 255}));
    // Written into the edit buffer line by line, stored once under the name.
    EXPECT_EQ(Sent(1, "Ps").size(), 1u);
    bool listed = false;
    for (const std::string& key : win->Sys->Children("PL1")) listed |= win->Sys->Text(key) == c.stored;
    EXPECT_TRUE(listed);
  }
}

TEST_F(ProgramTransfersTest, ALibraryProgramOfTheSameNameIsReplacedOnlyOnOk) {
  auto& d = DriveAndProgram("jog");
  d.Programs().SetLine(Buffer::Library, 0, "END");
  d.Programs().Save(Buffer::Library, "JOG");
  prompter.ExpectMessage("Replace JOG?", Answer::Cancel);
  CopyTo("PR_Copy", To(TargetKind::DriveProgramLibrary, 0, 0, 1));
  EXPECT_TRUE(Sent(1, "e").empty());
  EXPECT_EQ(d.Programs().Find("JOG")->program.lines[0], "END");

  prompter.ExpectMessage("Replace JOG?", Answer::Ok);
  CopyTo("PR_Copy", To(TargetKind::DriveProgramLibrary, 0, 0, 1));
  EXPECT_EQ(d.Programs().Find("JOG")->program.lines[0], "V 5");
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Question);
}

TEST_F(ProgramTransfersTest, ARunningOrSilentDriveKeepsItsActiveProgram) {
  auto& d = DriveAndProgram("jog");
  d.Programs().SetLine(Buffer::Active, 0, "MA 1");
  d.Programs().Save(Buffer::Library, "PARK");
  win->RefreshAxisLibrary(1);
  d.SetStatusExtraBits(talvero::sim::kRunning);
  const std::string refused = "The program on node 1 is running: stop it first.";
  prompter.ExpectMessage(refused, Answer::Ok);
  CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1));
  Click("LE1,0");
  prompter.ExpectMessage(refused, Answer::Ok);
  Command("LE_Activate");
  Click("PP1");
  sim.ClearLog();
  prompter.ExpectMessage("Really clear this program ?", Answer::Ok).ExpectMessage(refused, Answer::Ok);
  Command("PP_Clear");
  for (const std::string& r : sim.Requests(1)) EXPECT_TRUE(r[0] != 'E' && r[0] != 'P') << r;
  EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[0], "MA 1");

  Click(PR(1, 1));
  d.SetStatusExtraBits(0);
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "Q"));
  sim.ClearLog();
  prompter.ExpectMessage(refused, Answer::Ok);
  CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1));
  EXPECT_TRUE(Sent(1, "E").empty());
  EXPECT_TRUE(Sent(1, "PC").empty());
}

TEST_F(ProgramTransfersTest, ADriveFailingPartWayStopsTheCopyAndSaysWhereAndHow) {
  // A silent drive and one whose replies all arrive damaged are told apart.
  const struct {
    FaultKind fault;
    const char* message;
  } cases[] = {
      {FaultKind::Silence, "Node 1 did not answer; the copy stopped at line 7 of jog."},
      {FaultKind::BadChecksum, "Node 1 gave no valid answer; the copy stopped at line 7 of jog."},
  };
  auto& d = DriveAndProgram("jog");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    sim.ClearFaults();
    sim.AddFault(FaultRule::Kind(c.fault, 1, "E" + std::string(1, char(7))));
    sim.ClearLog();
    prompter.ExpectMessage(c.message, Answer::Ok);
    CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1));
    EXPECT_TRUE(Sent(1, "E" + std::string(1, char(255))).empty());
    EXPECT_TRUE(Sent(1, ":!TR").empty());
    EXPECT_EQ(d.Programs().Get(Buffer::Active).lines[0], "V 5");
    EXPECT_EQ(win->MousePointer(), 0);
    EXPECT_EQ(win->Prog->value(), 0);
  }
}

TEST_F(ProgramTransfersTest, TheSettingsStopAtTheirFirstUnansweredRequestWithTheirOwnBox) {
  const struct {
    const char* silent;  // the settings request the drive does not answer
    const char* message;
    std::function<void()> run;
  } cases[] = {
      {":!TR=", "Node 1 did not answer; the settings of jog were not stored.",
       [this] { CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1)); }},
      {":!TUU=", "Node 1 did not answer; jog was not stored in the library.",
       [this] { CopyTo("PR_Copy", To(TargetKind::DriveProgramLibrary, 0, 0, 1)); }},
      {":!TTR=", "Node 1 did not answer; no program was created.",
       [this] {
         Click("PL1");
         Command("PL_New");
       }},
  };
  DriveAndProgram("jog");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.silent);
    sim.ClearFaults();
    sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, c.silent));
    sim.ClearLog();
    prompter.ExpectMessage(c.message, Answer::Ok);
    c.run();
    // The copy keeps the link's tries, and sends nothing after them.
    const auto requests = sim.Requests(1);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(Sent(1, c.silent).size(), size_t(win->Link.Retries));
    EXPECT_EQ(requests.back().rfind(c.silent, 0), 0u) << requests.back();
    EXPECT_EQ(win->RunningOperation(), nullptr);
  }
}

TEST_F(ProgramTransfersTest, TheTreeKeepsItsNodeWhileACopyRuns) {
  DriveAndProgram("jog");
  const std::string start = win->SelKey;
  int tries = 0;
  pump = [&] {
    if (tries++ > 0) return;
    win->Sys->Select("#1");
    win->Sys_NodeClick("#1");
    // A second copy is refused too.
    CopyTo("PR_Copy", To(TargetKind::DriveProgramLibrary, 0, 0, 1));
  };
  CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1));
  pump = nullptr;
  EXPECT_GT(tries, 0);
  EXPECT_EQ(win->SelKey, start);
  EXPECT_EQ(win->Sys->SelectedKey(), start);
  EXPECT_TRUE(Sent(1, "e").empty());
  EXPECT_EQ(LinesWritten("E"), (std::vector<int>{0, 7, 255}));
}

TEST_F(ProgramTransfersTest, AllProgramsGoToTheLibraryAfterOneCheckPass) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  d.Programs().Save(Buffer::Library, "HOME");
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddPgm("home"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 3, "V 9"));
    ASSERT_TRUE(app.UpdateSettings(1, "", "4", "mm"));
    ASSERT_TRUE(app.AddPgm("park"));
    ASSERT_TRUE(app.UpdatePgmStep(2, 255, "END"));
    ASSERT_TRUE(app.AddPgm("Zero"));
  });
  Click(TreeKey::Make("PR", {-1}).Format());
  ASSERT_FALSE(win->ProgramNodeSelected);
  prompter.ExpectMessage("Overwrite drive library programs having the same name ?", Answer::Ok);
  CopyTo("PR_Copy", To(TargetKind::DriveActiveProgram, 0, 0, 1));  // whatever the entry

  ASSERT_NE(d.Programs().Find("HOME"), nullptr);
  EXPECT_EQ(d.Programs().Find("HOME")->program.lines[3], "V 9");
  EXPECT_EQ(d.Programs().Find("HOME")->program.ratio, "4");
  EXPECT_EQ(d.Programs().Find("HOME")->program.units, std::to_string(talvero::FindUU("mm")));
  EXPECT_EQ(d.Programs().Find("PARK")->program.lines[255], "END");
  EXPECT_NE(d.Programs().Find("ZERO"), nullptr);
  EXPECT_TRUE(Sent(1, "E").empty());
  EXPECT_EQ(win->Sys->Children("PL1").size(), 3u);
}

TEST_F(ProgramTransfersTest, TheCheckPassRefusesBadAndCollidingNames) {
  struct Case {
    std::vector<std::string> programs;
    std::vector<std::string> messages;
  };
  const std::string cut = "Drive library names cannot exceed 8 characters: name (";
  const Case cases[] = {
      {{"ok", "x-ray"}, {"Rename library program(s): drive library names must be alphanumeric."}},
      {{"longname01", "LONGNAME02"},
       {cut + "LONGNAME01) will be truncated !", cut + "LONGNAME02) will be truncated !",
        "Rename library program(s): LONGNAME01 and LONGNAME02 would both be stored as LONGNAME."}},
  };
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  int slot = 0;
  for (const Case& c : cases) {
    ++slot;
    const std::string path = (dir.path() + "/Cell" + QString::number(slot) + ".APP").toStdString();
    {
      Applic app;
      ASSERT_TRUE(app.Create(path));
      for (const std::string& p : c.programs) ASSERT_TRUE(app.AddPgm(p));
    }
    ASSERT_TRUE(win->OpenAnApp(path));
    Click(TreeKey::Make("PR", {-slot}).Format());
    sim.ClearLog();
    for (const std::string& m : c.messages) prompter.ExpectBox({m}, Answer::Ok);
    CopyTo("PR_Copy", To(TargetKind::DriveProgramLibrary, 0, 0, 1));
    EXPECT_TRUE(sim.Requests(1).empty());
  }
}

// The drive library of node 2: HOME (steps on 0 and 20, a skip between),
// "$$SAVE$$", then JOG (steps on 0..30).
class LibraryCopyTest : public ProgramTransfersTest {
 protected:
  talvero::sim::SimDrive& Library() {
    auto& d = AddDrive(2, Family::RHO, "KV110c", "Arm");
    auto& store = d.Programs();
    store.SetLine(Buffer::Library, 0, "V 3");
    store.SetLine(Buffer::Library, 20, "MA 20");
    store.Get(Buffer::Library).ratio = "3";
    store.Get(Buffer::Library).units = std::to_string(talvero::FindUU("mm"));
    store.Save(Buffer::Library, "HOME");
    store.Clear(Buffer::Library);
    store.Save(Buffer::Library, "$$SAVE$$");
    for (int line = 0; line <= 30; ++line) store.SetLine(Buffer::Library, line, "MA " + std::to_string(line));
    store.Save(Buffer::Library, "JOG");
    return d;
  }
};

TEST_F(LibraryCopyTest, TheLibraryGoesIntoTheApplicationAskingOnce) {
  Library();
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddPgm("JOG"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 99, "END"));
    ASSERT_TRUE(app.AddPgm("HOME"));
  });
  Click("PP2");
  const std::string units = win->UnitsName;
  const float ratio = win->Transmission;
  prompter.ExpectMessage("Overwrite application programs having the same name ?", Answer::Ok);
  Click("PL2");
  CopyTo("PL_Copy", To(TargetKind::Application, 1));

  Applic& app = App();
  ASSERT_TRUE(app.Pexist("HOME"));
  const int16_t home = app.CurrentPgm;
  EXPECT_EQ(app.GetPgmStep(home, 0), "V 3");
  EXPECT_EQ(app.GetPgmStep(home, 20), "MA 20");
  EXPECT_EQ(app.GetMaxLineNumber(home), 20);
  EXPECT_FLOAT_EQ(app.GetTrans(home), 3.0f);
  EXPECT_EQ(app.GetUnits(home), "mm");
  EXPECT_EQ(app.GetPD(home).rfind("Node 2 (", 0), 0u) << app.GetPD(home);
  // The skip reply after line 0 jumps to 20.
  int homeReads = 0;
  for (const std::string& r : Sent(2, "l")) homeReads += r.substr(2) == "HOME";
  EXPECT_EQ(homeReads, 4);  // 0, 1 (skips to 20), 20, 21 (a lone blank ends it)
  ASSERT_TRUE(app.Pexist("JOG"));
  EXPECT_EQ(app.GetPgmStep(app.CurrentPgm, 30), "MA 30");
  EXPECT_EQ(app.GetPgmStep(app.CurrentPgm, 99), "");  // overwritten whole
  EXPECT_FALSE(app.Pexist("$$SAVE$$"));
  // Nothing new in the tree: both programs existed.
  EXPECT_EQ(win->Sys->Children(TreeKey::Make("PR", {-1}).Format()).size(), 2u);
  // The list's program and settings are as it shows them.
  EXPECT_EQ(win->UnitsName, units);
  EXPECT_FLOAT_EQ(win->Transmission, ratio);
}

TEST_F(LibraryCopyTest, NewProgramsGetTheirNodesAndASilentDriveStoresNothingOfTheProgram) {
  Library();
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic&) {});
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 2, "l" + std::string(1, char(17)) + "JOG"));
  Click("PL2");
  prompter.ExpectMessage("Node 2 did not answer; the copy stopped at line 17 of JOG.", Answer::Ok);
  CopyTo("PL_Copy", To(TargetKind::Application, 1));

  Applic& app = App();
  ASSERT_TRUE(app.Pexist("HOME"));
  const std::string key = PR(1, app.CurrentPgm);
  ASSERT_TRUE(win->Sys->Exists(key));
  EXPECT_EQ(win->Sys->Text(key), "HOME");
  EXPECT_EQ(win->Sys->Picture(key), "doc");
  EXPECT_FALSE(app.Pexist("JOG"));
  EXPECT_EQ(win->Sys->Children(TreeKey::Make("PR", {-1}).Format()).size(), 1u);
  EXPECT_EQ(win->MousePointer(), 0);
}

TEST_F(LibraryCopyTest, AProgramWhoseRatioGoesUnansweredIsNotCopiedAndItsUnitsAreNotAsked) {
  Library();
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic&) {});
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 2, "=TTR"));
  Click("PL2");
  sim.ClearLog();
  prompter.ExpectMessage("Node 2 did not answer; HOME was not copied.", Answer::Ok);
  CopyTo("PL_Copy", To(TargetKind::Application, 1));
  EXPECT_EQ(Sent(2, "=TTR").size(), size_t(win->Link.Retries));
  EXPECT_EQ(sim.Requests(2).back(), "=TTR");
  EXPECT_FALSE(App().Pexist("HOME"));
}

TEST_F(LibraryCopyTest, AFileThatFailsKeepsNothingOfTheProgram) {
  Library();
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic&) {});
  App().Database()->SetFaultHook([](std::string_view sql) {
    return sql.find("INSERT") != std::string_view::npos && sql.find("PGM:JOG") != std::string_view::npos;
  });
  Click("PL2");
  prompter.ExpectMessageContaining("JOG was not stored: ", Answer::Ok);
  CopyTo("PL_Copy", To(TargetKind::Application, 1));
  App().Database()->SetFaultHook({});
  EXPECT_TRUE(App().Pexist("HOME"));
  EXPECT_FALSE(App().Pexist("JOG"));
  EXPECT_EQ(win->Sys->Children(TreeKey::Make("PR", {-1}).Format()).size(), 1u);
}

TEST_F(LibraryCopyTest, EscapeStopsTheCopyBetweenPrograms) {
  Library();
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic&) {});
  Click("PL2");
  bool pressed = false;
  pump = [&] {
    if (pressed || !App().Pexist("HOME")) return;
    pressed = true;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(win.get(), &escape);
  };
  prompter.ExpectMessage("The copy was stopped after 1 of 2 programs.", Answer::Ok);
  CopyTo("PL_Copy", To(TargetKind::Application, 1));
  pump = nullptr;
  EXPECT_TRUE(App().Pexist("HOME"));
  EXPECT_FALSE(App().Pexist("JOG"));
  EXPECT_TRUE(Sent(2, "PlJOG").empty());
}

TEST_F(LibraryCopyTest, AnEmptyLibraryAsksAndCopiesNothing) {
  AddDrive(2, Family::RHO, "KV110c", "Arm");
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic& app) { ASSERT_TRUE(app.AddPgm("JOG")); });
  Click("PL2");
  CopyTo("PL_Copy", To(TargetKind::Application, 1));
  EXPECT_EQ(Sent(2, "PD").size(), 1u);  // slot 0 only
  EXPECT_TRUE(Sent(2, "Pl").empty());
}

TEST_F(ProgramTransfersTest, NewLibraryProgramOnceOnly) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("PL1");
  Command("PL_New");
  const auto* made = d.Programs().Find("NEW");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->program.ratio, "1");
  EXPECT_EQ(made->program.units, std::to_string(talvero::FindUU("system-rev")));
  EXPECT_EQ(win->Sys->SelectedKey(), "LE1,0");
  EXPECT_EQ(win->Sys->Text("LE1,0"), "NEW");

  Click("PL1");
  prompter.ExpectMessage("Rename or Delete 'NEW' before trying to create a new program.", Answer::Ok);
  sim.ClearLog();
  Command("PL_New");
  EXPECT_TRUE(Sent(1, "Pc").empty());
  EXPECT_EQ(d.Programs().Library().size(), 1u);
}

TEST_F(ProgramTransfersTest, TheActiveProgramIsCopiedUnderItsNodeName) {
  auto& d = AddDrive(3, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 4, "V 8");
  ASSERT_TRUE(StartOnLine());
  OpenApp([&](Applic&) {});
  Click("PP3");
  CopyTo("PP_Copy", To(TargetKind::Application, 1));
  Applic& app = App();
  ASSERT_TRUE(app.Pexist("Node 3 Active"));
  EXPECT_EQ(app.GetPgmStep(app.CurrentPgm, 4), "V 8");
  EXPECT_TRUE(win->Sys->Exists(PR(1, app.CurrentPgm)));

  prompter.ExpectMessage("Really overwrite application program named Node 3 Active?", Answer::Cancel);
  d.Programs().SetLine(Buffer::Active, 4, "V 1");
  Click("PP3");
  CopyTo("PP_Copy", To(TargetKind::Application, 1));
  EXPECT_EQ(app.GetPgmStep(app.CurrentPgm, 4), "V 8");
}

TEST_F(ProgramTransfersTest, StoringTheActiveProgramChecksTheName) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "END");
  d.Programs().Save(Buffer::Library, "PARK");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");
  sim.ClearLog();
  prompter.ExpectInput("Name to save program as:", "abcdefghi")
      .ExpectBox({"Name cannot exceed 8 characters."}, Answer::Ok)
      .ExpectInput("Name to save program as:", "a*")
      .ExpectBox({"Invalid name: Use alphanumeric characters only."}, Answer::Ok)
      .ExpectInput("Name to save program as:", std::nullopt);
  for (int i = 0; i < 3; ++i) Command("PP_Store");
  EXPECT_TRUE(sim.Requests(1).empty());

  prompter.ExpectInput("Name to save program as:", " park ").ExpectMessage("Replace PARK?", Answer::Ok);
  Command("PP_Store");
  EXPECT_EQ(d.Programs().Find("PARK")->program.lines[0], "END");
  EXPECT_EQ(Sent(1, "PSPARK").size(), 1u);
}

TEST_F(ProgramTransfersTest, DeletingALibraryProgram) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().Save(Buffer::Library, "PARK");
  ASSERT_TRUE(StartOnLine());
  Click("LE1,0");
  prompter.ExpectMessage("Really delete PARK?", Answer::Ok);
  Command("LE_Delete");
  EXPECT_EQ(d.Programs().Find("PARK"), nullptr);
  EXPECT_FALSE(win->Sys->Exists("LE1,0"));

  d.Programs().Save(Buffer::Library, "PARK");
  win->RefreshAxisLibrary(1);
  Click("LE1,0");
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "PX"));
  prompter.ExpectMessage("Really delete PARK?", Answer::Ok).ExpectMessage("Couldn't delete: PARK", Answer::Ok);
  Command("LE_Delete");
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Critical);
  EXPECT_EQ(prompter.Boxes().back().buttons, talvero::Buttons::OkCancel);
  EXPECT_TRUE(win->Sys->Exists("LE1,0"));
}

TEST_F(ProgramTransfersTest, NewAndDeletedApplicationPrograms) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic&) {});
  Click(TreeKey::Make("PR", {-1}).Format());
  prompter.ExpectInput("Name of new program:", "Weld");
  Command("PR_New");
  ASSERT_TRUE(App().Pexist("Weld"));
  const std::string key = PR(1, App().CurrentPgm);
  EXPECT_EQ(win->SelKey, key);
  EXPECT_TRUE(win->ProgramViewShown);

  prompter.ExpectMessage("Really delete program Weld?", Answer::Ok);
  Command("PR_Delete");
  EXPECT_FALSE(App().Pexist("Weld"));
  EXPECT_FALSE(win->Sys->Exists(key));
}

TEST_F(ProgramTransfersTest, PropertiesOkRebuildsTheViewCancelLeavesIt) {
  DriveAndProgram("jog");
  win->CurApplic = nullptr;
  {
    editing_test::ModalScript script;
    script.On<editing::EdSet>([](editing::EdSet& s) {
      s.sel->setCurrentIndex(s.sel->findText("mm"));
      s.ok->click();
    });
    Command("PR_Prop");
  }
  EXPECT_EQ(win->CurApplic, &App());
  EXPECT_EQ(App().GetUnits(1), "mm");
  // The node click ran again: the view shows the new units.
  EXPECT_EQ(win->SelKey, PR(1, 1));
  EXPECT_EQ(win->UnitsName, "mm");
  EXPECT_EQ(List().ItemText(0), "\t     Speed 5 mm/sec");

  win->UnitsName = "stale";
  {
    editing_test::ModalScript script;
    script.On<editing::EdSet>([](editing::EdSet& s) { s.cancel->click(); });
    Command("PR_Prop");
  }
  EXPECT_EQ(win->UnitsName, "stale");
}

TEST_F(ProgramTransfersTest, OtherItemsGoToTheEarlierHook) {
  ASSERT_TRUE(Start());
  // A fresh window, with a hook in place before the editing one.
  std::vector<std::string> passed;
  MainWin& w = *win;
  w.MenuCommandHook = [&](const std::string& item) { passed.push_back(item); };
  editing::InstallTransfers(w);
  Command("AA_Zap");
  Command("PA_Init");
  EXPECT_EQ(passed, (std::vector<std::string>{"AA_Zap", "PA_Init"}));
}

}  // namespace
