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
