// The program, parameter and event views of the main list, against
// simulated drives and an application file.
#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "editing/ed_set.h"
#include "editing/ed_t.h"
#include "editing/tests/editing_fixture.h"
#include "mainwin/model/tree_key.h"
#include "sim/fault_plan.h"
#include "store/applic.h"

namespace {

using editing::EdSet;
using editing::EdT;
using editing_test::EditingTest;
using editing_test::ModalScript;
using talvero::Answer;
using talvero::sim::Buffer;
using talvero::sim::Family;
using talvero::sim::FaultRule;

class ViewsTest : public EditingTest {
 public:
  using EditingTest::Click;
  using EditingTest::DblClick;
  using EditingTest::Ed;
  using SimWindowTest::win;
};

// The list keeps widths and heights in whole pixels.
int Px(int twips) {
  const QScreen* s = QGuiApplication::primaryScreen();
  const double dpi = s ? std::round(s->logicalDotsPerInchX()) : 96.0;
  return int(std::lround(int(twips * dpi / 1440.0 + 1e-6) * 1440.0 / dpi));
}

TEST_F(ViewsTest, ActiveProgramFollowsSkipRepliesToLines254And255) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.Programs().SetLine(Buffer::Active, 0, "V 20");
  d.Programs().SetLine(Buffer::Active, 254, "MA 100");
  d.Programs().SetLine(Buffer::Active, 255, "END");
  d.SetValue("UU", "4");
  d.SetValue("TR", "2.5");
  ASSERT_TRUE(StartOnLine());
  Click("PP1");

  EXPECT_TRUE(win->ProgramViewShown);
  ASSERT_EQ(List().ListCount(), 256);
  EXPECT_EQ(List().ItemText(0), "\t     Speed 20 mm/sec");
  EXPECT_EQ(List().ItemText(1), "\t ");
  EXPECT_EQ(List().ItemText(254), "\t     Move to 100 mm");
  EXPECT_EQ(List().ItemText(255), "\t     End");
  EXPECT_EQ(win->UnitsName, "mm");
  EXPECT_FLOAT_EQ(win->Transmission, 2.5f);
  EXPECT_EQ(win->PgmDescription.rfind("Node 1 (", 0), 0u) << win->PgmDescription;
  // Line 1's skip reply jumps to 254: lines 2..253 are never asked for.
  int lineReads = 0;
  for (const std::string& r : sim.Requests(1)) lineReads += r[0] == 'L';
  EXPECT_EQ(lineReads, 4);  // 0, 1, 254, 255
  EXPECT_EQ(List().TabWidth(0), Px(240));
  EXPECT_EQ(List().ListHeight(255), Px(249));
  EXPECT_EQ(List().DefHeight(), 249);  // kept as set
  EXPECT_EQ(win->MousePointer(), 0);
  EXPECT_EQ(win->Prog->value(), 0);
}

TEST_F(ViewsTest, LibraryProgramIsLoadedIntoTheEditBufferFirst) {
  auto& d = AddDrive(2, Family::TAU, "KV110i/d", "Lift");
  d.Programs().SetLine(Buffer::Library, 3, "MA 5");
  d.Programs().Get(Buffer::Library).units = "1";
  d.Programs().Save(Buffer::Library, "HOME");
  d.Programs().Clear(Buffer::Library);
  ASSERT_TRUE(StartOnLine());
  Click("LE2,0");

  ASSERT_EQ(win->CurPgmName, "HOME");
  const auto requests = sim.Requests(2);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].substr(0, 2), "Pl");
  EXPECT_EQ(List().ItemText(3), "\t     Move to 5 degree");
  EXPECT_EQ(win->UnitsName, "degree");
}

TEST_F(ViewsTest, ADriveSilentPartWayShowsNoPartialProgram) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  for (int line = 0; line < 10; ++line) d.Programs().SetLine(Buffer::Active, line, "V 1");
  ASSERT_TRUE(StartOnLine());
  // Lines 0..4 come back, then the drive stops answering line reads.
  for (int line = 5; line < 10; ++line)
    sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "L" + std::string(1, char(line))));
  Click("PP1");

  EXPECT_FALSE(win->ProgramViewShown);
  EXPECT_EQ(Rows(), std::vector<std::string>{"\tNode 1 does not answer"});
  EXPECT_EQ(Ed().ShownProgram().Get_Op(0), -1);
  EXPECT_EQ(win->MousePointer(), 0);
  // Line 5 had all its tries; line 6 was never asked for.
  const auto requests = sim.Requests(1);
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "L" + std::string(1, char(5))), win->Link.Retries + 5);
  EXPECT_EQ(requests.back(), "L" + std::string(1, char(5)));
}

