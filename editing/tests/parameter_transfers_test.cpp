// Parameter sets and events between simulated drives, application axes and
// the parameter copy buffer.
#include <QProgressBar>

#include "editing/tests/transfers_fixture.h"
#include "runtime/text.h"
#include "sim/fault_plan.h"

namespace {

using editing_test::TransfersTest;
using talvero::Answer;
using talvero::TargetKind;
using talvero::sim::Family;
using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

class ParameterTransfersTest : public TransfersTest {
 protected:
  // Drive 1 (RHO) and an application with the RHO axis "X" in slot 1.
  talvero::sim::SimDrive& DriveAndAxis(const std::function<void(Applic&)>& fill = {}) {
    auto& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
    EXPECT_TRUE(StartOnLine());
    OpenApp([&](Applic& app) {
      ASSERT_TRUE(app.AddAxis("X", "RHO", win->ParametersRS));
      if (fill) fill(app);
    });
    return d;
  }
  std::string AxisKey(const char* kind, int axis = 1) { return TreeKey::Make(kind, {-axis, 1}).Format(); }
};

TEST_F(ParameterTransfersTest, DriveToAxisReadsTheDrivesFamilyFirstAndStoresAllOrNothing) {
  auto& d = DriveAndAxis();
  d.SetValue("CM", "2");
  d.SetValue("KVF", "12.5");
  d.SetValue("IPEAK", "4.5");
  d.SetValue("KP", "0.25");
  Click("PA1");
  sim.ClearLog();
  CopyTo("PA_Copy", To(TargetKind::AppAxis, 1, 1));
  // Stored as the drive answers them, blanks and all.
  Applic& app = App();
  EXPECT_EQ(app.GetParam(1, "CM"), "           2");
  EXPECT_EQ(rt::Trim(app.GetParam(1, "CM")), "2");
  EXPECT_EQ(rt::Trim(app.GetParam(1, "KVF")), "12.5");
  EXPECT_EQ(rt::Trim(app.GetParam(1, "IPEAK")), "4.5");
  EXPECT_EQ(rt::Trim(app.GetParam(1, "KP")), "0.25");
  // LOOP belongs to another family: neither asked for nor stored.
  EXPECT_EQ(Sent(1, "=").size(), 6u);
  EXPECT_TRUE(Sent(1, "=LOOP").empty());
  EXPECT_EQ(app.GetParam(1, "LOOP"), "0");
  EXPECT_EQ(win->MousePointer(), 0);

  d.SetValue("CM", "3");
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "=KP"));
  prompter.ExpectBox({"Node 1 did not answer; the copy stopped at KP and nothing was stored."}, Answer::Ok);
  CopyTo("PA_Copy", To(TargetKind::AppAxis, 1, 1));
  EXPECT_EQ(rt::Trim(app.GetParam(1, "CM")), "2");
}

TEST_F(ParameterTransfersTest, AxisToDriveSendsOnlyNumbersTheDriveFamilyTakes) {
  auto& d = DriveAndAxis([](Applic& app) {
    ASSERT_TRUE(app.PutParam(1, "CM", "abc"));
    ASSERT_TRUE(app.PutParam(1, "SWE", "1"));
    ASSERT_TRUE(app.PutParam(1, "KVF", "1.5E3"));
    ASSERT_TRUE(app.PutParam(1, "SUREV", "9"));
    ASSERT_TRUE(app.PutParam(1, "LOOP", "7"));
    ASSERT_TRUE(app.PutParam(1, "IPEAK", " 2 "));
    ASSERT_TRUE(app.PutParam(1, "KP", "0.5"));
  });
  Click(AxisKey("PA"));
  sim.ClearLog();
  prompter.ExpectMessage("These parameters hold no number and were not sent: CM", Answer::Ok);
  CopyTo("PA_Copy", To(TargetKind::Drive, 0, 0, 1));
  EXPECT_EQ(Sent(1, ":"), (std::vector<std::string>{":!SWE=1", ":!KVF=1500", ":!IPEAK=2", ":!KP=0.5"}));
  EXPECT_EQ(d.Value("KVF").value_or(""), "1500");
  EXPECT_EQ(win->Prog->value(), 0);
}

TEST_F(ParameterTransfersTest, ADriveSilentPartWayStopsTheCopyToIt) {
  DriveAndAxis();
  Click(AxisKey("PA"));
  sim.ClearLog();
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, ":!KVF"));
  prompter.ExpectMessage("Node 1 did not answer; the copy stopped at KVF.", Answer::Ok);
  CopyTo("PA_Copy", To(TargetKind::Drive, 0, 0, 1));
  EXPECT_TRUE(Sent(1, ":!IPEAK").empty());
}

