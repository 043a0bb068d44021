// The wizards' read rule and ChP on drives and application axes, and the
// warning after a run with refused writes.
#include "wizards/tests/wizard_fixture.h"

namespace {

class ParamAccessTest : public WizardTest {};

TEST_F(ParamAccessTest, WritesGoToTheAxisSelectedAtEachCall) {
  ASSERT_TRUE(Begin());
  wizards::ParamAccess& a = Servo().Access();
  Click("#3");
  EXPECT_TRUE(Servo().ChP(" kp ", "1.4"));
  a.ChP("Kp", "abc def");
  a.ChP("KP", "");
  EXPECT_EQ(Sent(3, ":"), (std::vector<std::string>{":!KP=1.4", ":!KP=ABC DEF", ":!KP="}));
  EXPECT_EQ(DriveValue(3, "KP"), "1.4");
  EXPECT_TRUE(Sent(1, ":").empty());

  // An application axis: the file takes it, the line hears nothing.
  sim.ClearLog();
  Click("AX-1,1");
  EXPECT_TRUE(a.ChP("kp", " 2.5 "));
  EXPECT_EQ(Stored(1, "KP"), "2.5");
  EXPECT_TRUE(sim.Log().empty());

  // No axis: nothing is written anywhere, reads still go out.
  Click("!AP");
  ASSERT_FALSE(win->AxisSelected);
  EXPECT_FALSE(a.ChP("KP", "9"));
  EXPECT_EQ(Stored(1, "KP"), "2.5");
  Click("#1");
  win->AxisSelected = false;
  sim.ClearLog();
  EXPECT_FALSE(a.ChP("KP", "9"));
  EXPECT_EQ(a.Number("KP"), 10);
  EXPECT_TRUE(Sent(1, ":").empty());
  EXPECT_EQ(Sent(1, "="), std::vector<std::string>{"=KP"});
}

TEST_F(ParamAccessTest, ReadRuleNumbersAndCodes) {
  ASSERT_TRUE(Begin());
  wizards::ParamAccess& a = Servo().Access();
  Click("AX-1,1");
  struct Case { const char* text; double number; int code; };
  const Case cases[] = {{" 12.5x", 12.5, 12}, {"abc", 0, 0}, {"1E3", 1000, 1000},
                        {"2.5", 2.5, 2}, {"3.5", 3.5, 4}, {"MISSING", 0, 0}, {"", 0, 0}};
  for (const Case& c : cases) {
    Store(1, {{"ZZ", c.text}});
    EXPECT_EQ(a.Number("ZZ"), c.number) << c.text;
    EXPECT_EQ(a.Code("ZZ"), c.code) << c.text;
  }
  EXPECT_EQ(a.Read("ZZ"), "0");
  EXPECT_FALSE(win->Apps[1]->FindParam(1, "NOSUCH"));
  EXPECT_EQ(a.Read("NOSUCH"), "0");
  EXPECT_FALSE(win->Apps[1]->FindParam(1, "NOSUCH")) << "reading adds no row";

  // A drive that stays silent gives no value, after the link's tries; known
  // silent, it gets one try.
  Click("#1");
  sim.Drive(1).SetValue("KP", "12");
  EXPECT_EQ(a.Number("KP"), 12);
  sim.AddFault(talvero::sim::FaultRule::Missing(1, "=KP", -1));
  sim.ClearLog();
  EXPECT_EQ(a.Read("KP"), "");
  EXPECT_EQ(a.Read("KP"), "");
  EXPECT_EQ(Sent(1, "="), std::vector<std::string>(3, "=KP"));
  EXPECT_TRUE(win->Answers.Silent(1));
}

TEST_F(ParamAccessTest, RefusedWritesAreNamedOnceAfterTheRun) {
  ASSERT_TRUE(Begin());
  wizards::ParamAccess& a = Servo().Access();
  Click("#1");
  sim.AddFault(talvero::sim::FaultRule::Missing(1, ":!KP", -1));
  sim.AddFault(talvero::sim::FaultRule::Missing(1, ":!FEED=0", -1));
  a.BeginRun();
  for (auto [n, v] : {std::pair{"KP", "1"}, {"FEED", "0"}, {"KI", "2"}, {"FEED", "2"}, {"KP", "3"}})
    a.ChP(n, v);
  // FEED's last write was taken; KP's never.
  EXPECT_EQ(a.Unwritten(), std::vector<std::string>{"KP"});
  prompter.ExpectMessage("These parameters were not written to the axis:\nKP", talvero::Answer::Ok);
  a.WarnUnwritten();
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Critical);
  a.BeginRun();
  a.ChP("KI", "3");
  a.WarnUnwritten();  // all taken: no box
  EXPECT_EQ(wizards::UnwrittenText({"KP", "FEED"}),
            "These parameters were not written to the axis:\nKP, FEED");
}

}  // namespace