TEST_F(ViewsTest, ALibraryProgramTheDriveWillNotLoadIsNotShown) {
  auto& d = AddDrive(2, Family::TAU, "KV110i/d", "Lift");
  d.Programs().SetLine(Buffer::Library, 0, "V 1");
  d.Programs().Save(Buffer::Library, "HOME");
  // What an earlier read left in the edit buffer must not pass for HOME.
  d.Programs().SetLine(Buffer::Library, 0, "MA 99");
  ASSERT_TRUE(StartOnLine());
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 2, "Pl"));
  Click("LE2,0");
  EXPECT_FALSE(win->ProgramViewShown);
  EXPECT_EQ(Rows(), std::vector<std::string>{"\tNode 2 does not answer"});
  for (const std::string& r : sim.Requests(2)) EXPECT_EQ(r.substr(0, 2), "Pl") << "read after the load failed";
}

TEST_F(ViewsTest, ApplicationProgramReadsOnlyItsStoredLines) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddPgm("PICK"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 0, "V 5"));
    ASSERT_TRUE(app.UpdatePgmStep(1, 2, "MA 7"));
    ASSERT_TRUE(app.UpdateSettings(1, "Pick a part", "4", "inch"));
  });
  Click(TreeKey::Make("PR", {-1, 1}).Format());

  ASSERT_TRUE(win->ProgramViewShown);
  EXPECT_EQ(List().ListCount(), 256);
  EXPECT_EQ(List().ItemText(0), "\t     Speed 5 inch/sec");
  EXPECT_EQ(List().ItemText(1), "\t ");
  EXPECT_EQ(List().ItemText(2), "\t     Move to 7 inch");
  EXPECT_EQ(win->PgmDescription, "Pick a part");
  EXPECT_FLOAT_EQ(win->Transmission, 4.0f);
  EXPECT_EQ(win->UnitsName, "inch");
}

TEST_F(ViewsTest, ParameterViewRowsValuesAndItalics) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.SetValue("CM", "2");
  d.SetValue("SWE", "1");
  d.SetValue("KVF", "12.5");
  d.SetValue("SUREV", "3");
  ASSERT_TRUE(StartOnLine());
  Click("SU1");

  EXPECT_TRUE(win->ParameterViewShown);
  EXPECT_EQ(Rows(), (std::vector<std::string>{
                        "\tCommand Mode (CM)\tPosition ",
                        "\tSoftware Enable (SWE)\tActive ",
                        "\tFeed Forward (KVF)\t12.500 percent",
                        "\tSetup Revision (SUREV)\t3.00 ",  // Null units: the row ends with the blank
                    }));
  EXPECT_EQ(List().ItemData(0), 1);
  EXPECT_EQ(List().ItemData(3), 4);
  EXPECT_FALSE(List().ListFontItalic(0));
  EXPECT_TRUE(List().ListFontItalic(3));  // read-only, outside service mode
  EXPECT_EQ(List().TabWidth(0), Px(24));
  EXPECT_EQ(List().TabWidth(1), Px(2433));
  EXPECT_EQ(List().ListHeight(0), Px(249));

  Click("SM1");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"\tPeak Current (IPEAK)\t7.50 amps"}));
  EXPECT_EQ(List().TabWidth(1), Px(2846));
  Click("PA1");
  EXPECT_TRUE(win->ParameterViewShown);
  EXPECT_EQ(List().ListCount(), 0);
}

TEST_F(ViewsTest, ServiceModeShowsReadOnlyRowsUpright) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  win->Item("AA_SetConfig")->setEnabled(true);  // as the service keyword leaves it
  Click("SU1");
  ASSERT_EQ(List().ListCount(), 4);
  EXPECT_FALSE(List().ListFontItalic(3));
}

TEST_F(ViewsTest, TheRealLibraryShowsSixModesOnARhoDrive) {
  libraryPath = std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV";
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  EXPECT_EQ(List().ListCount(), 6);
}

TEST_F(ViewsTest, ADriveSilentPartWayShowsNoParameterAndIsAskedNothingMore) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "=KVF"));
  Click("SU1");
  EXPECT_EQ(Rows(), std::vector<std::string>{"\tNode 1 does not answer"});
  EXPECT_FALSE(win->ParameterViewShown);
  const auto requests = sim.Requests(1);
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "=SUREV"), 0);
  EXPECT_EQ(requests.back(), "=KVF");
  EXPECT_EQ(win->MousePointer(), 0);
}