TEST_F(ParameterTransfersTest, TheCopyBufferPastesExactlyIntoItsOwnFamily) {
  DriveAndAxis([this](Applic& app) {
    ASSERT_TRUE(app.PutParam(1, "KVF", "1.50"));
    ASSERT_TRUE(app.PutParam(1, "CM", "abc"));
    ASSERT_TRUE(app.PutParam(1, "KP", "7.125"));
    ASSERT_TRUE(app.AddAxis("Y", "RHO", win->ParametersRS));
    ASSERT_TRUE(app.AddAxis("Z", "PSI", win->ParametersRS));
  });
  Click(AxisKey("PA"));
  CopyTo("PA_Copy", To(TargetKind::ParameterCopyBuffer));
  EXPECT_EQ(win->ParameterCopyCount, 7);
  EXPECT_EQ(win->ParameterCopyFamily, "RHO");
  EXPECT_TRUE(sim.Requests(1).empty());

  Click(AxisKey("PA", 2));
  Command("PA_Paste");
  Applic& app = App();
  for (const char* name : {"CM", "SWE", "KVF", "SUREV", "LOOP", "IPEAK", "KP"})
    EXPECT_EQ(app.GetParam(2, name), app.GetParam(1, name)) << name;
  EXPECT_EQ(app.GetParam(2, "KVF"), "1.50");
  EXPECT_EQ(app.GetParam(2, "CM"), "abc");

  Click(AxisKey("PA", 3));
  prompter.ExpectMessage(
      "The Parameter Copy Buffer holds no parameters of this axis' drive family; nothing was pasted.", Answer::Ok);
  Command("PA_Paste");
  EXPECT_EQ(app.GetParam(3, "KP"), "0");
}

// A library of 200 parameter records, all RHO.
class ManyParametersTest : public ParameterTransfersTest {
 protected:
  void SetUp() override {
    ParameterTransfersTest::SetUp();
    auto db = talvero::dao::Database::Open(libraryPath);
    ASSERT_TRUE(db.ok()) << db.error;
    std::string sql = "INSERT INTO Parameters VALUES ";
    for (int i = 8; i <= 200; ++i)
      sql += std::string(i > 8 ? "," : "") + "(" + std::to_string(i) + ", 'SU', 'RHO', 'P" + std::to_string(i) +
             "', 'Extra', '#0', NULL, NULL)";
    ASSERT_TRUE((*db)->Execute(sql + ";"));
  }
};

TEST_F(ManyParametersTest, ProgressRunsTo255AtTheLastRecord) {
  auto& d = DriveAndAxis();
  for (int i = 8; i <= 200; ++i) d.SetValue("P" + std::to_string(i), "0");
  Click(AxisKey("PA"));
  sim.ClearLog();
  std::vector<int> shown;
  QObject::connect(win->Prog, &QProgressBar::valueChanged, [&](int v) { shown.push_back(v); });
  CopyTo("PA_Copy", To(TargetKind::Drive, 0, 0, 1));
  // SUREV (read-only) and LOOP (another family) stay behind.
  EXPECT_EQ(Sent(1, ":!").size(), 198u);
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[shown.size() - 2], 255);
  EXPECT_EQ(shown.back(), 0);
}

TEST_F(ParameterTransfersTest, EventsBetweenADriveAndAnAxis) {
  auto& d = DriveAndAxis([](Applic& app) {
    ASSERT_TRUE(app.PutParam(1, ":E1", "IF IN1 DO X"));
    ASSERT_TRUE(app.PutParam(1, ":E4", " "));
  });
  d.SetEventText(4, "EVERY 1 DO Y");
  d.SetEventText(6, "FAULT STOP");
  Click(AxisKey("EV"));
  sim.ClearLog();
  CopyTo("EV_Copy", To(TargetKind::Drive, 0, 0, 1));
  EXPECT_EQ(d.EventText(1), "IF IN1 DO X");
  EXPECT_EQ(d.EventText(4), "");
  // Rows the axis lacks are empty events, never "0".
  EXPECT_EQ(d.EventText(6), "");
  const auto sets = Sent(1, ":T");
  ASSERT_EQ(sets.size(), 10u);
  EXPECT_EQ(sets[4], ":T4,");
  EXPECT_EQ(sets[6], ":T6,");

  d.SetEventText(2, "AT 5 DO Z");
  Click("TH1");
  CopyTo("TH_Copy", To(TargetKind::AppAxis, 1, 1));
  Applic& app = App();
  EXPECT_EQ(app.GetParam(1, ":E2"), "AT 5 DO Z");
  EXPECT_EQ(app.GetParam(1, ":E1"), "IF IN1 DO X");
  EXPECT_EQ(app.GetParam(1, ":E0"), " ");

  d.SetEventText(2, "AT 6 DO Z");
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "T" + std::string(1, char(9))));
  prompter.ExpectMessage("Node 1 did not answer; the events were not copied.", Answer::Ok);
  CopyTo("TH_Copy", To(TargetKind::AppAxis, 1, 1));
  EXPECT_EQ(app.GetParam(1, ":E2"), "AT 5 DO Z");
}

TEST_F(ParameterTransfersTest, AllEventsSwitchOnAndOff) {
  auto& d = DriveAndAxis();
  d.SetEventMask(0x005);
  Click("TH1");
  Command("TH_Enable");
  EXPECT_EQ(d.EventMask(), 0x3FF);
  Command("TH_Disable");
  EXPECT_EQ(d.EventMask(), 0);
}

}  // namespace
