// The drive search over an in-memory line: damaged replies are said, Stop
// takes effect within one try, and a box never carries megabytes.
#include <QPushButton>

#include "mainwin/tests/sim_window_fixture.h"
#include "sim/fault_plan.h"

namespace {

using talvero::Answer;
using talvero::sim::Family;
using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

class SearchTest : public SimWindowTest {};

TEST_F(SearchTest, DrivesThatSentOnlyDamagedRepliesAreNamedOnceAfterTheSearch) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  AddDrive(4, Family::TAU, "KV110i", "Lift");
  AddDrive(9, Family::PSI, "KS130i", "Spin");
  sim.AddFault(FaultRule::Kind(FaultKind::BadChecksum, 4, "\x01"));
  sim.AddFault(FaultRule::Kind(FaultKind::ShortReply, 9, "\x01"));
  prompter.ExpectMessage("No valid answer from node(s) 4, 9, though something replied; check the line and "
                         "search again (Special, Refresh Application View).",
                         Answer::Ok);
  ASSERT_TRUE(StartOnLine());
  EXPECT_EQ(win->Sys->Children("!SY"), std::vector<std::string>{"#1"});
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Exclamation);

  // Silence is no damage: a refresh with the faults gone and node 4 away says nothing.
  sim.ClearFaults();
  sim.RemoveDrive(4);
  win->SpRef_Click();
  EXPECT_EQ(win->Sys->Children("!SY"), (std::vector<std::string>{"#1", "#9"}));
}

// The drive keeps its name as Windows-1252 bytes; the tree shows its characters.
TEST_F(SearchTest, ADriveNameWithAnUmlautShowsInTheTree) {
  AddDrive(1, Family::RHO, "KV110c", "Achse S\xFC" "d");
  ASSERT_TRUE(StartOnLine());
  EXPECT_EQ(win->Sys->Text("#1"), "KV110c Achse S\xC3\xBC" "d (Node 1)");
}

// Between tries window events run, and the status timer may ask a drive
// there: its good reply is no damage on the node being searched.
TEST_F(SearchTest, AnotherRequestBetweenTriesIsNoDamage) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(Start());
  bool asked = false;
  pump = [&]() {
    if (!asked && sim.Requests(2).size() == 1) {
      asked = true;
      win->Link.Status(1);
    }
  };
  win->COM__Click(0);
  pump = nullptr;
  EXPECT_TRUE(asked);
  EXPECT_EQ(win->Sys->Children("!SY"), std::vector<std::string>{"#1"});
}

TEST_F(SearchTest, StopEndsTheSearchWithinTheTryUnderWay) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  AddDrive(5, Family::TAU, "KV110i", "Lift");
  ASSERT_TRUE(Start());
  auto* stop = win->findChild<QPushButton*>("Stop");
  ASSERT_NE(stop, nullptr);
  // The user presses Stop while node 2 (empty) gets its first identity request.
  pump = [&]() {
    if (!sim.Requests(2).empty() && stop->isVisible()) stop->click();
  };
  win->COM__Click(0);
  pump = nullptr;
  EXPECT_EQ(sim.Requests(2), std::vector<std::string>{"\x01"}) << "no further try after Stop";
  EXPECT_TRUE(sim.Requests(3).empty());
  EXPECT_EQ(win->Sys->Children("!SY"), std::vector<std::string>{"#1"});
}

// A megabyte entry from the settings reaches the box cut to 2,000 characters.
TEST_F(SearchTest, ABoxCarriesAtMostTwoThousandCharactersOfAnEntry) {
  const std::string huge = "/nowhere/" + std::string(1 << 20, 'x');
  settings.values["OpenApps/List"] = huge + ";";
  prompter.ExpectMessageContaining("Couldn't reopen the application /nowhere/xxx", Answer::Ok);
  ASSERT_TRUE(Start());
  const std::string& text = prompter.Boxes().back().text;
  EXPECT_LE(text.size(), talvero::kMaxBoxChars + 2);
  EXPECT_NE(text.find("x\xE2\x80\xA6x"), std::string::npos);
  EXPECT_NE(text.find("It is dropped"), std::string::npos) << "the box's own words stay";
}

}  // namespace