TEST_F(ViewsTest, ApplicationAxisParametersComeFromTheFile) {
  ASSERT_TRUE(Start());
  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddAxis("X", "RHO", win->ParametersRS));
    ASSERT_TRUE(app.PutParam(1, "KVF", "2.25"));
  });
  Click(TreeKey::Make("SU", {-1, 1}).Format());
  ASSERT_EQ(List().ListCount(), 4);
  EXPECT_EQ(List().ItemText(2), "\tFeed Forward (KVF)\t2.250 percent");
}

TEST_F(ViewsTest, FontSizeSetsColumnsAndRows) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  Click("SU1");
  List().SetFontSize(10);
  EXPECT_TRUE(Ed().ComputeLBData());
  EXPECT_EQ(List().TabWidth(1), Px(2950));
  EXPECT_EQ(List().DefHeight(), 302);
  Click("SF1");
  EXPECT_EQ(List().TabWidth(1), Px(3450));
  Click("TH1");  // the events view keeps its own columns
  List().SetTabWidth(1, 1000);
  EXPECT_FALSE(Ed().ComputeLBData());
  EXPECT_EQ(List().TabWidth(1), Px(1000));
}

TEST_F(ViewsTest, EventsViewOnADriveAndAnApplicationAxis) {
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.SetEventText(0, "IF IN1 DO OUT=1");
  d.SetEventText(3, "AT 100 DO OUT=0");
  d.SetEventMask(0x1);
  ASSERT_TRUE(StartOnLine());
  win->UnitsName = "mm";  // of the program shown last
  Click("TH1");
  ASSERT_EQ(List().ListCount(), 10);
  EXPECT_EQ(List().ItemText(0), "\t00: If IN1 then do OUT=1");
  EXPECT_EQ(List().ItemText(1), "\t01: <empty>");
  EXPECT_EQ(List().ItemText(3), "\t03: At 100 mm do OUT=0");
  EXPECT_EQ(List().ListPicture(0), win->StepImages.Picture("on"));
  EXPECT_EQ(List().ListPicture(3), win->StepImages.Picture("off"));

  OpenApp([&](Applic& app) {
    ASSERT_TRUE(app.AddAxis("X", "RHO", win->ParametersRS));
    ASSERT_TRUE(app.PutParam(1, ThreadsMod::EventParamName(2), "EVERY 0.5 DO OUT=2"));
  });
  Click(TreeKey::Make("EV", {-1, 1}).Format());
  ASSERT_EQ(List().ListCount(), 10);
  EXPECT_EQ(List().ItemText(2), "\t02: Every 0.5 sec do OUT=2");
  EXPECT_EQ(List().ListPicture(2), win->StepImages.Picture("off"));
}

// ---- a drive that does not answer

TEST_F(ViewsTest, WhileADriveIsRetriedTheTreeWaitsAndAClickFillsNoOtherView) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  sim.AddFault(FaultRule::Silent(1));
  bool clicked = false, treeLive = false;
  pump = [&] {
    if (clicked || sim.Requests(1).empty()) return;
    clicked = true;
    treeLive = win->Sys->isEnabled();
    Click("SM1");  // between two tries of the first read
  };
  Click("SU1");
  pump = nullptr;
  EXPECT_TRUE(clicked) << "no window event ran between the tries";
  EXPECT_FALSE(treeLive);
  EXPECT_TRUE(win->Sys->isEnabled());
  EXPECT_EQ(win->LastNode, "SU1");
  EXPECT_EQ(sim.Requests(1), std::vector<std::string>(size_t(win->Link.Retries), "=CM"));
  EXPECT_EQ(Rows(), std::vector<std::string>{"\tNode 1 does not answer"});
}

// One entry point of the editing views, on drive 1 with everything healthy
// until the test silences it.
struct SilentCase {
  const char* name;
  std::function<void(ViewsTest&)> before;  // the drive healthy: what the user did first
  std::function<void(ViewsTest&)> act;     // the click that reads
  std::string request;                     // the first request, the only one sent
  const char* box;                         // the box shown, or nullptr: the view says it
  bool ViewSaysIt() const { return box == nullptr; }
};
void PrintTo(const SilentCase& c, std::ostream* os) { *os << c.name; }

class SilentDriveTest : public ViewsTest, public ::testing::WithParamInterface<SilentCase> {
 protected:
  // Runs the click; the longest time (fake clock) no window event ran.
  int64_t Act() {
    int64_t last = clock.NowMs(), longest = 0;
    pump = [&] {
      longest = std::max(longest, clock.NowMs() - last);
      last = clock.NowMs();
    };
    win->SelKey = "";  // the same node again reads again
    GetParam().act(*this);
    pump = nullptr;
    return std::max(longest, clock.NowMs() - last);
  }
};

