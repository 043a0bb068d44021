// The program, parameter and event views of the main list, against
// simulated drives and an application file.
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <cmath>

#include "editing/tests/editing_fixture.h"
#include "mainwin/model/tree_key.h"
#include "sim/fault_plan.h"
#include "store/applic.h"

namespace {

using editing_test::EditingTest;
using talvero::Answer;
using talvero::sim::Buffer;
using talvero::sim::Family;
using talvero::sim::FaultRule;

class ViewsTest : public EditingTest {};

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
  prompter.ExpectMessage("Node 1 did not answer; the program could not be read.", Answer::Ok);
  Click("PP1");

  EXPECT_FALSE(win->ProgramViewShown);
  EXPECT_EQ(List().ListCount(), 0);
  EXPECT_EQ(Ed().ShownProgram().Get_Op(0), -1);
  EXPECT_EQ(win->MousePointer(), 0);
}

TEST_F(ViewsTest, ALibraryProgramTheDriveWillNotLoadIsNotShown) {
  auto& d = AddDrive(2, Family::TAU, "KV110i/d", "Lift");
  d.Programs().SetLine(Buffer::Library, 0, "V 1");
  d.Programs().Save(Buffer::Library, "HOME");
  // What an earlier read left in the edit buffer must not pass for HOME.
  d.Programs().SetLine(Buffer::Library, 0, "MA 99");
  ASSERT_TRUE(StartOnLine());
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 2, "Pl"));
  prompter.ExpectMessage("Node 2 did not answer; the program could not be read.", Answer::Ok);
  Click("LE2,0");
  EXPECT_FALSE(win->ProgramViewShown);
  EXPECT_EQ(List().ListCount(), 0);
  for (const std::string& r : sim.Requests(2)) EXPECT_NE(r[0], 'l') << "a line was read";
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

TEST_F(ViewsTest, ASilentDriveKeepsTheParametersReadSoFar) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  sim.AddFault(FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, "=KVF"));
  prompter.ExpectMessage("Node 1 did not answer; parameter values could not be read.", Answer::Ok);
  Click("SU1");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"\tCommand Mode (CM)\tVelocity ",
                                              "\tSoftware Enable (SWE)\tInactive "}));
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

}  // namespace
