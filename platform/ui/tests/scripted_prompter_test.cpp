#include <gtest/gtest.h>

#include "platform/ui/scripted_prompter.h"

namespace talvero {
namespace {

TEST(ScriptedPrompter, MatchesBoxesInOrderAndReportsEveryDeviation) {
  ScriptedPrompter p;
  p.ExpectMessage("Delete axis?", Answer::Cancel, "Talvero").ExpectMessageContaining("busy", Answer::Ok)
      .ExpectInput("New name", std::string("AX1"));
  EXPECT_FALSE(ThePrompter().Confirm("Delete axis?"));
  EXPECT_EQ(ThePrompter().Critical("Port /dev/ttyS0 is busy"), Answer::Ok);
  EXPECT_EQ(ThePrompter().Input("New name:", "Talvero", ""), std::optional<std::string>("AX1"));
  EXPECT_TRUE(p.Failures().empty());

  ThePrompter().Info("surprise");  // unexpected
  p.ExpectMessage("right text", Answer::Ok, "Error!");
  ThePrompter().Info("wrong text", "Error!");  // mismatch
  p.ExpectOpenFile(std::nullopt);  // never shown
  auto f = p.Failures();
  ASSERT_EQ(f.size(), 3u);
  EXPECT_NE(f[0].find("unexpected message"), std::string::npos);
  EXPECT_NE(f[1].find("wrong text"), std::string::npos);
  EXPECT_NE(f[2].find("never shown"), std::string::npos);
}

TEST(ScriptedPrompter, AFullExpectationChecksButtonsIconAndDefault) {
  const MessageBox expected{"Delete X ? ", "Delete User Variable...", Buttons::OkCancel, Icon::None, 0};
  const struct Case {
    const char* name;
    MessageBox shown;
    bool matches;
  } cases[] = {
      {"the same box", expected, true},
      {"another icon", {expected.text, expected.title, Buttons::OkCancel, Icon::Question, 0}, false},
      {"another default", {expected.text, expected.title, Buttons::OkCancel, Icon::None, 1}, false},
      {"other buttons", {expected.text, expected.title, Buttons::YesNo, Icon::None, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPrompter p;
    p.ExpectBox(expected, Answer::Ok);
    ThePrompter().Message(c.shown);
    EXPECT_EQ(p.Failures().empty(), c.matches);
  }
  // The plain shorthand is OK alone without icon; Info is not.
  ScriptedPrompter p;
  p.ExpectBox({"Read failed."}, Answer::Ok).ExpectBox({"Write failed."}, Answer::Ok);
  ThePrompter().Plain("Read failed.");
  ThePrompter().Info("Write failed.");
  ASSERT_EQ(p.Failures().size(), 1u);
  EXPECT_NE(p.Failures()[0].find("Write failed."), std::string::npos);
}

TEST(ScriptedPrompter, RestoresTheSilentDefaultWhenDestroyed) {
  {
    ScriptedPrompter p;
    EXPECT_EQ(&ThePrompter(), &p);
  }
  // The silent stand-in answers the first button.
  EXPECT_TRUE(ThePrompter().Confirm("anything"));
  EXPECT_EQ(ThePrompter().Input("x", "t", "d"), std::nullopt);
}

}  // namespace
}  // namespace talvero
