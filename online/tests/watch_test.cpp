// The watch lines on the real window: the menu, its handlers and the pass.
#include <QAbstractItemModel>
#include <QAction>
#include <QSignalSpy>
#include <algorithm>

#include "online/tests/online_fixture.h"
#include "platform/ui/prompter.h"

class WatchTest : public OnlineTest {
 protected:
  void Values() {
    sim.Drive(1).SetValue("TPOS", "12.5");
    sim.Drive(1).SetValue("TR", "2");
    sim.Drive(1).SetValue("UU", "4");
    sim.Drive(1).SetValue("IREF", "1250");
    sim.Drive(4).SetValue("VEL", "-1500.04");
    sim.Drive(4).SetValue("TR", "0");
    sim.Drive(4).SetValue("UU", "0");
    sim.Drive(4).SetValue("RUNV", "10");
    sim.Drive(7).SetValue("ADC1", "2.5");
    sim.Drive(7).SetValue("IRA", "0.333");
    sim.Drive(7).SetValue("THET", "4095");
  }
};

TEST_F(WatchTest, TheMenuHoldsItsTwelveItemsInOrder) {
  StartWithThreeDrives();
  const std::vector<std::pair<std::string, std::string>> items = {
      {"WA_Clear", "Clear"},
      {"WA_TP", "Target Position"},
      {"WA_TV", "Target Velocity"},
      {"WA_TPS", "Tasks/second"},
      {"WA_TDPS", "Events/second"},
      {"WA_MC", "Motor Current"},
      {"WA_VEL", "Motor Velocity"},
      {"WA_FA", "Feedback Angle"},
      {"WA_FP", "Feedback Position"},
      {"WA_ADC0", "Analog Input"},
      {"WA_PMC", "% Motor Current"},
      {"WA_Arb", "Arbitrary Expression..."}};
  const QList<QAction*> shown = win->WAMenu->actions();
  ASSERT_EQ(shown.size(), qsizetype(items.size()));
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(shown[qsizetype(i)], win->Item(items[i].first));
    EXPECT_EQ(shown[qsizetype(i)]->text().toStdString(), items[i].second);
  }
  EXPECT_EQ(win->WAMenu->title().toStdString(), "(Watch)");
}

TEST_F(WatchTest, TenSlotsOnThreeNodesRefreshWhateverIsSelected) {
  StartWithThreeDrives();
  Values();
  struct Set {
    const char* node;
    const char* item;
    const char* line;
  };
  const Set sets[] = {
      {"#1", "WA_TP", "[1] Target Position 6.2500 mm"},
      {"#1", "WA_PMC", "[1] Motor Current 100.0 %"},
      {"#1", "WA_TPS", "[1] Tasks/Second 1000.0 "},
      {"#4", "WA_VEL", "[4] Motor Velocity -1500.0 RPM"},
      {"#4", "WA_TV", "[4] Target Velocity 0.00 cm/sec"},  // TR 0
      {"#4", "WA_FP", "[4] Feedback Position 0.0000 cm"},
      {"#7", "WA_ADC0", "[7] Analog Input 2.500 volts"},
      {"#7", "WA_MC", "[7] Motor Current 0.33 amps"},
      {"#7", "WA_FA", "[7] Feedback Angle 4095 counts"},
      {"#7", "WA_TDPS", "[7] Events/Second 250.0 "},
  };
  for (int k = 0; k < 10; ++k) {
    Click(sets[k].node);
    PickWatchLine(k);
    win->Item(sets[k].item)->trigger();
    EXPECT_EQ(WatchLine(k), " ");
  }
  Click("!SY");
  sim.ClearLog();
  panel->TStat_Timer();
  for (int k = 0; k < 10; ++k) EXPECT_EQ(WatchLine(k), sets[k].line) << k;
  // One request per slot, three for a slot in user units, in slot order.
  EXPECT_EQ(Sent(), (std::vector<std::string>{
                        "1:+TPOS", "1:+TR", "1:+UU", "1:+IREF", "1:+TPS", "4:+VEL", "4:+RUNV", "4:+TR",
                        "4:+UU", "4:+FPOS", "4:+TR", "4:+UU", "7:+ADC1", "7:+IRA", "7:+THET", "7:+TDPS"}));

  // Clear stops a slot and keeps the rest of it.
  PickWatchLine(1);
  panel->WA_Clear_Click();
  EXPECT_EQ(WatchLine(1), " ");
  EXPECT_EQ(win->WatchSlot[2].WatchExpr, "");
  EXPECT_EQ(win->WatchSlot[2].WatchLabel, "Motor Current ");
  sim.ClearLog();
  panel->TStat_Timer();
  EXPECT_EQ(WatchLine(1), " ");
  EXPECT_EQ(Sent().size(), 15u);
}

