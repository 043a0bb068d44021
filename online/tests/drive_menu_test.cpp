// The drive menu's administration commands against simulated drives.
#include <gtest/gtest.h>

#include <algorithm>

#include "mainwin/qt_sys_tree.h"
#include "online/tests/admin_fixture.h"

namespace {

using talvero::Answer;
using talvero::Buttons;
using talvero::Icon;

class DriveMenuTest : public AdminWindowTest {};

TEST_F(DriveMenuTest, EachCommandSendsExactlyItsRequests) {
  const std::string firmware4 = sim.Drive(4).FirmwareText();
  // Each case: what the user answers, then the node's requests, in order. A
  // case that rebuilds the tree lists only the requests before the search.
  const struct Case {
    const char* name;
    const char* item;
    int node;
    std::function<void()> arrange;
    std::vector<std::string> requests;
    bool thenSearch = false;
  } cases[] = {
      {"firmware, RHO: both texts", "AA_Firm", 1,
       [&] {
         // The drive's texts as they came: its first ends with a line end.
         prompter.ExpectMessage("Firmware version: 4.12 RHO\nKernel version: 2.07\nBuild: 2026-11-30\n"
                                "Date/Time set as: 01/01/00 00:00 (day 1)",
                                Answer::Ok, "Axis information...");
       },
       {"I\x01", "I\x02"}},
      {"firmware, TAU: text 1 alone", "AA_Firm", 4,
       [&] { prompter.ExpectMessage(firmware4, Answer::Ok, "Axis information..."); },
       {"I\x01"}},
      {"clock from the PC's, Wednesday 9 December 2026 14:05", "AA_SDT", 1, [] {},
       {"\x0F\x26\x04\x12\x09\x14\x05"}},
      {"calibration", "AA_Cal", 1, [] {}, std::vector<std::string>(10, "\x1C")},
      {"calibration, drive silent: the first, and the box", "AA_Cal", 4,
       [&] {
         sim.AddFault(talvero::sim::FaultRule::Silent(4));
         win->Link.Retries = 1;
         prompter.ExpectMessage("Node 4 does not answer.", Answer::Ok);
       },
       {"\x1C"}},
      {"initialise, second box cancelled", "AA_Zap", 1,
       [&] {
         prompter.ExpectMessage("Are you really sure you want to initialize this axis ?", Answer::Ok);
         prompter.ExpectMessage(
             "ALL programs, parameters and events will be lost...there is NO UNDO!   Continue ?",
             Answer::Cancel);
       },
       {}},
      {"initialise", "AA_Zap", 1,
       [&] {
         prompter.ExpectMessage("Are you really sure you want to initialize this axis ?", Answer::Ok);
         prompter.ExpectMessage(
             "ALL programs, parameters and events will be lost...there is NO UNDO!   Continue ?",
             Answer::Ok);
       },
       {"ZD"}, true},
      {"user variables, cancelled", "AA_KillUV", 1,
       [&] {
         prompter.ExpectMessage("ALL user variables will be lost...there is NO UNDO!   Continue ?",
                                Answer::Cancel);
       },
       {}},
      {"user variables", "AA_KillUV", 1,
       [&] {
         prompter.ExpectMessage("ALL user variables will be lost...there is NO UNDO!   Continue ?",
                                Answer::Ok);
       },
       {"v*"}},
      {"name, cancelled", "AA_DriveName", 1, [&] { prompter.ExpectInput("Drive name?", std::nullopt); },
       {}},
      {"name, empty", "AA_DriveName", 1, [&] { prompter.ExpectInput("Drive name?", ""); }, {}},
      {"name", "AA_DriveName", 1, [&] { prompter.ExpectInput("Drive name?", "MILL 2"); },
       {"\x1DMILL 2"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Click("#" + std::to_string(c.node));
    sim.ClearLog();
    clock.ClearSleeps();
    const size_t boxesBefore = prompter.Boxes().size();
    c.arrange();
    Choose(c.item);
    sim.ClearFaults();
    win->Link.Retries = 8;
    EXPECT_TRUE(prompter.AllShown());
    std::vector<std::string> sent = Sent(c.node);
    const std::vector<int> searched = [&] {
      std::vector<int> nodes;
      for (const auto& r : sim.Log())
        if (r.data == "\x01" && (nodes.empty() || nodes.back() != r.node)) nodes.push_back(r.node);
      return nodes;
    }();
    if (c.thenSearch) {
      ASSERT_GT(sent.size(), c.requests.size());
      EXPECT_EQ(sent[c.requests.size()], "\x01") << "the search follows";
      EXPECT_EQ(searched.size(), 31u);
      sent.resize(c.requests.size());
    } else {
      EXPECT_TRUE(searched.empty());
    }
    EXPECT_EQ(sent, c.requests);
    // Every box of these commands: OK alone without icon, or a confirmation
    // whose preselected answer is Cancel.
    for (size_t i = boxesBefore; i < prompter.Boxes().size(); ++i) {
      const talvero::MessageBox& b = prompter.Boxes()[i];
      if (b.buttons == Buttons::Ok) {
        EXPECT_EQ(b.icon, Icon::None);
      } else {
        EXPECT_EQ(b.buttons, Buttons::OkCancel);
        EXPECT_EQ(b.icon, Icon::Question);
        EXPECT_EQ(b.defaultButton, 1);
      }
    }
  }
  EXPECT_EQ(sim.Drive(1).Calibrations(), 10);
  EXPECT_EQ(sim.Drive(1).Name(), "MILL 2");
  EXPECT_EQ(win->GetDriveNameByNode(1), "KV110c MILL 2 (Node 1)");
  EXPECT_EQ(win->Sys->SelectedKey(), "!SY") << "the refresh leaves the drives root selected";
  EXPECT_TRUE(passedOn.empty());
}

TEST_F(DriveMenuTest, InitialiseWaitsHalfASecondBeforeTheSearch) {
  Click("#1");
  prompter.ExpectMessage("Are you really sure you want to initialize this axis ?", Answer::Ok);
  prompter.ExpectMessage(
      "ALL programs, parameters and events will be lost...there is NO UNDO!   Continue ?", Answer::Ok);
  sim.ClearLog();
  clock.ClearSleeps();
  Choose("AA_Zap");
  // "ZD" goes once, unanswered; the first sleep after it is the half second.
  const std::vector<std::string> sent = Sent(1);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), "ZD");
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "ZD"), 1);
  ASSERT_GE(clock.Sleeps().size(), 2u);
  EXPECT_EQ(clock.Sleeps()[0], 10) << "the link's own pause";
  EXPECT_EQ(clock.Sleeps()[1], 500);
  EXPECT_EQ(sim.Drive(1).Specials(), std::vector<std::string>{"D"});
  EXPECT_EQ(win->Sys->Children("!SY"), (std::vector<std::string>{"#1", "#4"}));
}

