// The status tabs on the real window: dispatch, status text, fault history
// and the service reset.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QDateTime>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "mainwin/long_operation.h"
#include "mainwin/qhelp.h"
#include "mainwin/stat_strip.h"
#include "online/tests/online_fixture.h"
#include "platform/ui/prompter.h"
#include "sim/fault_plan.h"

using namespace std::string_literals;

using talvero::sim::FaultRecord;
using talvero::sim::FaultRule;

class ViewsTest : public OnlineTest {
 protected:
  std::string When() const {
    return QLocale().toString(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 33)), QLocale::ShortFormat).toStdString();
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> r;
    QListWidget* l = win->StatStrip->FaultList;
    for (int i = 0; i < l->count(); ++i) r.push_back(l->item(i)->text().toStdString());
    return r;
  }
};

TEST_F(ViewsTest, StatusTextGoldens) {
  StartWithThreeDrives();
  talvero::sim::SimDrive& d = sim.Drive(1);
  d.SetValue("VEL", "-12.34");
  d.SetValue("SWE", "1");
  Click("SS1");  // "General" is the first tab
  const std::string name = win->GetDriveNameByNode(1);
  ASSERT_NE(name.find("Feed  Axis"), std::string::npos);  // two blanks in a row
  EXPECT_EQ(panel->StatusText(),
            "Drive: " + name + "\r\rNode: 1 is Enabled, Stopped.\r\rPresent Faults:\r     None\r"
            "\rVelocity: -12.3 RPM\r\r'Run Time Fault' Code: 0\r\rStatus as of " + When());
  // The label shows each CR as a line break.
  EXPECT_EQ(win->StatStrip->GS_stat->text().toStdString().find('\r'), std::string::npos);
  EXPECT_NE(win->StatStrip->GS_stat->text().toStdString().find("Present Faults:\n     None\n"), std::string::npos);

  d.SetFaultText(0, "Over current");
  d.SetFaultText(5, "Feedback <b>loss</b>");
  d.RaiseFault(5);
  d.RaiseFault(0);
  d.SetValue("RERR", "17");
  sim.ClearLog();
  win->GS_stat_Click();
  EXPECT_EQ(panel->StatusText(),
            "Drive: " + name + "\r\rNode: 1 is Disabled, Faulted, Stopped.\r\r"
            "Drive needs to be 'RESET'.\r\rPresent Faults:\r     Over current\r     Feedback <b>loss</b>\r"
            "\rVelocity: -12.3 RPM\r\r'Run Time Fault' Code: 17\r\rStatus as of " + When());
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1:Q", "1:=FLT", "1:FT\x00"s, "1:FT\x05", "1:=VEL", "1:=RERR"}));
  EXPECT_EQ(win->StatStrip->GS_stat->textFormat(), Qt::PlainText);

  // A negative word (bits 0 and 31) lists its fault as the drive report does;
  // the end status is rounded as every picture rounds.
  d.SetValue("FLT", "-2147483647");
  d.SetValue("RERR", "2.5");
  win->GS_stat_Click();
  EXPECT_NE(panel->StatusText().find("Present Faults:\r     Over current\r\rVelocity"), std::string::npos)
      << panel->StatusText();
  EXPECT_NE(panel->StatusText().find("'Run Time Fault' Code: 3\r"), std::string::npos);

  // An application axis: nothing.
  win->CurNode = -1;
  win->AppSelected = true;
  sim.ClearLog();
  panel->ShowStatus();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
}