TEST_F(WatchTest, ALineOfADriveNoLongerFoundIsUnknown) {
  StartWithThreeDrives();
  Click("#4");
  PickWatchLine(2);
  panel->WA_VEL_Click();
  sim.RemoveDrive(4);
  win->RefreshTree();
  win->TStat->stop();
  sim.ClearLog();
  panel->TStat_Timer();
  EXPECT_EQ(WatchLine(2), "[4] Motor Velocity  is unknown");
  EXPECT_EQ(Sent(), std::vector<std::string>{});
}

TEST_F(WatchTest, ArbitraryExpressions) {
  StartWithThreeDrives();
  sim.Drive(1).SetValue("VEL", "12.25");
  Click("#1");
  PickWatchLine(5);
  prompter.ExpectInput("Expression?", " vel")
      .ExpectMessage("A valid expression (without any spaces) is required.", talvero::Answer::Ok)
      .ExpectInput("Expression?", "vel")
      .ExpectInput("Expression?", std::nullopt)
      .ExpectInput("Expression?", "");
  panel->WA_Arb_Click();
  EXPECT_EQ(win->WatchSlot[6].WatchExpr, "");
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Critical);
  panel->WA_Arb_Click();
  EXPECT_EQ(win->WatchSlot[6].WatchExpr, "VEL");
  EXPECT_EQ(win->WatchSlot[6].WatchLabel, "VEL = ");
  panel->WA_Arb_Click();  // Cancel keeps it
  panel->WA_Arb_Click();  // so does an empty answer
  EXPECT_EQ(win->WatchSlot[6].WatchExpr, "VEL");
  panel->TStat_Timer();
  EXPECT_EQ(WatchLine(5), "[1] VEL = 12.250000 ");

  // One request frame holds the command byte and 254 characters.
  prompter.ExpectInput("Expression?", std::string(255, '1'))
      .ExpectMessage("The expression is too long for the drive: it takes at most 254 characters.",
                     talvero::Answer::Ok)
      .ExpectInput("Expression?", std::string(254, '1'));
  panel->WA_Arb_Click();
  EXPECT_EQ(win->WatchSlot[6].WatchExpr, "VEL");
  panel->WA_Arb_Click();
  EXPECT_EQ(win->WatchSlot[6].WatchExpr, std::string(254, '1'));
  sim.ClearLog();
  panel->TStat_Timer();
  const std::vector<std::string> sent = Sent();
  EXPECT_NE(std::find(sent.begin(), sent.end(), "1:+" + std::string(254, '1')), sent.end()) << "and it is sent";
}

TEST_F(WatchTest, NoSelectedLineChangesNothing) {
  StartWithThreeDrives();
  Click("#1");
  win->Watch->clearSelection();
  win->Watch->setCurrentItem(nullptr);
  for (QAction* a : win->WAMenu->actions()) a->trigger();  // no input box either
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(win->WatchSlot[size_t(k)].WatchExpr, "");
}

TEST_F(WatchTest, DoubleClickAndSpaceOpenTheMenuForADriveOnly) {
  StartWithThreeDrives();
  Click("!SY");
  panel->Watch_DblClick();
  EXPECT_TRUE(popups.empty());
  Click("SS4");
  panel->Watch_DblClick();
  panel->Watch_KeyPress(13);
  panel->Watch_KeyPress(32);
  EXPECT_EQ(popups, (std::vector<std::string>{"WAMenu", "WAMenu"}));
  win->AppSelected = true;  // as an application axis
  panel->Watch_DblClick();
  EXPECT_EQ(popups.size(), 2u);
}

TEST_F(WatchTest, AnUnchangedLineIsNotWrittenAgain) {
  StartWithThreeDrives();
  Click("#1");
  PickWatchLine(0);
  panel->WA_VEL_Click();
  panel->TStat_Timer();
  QSignalSpy writes(win->Watch->model(), &QAbstractItemModel::dataChanged);
  panel->TStat_Timer();
  panel->TStat_Timer();
  EXPECT_EQ(writes.count(), 0);
  sim.Drive(1).SetValue("VEL", "5");
  panel->TStat_Timer();
  EXPECT_EQ(writes.count(), 1);
  EXPECT_EQ(WatchLine(0), "[1] Motor Velocity 5.0 RPM");
}