TEST_F(DriveMenuTest, DriveTextsAreShownAndSentAsWindows1252) {
  // The drive's bytes are Windows-1252: 0xB5 is the micro sign.
  sim.Drive(4).SetKernelVersion("2.07\xB5");
  Click("#4");
  const std::string shown = sim.Drive(4).FirmwareText();
  prompter.ExpectMessage(shown.substr(0, shown.find("\xB5")) + "\xC2\xB5" +
                             shown.substr(shown.find("\xB5") + 1),
                         Answer::Ok, "Axis information...");
  Choose("AA_Firm");

  // A name the drive can hold goes as its bytes; one it cannot is refused.
  prompter.ExpectInput("Drive name?", "Z\xC3\xBCrich");  // ü is 0xFC
  sim.ClearLog();
  Choose("AA_DriveName");
  EXPECT_EQ(Sent(4).front(), "\x1DZ\xFCrich");
  EXPECT_EQ(sim.Drive(4).Name(), "Z\xFCrich");

  Click("#4");
  sim.ClearLog();
  prompter.ExpectInput("Drive name?", "ARM \xE2\x9C\x93");
  prompter.ExpectMessage("The drive name holds a character that a drive cannot store. Nothing was sent.",
                         Answer::Ok);
  Choose("AA_DriveName");
  prompter.ExpectInput("Drive name?", std::string(255, 'N'));
  prompter.ExpectMessage(
      "The drive name is too long: a drive takes at most 254 characters. Nothing was sent.", Answer::Ok);
  Choose("AA_DriveName");
  EXPECT_TRUE(sim.Log().empty());
  EXPECT_EQ(sim.Drive(4).Name(), "Z\xFCrich");
}

TEST_F(DriveMenuTest, OnlyADriveOnTheLineIsActedOnAndOtherItemsGoOn) {
  // The drives root selected: nothing is sent, nothing asked.
  Click("!SY");
  sim.ClearLog();
  for (const char* item : {"AA_Firm", "AA_SDT", "AA_Cal", "AA_Zap", "AA_KillUV", "AA_DriveName",
                           "AA_SetConfig"})
    Choose(item);
  EXPECT_TRUE(sim.Log().empty());
  EXPECT_TRUE(passedOn.empty());

  // The memory items belong to the hook installed before.
  Click("#1");
  Choose("AA_MEM2FILE");
  Choose("AA_FILE2MEM");
  EXPECT_EQ(passedOn, (std::vector<std::string>{"AA_MEM2FILE", "AA_FILE2MEM"}));
}

}  // namespace