TEST_P(SilentDriveTest, OneUnansweredRequestEndsTheReadAndAKnownSilentDriveGetsOneTry) {
  const SilentCase& c = GetParam();
  auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
  d.SetValue("KVF", "12.5");
  d.SetValue("TR", "2.5");
  d.Programs().SetLine(Buffer::Library, 0, "V 1");
  d.Programs().Save(Buffer::Library, "HOME");
  d.Programs().SetLine(Buffer::Active, 0, "V 20");
  ASSERT_TRUE(StartOnLine());
  if (c.before) c.before(*this);
  sim.ClearLog();
  sim.AddFault(FaultRule::Silent(1));
  ISP& link = win->Link;
  const int retries = link.Retries;
  // A try on a silent line: the first byte's wait and the flush's.
  const int64_t oneTry = 2 * link.FirstByteTimeout + 40;

  for (int tries : {retries, 1}) {  // silent for the first time, then known silent
    SCOPED_TRACE(std::string(c.name) + (tries == 1 ? ", known silent" : ", first time"));
    if (tries == 1 && c.before) {
      // Back on the view the click starts from, then silent as the status tick finds.
      sim.ClearFaults();
      win->SelKey = "";
      c.before(*this);
      sim.AddFault(FaultRule::Silent(1));
      win->Answers.Failed(1);
      sim.ClearLog();
    }
    const int16_t errors = link.ErrorCount, nodeErrors = link.NodeErrorCount[1];
    const uint64_t failed = link.FailedOperations;
    if (c.box) prompter.ExpectMessage(c.box, Answer::Ok);
    const int64_t stall = Act();

    EXPECT_EQ(sim.Requests(1), std::vector<std::string>(size_t(tries), c.request));
    EXPECT_EQ(link.ErrorCount, errors + 1);
    EXPECT_EQ(link.NodeErrorCount[1], nodeErrors + 1);
    EXPECT_EQ(link.FailedOperations, failed + 1);
    EXPECT_LE(stall, oneTry) << "window events wait for more than one try";
    EXPECT_TRUE(win->Answers.Silent(1));
    if (c.ViewSaysIt()) {
      EXPECT_EQ(Rows(), std::vector<std::string>{"\tNode 1 does not answer"});
      EXPECT_FALSE(win->ProgramViewShown || win->ParameterViewShown || win->EventViewShown);
    }
    EXPECT_EQ(win->MousePointer(), 0);
    EXPECT_EQ(win->RunningOperation(), nullptr);
    sim.ClearLog();
  }

  if (!c.ViewSaysIt()) return;
  // The drive answers again, as the status tick finds: the view fills by itself.
  sim.ClearFaults();
  win->Answers.Answered(1);
  win->DriveAnswered(1);
  EXPECT_GT(List().ListCount(), 1);
  EXPECT_TRUE(win->ProgramViewShown || win->ParameterViewShown || win->EventViewShown);
  EXPECT_NE(Rows().front(), "\tNode 1 does not answer");
}

const SilentCase kSilentCases[] = {
    {"parameter view", nullptr, [](ViewsTest& t) { t.Click("SU1"); }, "=CM", nullptr},
    {"event view", nullptr, [](ViewsTest& t) { t.Click("TH1"); }, "\x15", nullptr},
    {"library program view", nullptr, [](ViewsTest& t) { t.Click("LE1,0"); }, "PlHOME", nullptr},
    {"active program view", nullptr, [](ViewsTest& t) { t.Click("PP1"); }, "=TR", nullptr},
    {"value read before its editor", [](ViewsTest& t) { t.Click("SU1"); }, [](ViewsTest& t) { t.DblClick(2); },
     "=KVF", "Node 1 did not answer; KVF was not changed."},
    {"event editor", [](ViewsTest& t) { t.Click("TH1"); },
     [](ViewsTest& t) {
       ModalScript script;
       script.On<EdT>([](EdT& d) { d.OK->click(); });
       t.DblClick(0);
     },
     ":T0,", nullptr},
    {"all events switched on", [](ViewsTest& t) { t.Click("TH1"); },
     [](ViewsTest& t) { t.win->MenuCommandHook("TH_Enable"); }, ":UTE,0", nullptr},
    {"program settings", [](ViewsTest& t) { t.Click("PP1"); },
     [](ViewsTest& t) {
       EdSet& s = t.Ed().SettingsDialog();
       s.Form_Activate();
       s.ok_Click();
     },
     ":!TR=2.5",
     "Node 1 did not answer; the settings were not stored."},
};

INSTANTIATE_TEST_SUITE_P(EntryPoints, SilentDriveTest, ::testing::ValuesIn(kSilentCases),
                         [](const ::testing::TestParamInfo<SilentCase>& i) {
                           std::string n;
                           for (const char* p = i.param.name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) n += *p;
                           return n;
                         });

}  // namespace