TEST_F(ViewsTest, FaultHistoryRowsDetailsAndTitles) {
  StartWithThreeDrives();
  talvero::sim::SimDrive& d = sim.Drive(4);
  d.SetFaultText(0, "Over current");
  d.SetFaultText(5, "Over voltage");
  d.SetFaultText(9, "Feedback loss");
  FaultRecord newer;  // read first: record 0
  newer.faults = 1u << 9;
  newer.inputs = 3;
  newer.velocity = 12;
  newer.current = 0.5;
  newer.step = 4;
  newer.text = "   ";
  FaultRecord older;
  older.faults = (1u << 0) | (1u << 5);
  older.outputs = 1 << 9;
  older.velocity = 1499.96;
  older.current = 0.756;
  older.text = "10:42, Tue";
  d.AddHistoryRecord(older);
  d.AddHistoryRecord(newer);
  Click("SS4");
  sim.ClearLog();
  win->StatStrip->setCurrentIndex(1);  // "Faults"
  EXPECT_EQ(Rows(), (std::vector<std::string>{"000: Feedback loss", "001: Over current @ 10:42, Tue",
                                              "002: Over voltage @ 10:42, Tue"}));
  ASSERT_EQ(panel->FaultDetail.size(), 3u);
  EXPECT_EQ(panel->FaultDetail[0],
            "Inputs active: 1 2\nNo Outputs were active.\nVelocity: 12.0 RPM\nCurrent Command: 50% of peak\nStep: 004");
  const std::string olderDetail =
      "No Inputs were active.\nOutputs active: 10\nVelocity: 1500.0 RPM\nCurrent Command: 76% of peak";
  EXPECT_EQ(panel->FaultDetail[1], olderDetail);
  EXPECT_EQ(panel->FaultDetail[2], olderDetail);
  // Sixteen records read in order; the missing ones skipped.
  std::vector<std::string> diag;
  for (const std::string& s : Sent())
    if (s.size() == 4 && s[2] == '\x11') diag.push_back(s);
  ASSERT_EQ(diag.size(), 16u);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(diag[size_t(k)][3], char(k));
  EXPECT_EQ(win->Prog->value(), 0);
  EXPECT_EQ(win->MousePointer(), 0);

  // The detail box: double click or space; nothing without a selected row.
  win->StatStrip->FaultList->setCurrentItem(nullptr);
  panel->FaultList_DblClick();
  win->StatStrip->FaultList->setCurrentRow(1);
  prompter.ExpectMessage(olderDetail, talvero::Answer::Ok, "01: Over current  : 10:42, Tue")
      .ExpectMessage(panel->FaultDetail[0], talvero::Answer::Ok, "00: Feedback loss");
  panel->FaultList_KeyPress(13);
  panel->FaultList_KeyPress(32);
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Information);
  win->StatStrip->FaultList->setCurrentRow(0);
  panel->FaultList_DblClick();
}

TEST_F(ViewsTest, SixteenFullRecordsGive480Rows) {
  StartWithThreeDrives();
  talvero::sim::SimDrive& d = sim.Drive(1);
  for (int k = 0; k < 16; ++k) {
    FaultRecord r;
    r.faults = 0x3FFFFFFF;
    r.step = k;
    r.text = std::to_string(k);
    d.AddHistoryRecord(r);
  }
  d.SetFaultText(29, "Last");
  Click("SS1");
  panel->ShowDiagH();
  ASSERT_EQ(panel->FaultDetail.size(), 480u);
  ASSERT_EQ(win->StatStrip->FaultList->count(), 480);
  EXPECT_EQ(Rows().back(), "479: Last @ 0");  // the oldest record, read last
  EXPECT_EQ(panel->FaultDetail.back().substr(panel->FaultDetail.back().size() - 9), "Step: 000");
}

TEST_F(ViewsTest, HistoryHoldsItsNodeWhileTicksGoOn) {
  StartWithThreeDrives();
  Click("SS1");
  int pumps = 0;
  size_t secondRead = 0;
  pump = [&]() {
    if (!win->RunningOperation() || ++pumps != 3) return;
    Click("SS4");                   // refused: the selection stays
    const size_t before = sim.Log().size();
    panel->ShowDiagH();             // refused: one history read at a time
    panel->RefreshUV();
    secondRead = sim.Log().size() - before;
    panel->TStat_Timer();           // a tick runs in full
  };
  sim.ClearLog();
  panel->ShowDiagH();
  pump = nullptr;
  EXPECT_GE(pumps, 3);
  EXPECT_EQ(secondRead, 0u);
  EXPECT_EQ(win->CurNode, 1);
  EXPECT_EQ(win->SelKey, "SS1");
  for (const auto& r : sim.Log()) EXPECT_EQ(r.node, 1);
  std::vector<std::string> sent = Sent();
  EXPECT_NE(std::find(sent.begin(), sent.end(), "1:Q"), sent.end());
  EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const std::string& s) { return s[2] == '\x11'; }), 16);
  EXPECT_EQ(win->RunningOperation(), nullptr);
  EXPECT_TRUE(win->Sys->isEnabled());
}

TEST_F(ViewsTest, StatusBarClickResetsInServiceModeOnly) {
  StartWithThreeDrives();
  Click("SS4");
  sim.ClearLog();
  panel->Mon1_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
  win->Item("AA_SetConfig")->setEnabled(true);  // service mode
  panel->Mon1_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{"4:\x17"});
  sim.ClearLog();
  win->CurNode = 0;  // node 0 never
  panel->Mon1_Click();
  win->CurNode = -3;
  win->AppSelected = true;
  panel->Mon1_Click();
  EXPECT_EQ(Sent(), std::vector<std::string>{});
}

TEST_F(ViewsTest, TabDispatch) {
  StartWithThreeDrives();
  Click("SS7");
  sim.ClearLog();
  win->StatStrip->setCurrentIndex(3);  // "Variables"
  EXPECT_EQ(Sent().size(), 48u);
  EXPECT_EQ(Sent().front(), "7:}"s + '\0');
  sim.ClearLog();
  win->StatStrip->setCurrentIndex(2);  // "IO": the six I/O words
  EXPECT_EQ(Sent(), (std::vector<std::string>{"7:=IN", "7:=IN0", "7:=IN1", "7:=OUT", "7:=OUT0", "7:=OUT1"}));
  sim.ClearLog();
  win->StatStrip->setCurrentIndex(0);  // "General"
  EXPECT_EQ(Sent().front(), "7:Q");
  // A tab change with no status node shown does nothing.
  Click("#7");
  sim.ClearLog();
  win->StatStrip->setCurrentIndex(1);
  EXPECT_EQ(Sent(), std::vector<std::string>{});
}

TEST_F(ViewsTest, MouseMovesShowTheControlsTipsAndAClickOnTheBarResets) {
  StartWithThreeDrives();
  Click("SS4");
  win->Help_Tips->setChecked(true);
  StatStrip& s = *win->StatStrip;
  const std::vector<std::pair<QWidget*, std::string>> tips = {
      {win->BrakeAll, "E-Stop - All Axes"},
      {win->Btn1, "Single Step the program"},
      {win->BtnPause, "Pauses execution"},
      {win->BtnRS, "Run/Stop execution"},
      {s.DriveReset, "Resets the drive to clear existing faults"},
      {win->SWE_OFF, "Sets SWE=OFF"},
      {win->SWE_ON, "Sets SWE=ON"},
      {s.AddUV, "Adds a new Variable"},
      {s.DeleteUV, "Deletes the selected Variable"},
      {s.UV_Change, "Changes the selected Variable"}};
  for (const auto& [w, text] : tips) {
    SCOPED_TRACE(text);
    EXPECT_EQ(w->toolTip(), "");  // no tip of Qt's own besides
    for (int i = 0; i < 2; ++i) {
      QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(w, &move);
    }
    EXPECT_EQ(win->Tip()->Helptxt->text().toStdString(), " " + text + " ");
  }
  EXPECT_TRUE(win->Tip()->isVisible());
  QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&s, &move);
  EXPECT_FALSE(win->Tip()->isVisible());

  win->Item("AA_SetConfig")->setEnabled(true);
  sim.ClearLog();
  QTest::mouseClick(win->Mon1[1], Qt::LeftButton);
  EXPECT_EQ(Sent(), std::vector<std::string>{"4:\x17"});
}
