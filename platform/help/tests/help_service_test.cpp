#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "platform/help/help_service.h"
#include "platform/help/help_sys.h"
#include "platform/ui/scripted_prompter.h"

namespace fs = std::filesystem;
using talvero::Answer;
using talvero::HelpService;
using talvero::HelpWindow;

namespace {

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "help_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    EXPECT_TRUE(prompter_.Failures().empty()) << ::testing::PrintToString(prompter_.Failures());
    fs::remove_all(dir_);
  }
  void WriteHelp() const {
    std::ofstream(dir_ / "talvero.help") << "[7001] Contents\nkeywords: overview\nWelcome.\n"
                                            "[8003] Working with Events\nkeywords: events\nEvents text.\n"
                                            "[1005] Move\nkeywords: move; motion\nMoves the axis.\n"
                                            "[1212] Gain\nThe gain.\n"
                                            "[1401] On Input\nkeywords: events on input\nWhen an input changes.\n";
  }
  std::string Path() const { return (dir_ / "talvero.help").string(); }
  // A service whose display records what it was handed.
  HelpService Service() {
    HelpService help(dir_.string());
    help.SetDisplay([this](const talvero::HelpTopic& t, HelpWindow w) {
      shown_.push_back(std::to_string(t.context) + " " + t.title + ":" + t.text + "@" + std::to_string(int(w)));
    });
    return help;
  }

  fs::path dir_;
  talvero::ScriptedPrompter prompter_;
  std::vector<std::string> shown_;
};

TEST_F(Help, EachCallShowsItsTopicInItsWindow) {
  WriteHelp();
  HelpService help = Service();
  EXPECT_EQ(help.FilePath(), Path());
  EXPECT_TRUE(help.ShowHelpContents());
  EXPECT_TRUE(help.ShowStepHelp(8003));
  EXPECT_TRUE(help.ShowHelpPopup(HelpService::kStepContextBase + 5));
  EXPECT_TRUE(help.ShowHelpPopup(HelpService::kParameterContextBase + 12));
  EXPECT_TRUE(help.ShowTopic(1401));
  EXPECT_EQ(shown_, (std::vector<std::string>{
                        "7001 Contents:Welcome.@0",
                        "8003 Working with Events:Events text.@1",
                        "1005 Move:Moves the axis.@2",
                        "1212 Gain:The gain.@2",
                        "1401 On Input:When an input changes.@0",
                    }));
}

TEST_F(Help, TheWindowsCallsReachTheInstalledService) {
  WriteHelp();
  HelpService help = Service();
  talvero::SetHelpService(&help);
  HelpSys::ShowHelpContents();
  HelpSys::ShowStepHelp(8003);
  HelpSys::ShowHelpPopup(1005);
  prompter_.ExpectInput("Search the help for:", std::string("mot"));
  HelpSys::ShowHelpSearch();
  talvero::SetHelpService(nullptr);
  EXPECT_EQ(shown_.size(), 4u);
  EXPECT_EQ(shown_.back(), "1005 Move:Moves the axis.@0");
}

TEST_F(Help, AMissingFileIsReportedWithItsPath) {
  HelpService help = Service();
  prompter_
      .ExpectMessage("The help contents (topic 7001) cannot be shown: the help file is not installed at " +
                         Path() + ".",
                     Answer::Ok)
      .ExpectMessage("Help topic 1005 cannot be shown: the help file is not installed at " + Path() + ".",
                     Answer::Ok)
      .ExpectMessage("The help index cannot be shown: the help file is not installed at " + Path() + ".",
                     Answer::Ok);
  EXPECT_FALSE(help.ShowHelpContents());
  EXPECT_FALSE(help.ShowHelpPopup(1005));
  EXPECT_FALSE(help.ShowHelpSearch());
  EXPECT_TRUE(shown_.empty());
  EXPECT_TRUE(prompter_.AllShown());
  EXPECT_EQ(prompter_.Boxes().front().icon, talvero::Icon::Critical);
}

TEST_F(Help, AHelpFileThatIsNoFileIsRefusedAtOnce) {
  HelpService help = Service();
  ASSERT_EQ(::mkfifo(Path().c_str(), 0600), 0);
  prompter_.ExpectMessage("The help contents (topic 7001) cannot be shown: the help file " + Path() +
                              " cannot be read: it is a pipe (fifo), not a file.",
                          Answer::Ok);
  EXPECT_FALSE(help.ShowHelpContents());
  EXPECT_TRUE(prompter_.AllShown());
  fs::remove(Path());
  fs::create_symlink("/dev/zero", Path());
  EXPECT_EQ(help.Load(), std::nullopt);
}

TEST_F(Help, AMissingTopicIsReported) {
  WriteHelp();
  HelpService help = Service();
  prompter_.ExpectMessage("Help topic 8017 cannot be shown: it is not in the help file " + Path() + ".",
                          Answer::Ok);
  EXPECT_FALSE(help.ShowStepHelp(8017));
  EXPECT_TRUE(shown_.empty());
  EXPECT_TRUE(prompter_.AllShown());
}

// Right-click help on a row never ends in an error box: an empty step or
// event, or a row the file has no topic for, opens its list's topic, and
// without that the contents.
TEST_F(Help, ARowWithoutATopicOpensItsListsTopicOrTheContents) {
  WriteHelp();
  std::ofstream(dir_ / "talvero.help", std::ios::app) << "[999] Program Steps\nThe program list.\n"
                                                         "[1399] Events\nThe event list.\n";
  HelpService help = Service();
  struct Case {
    int context;
    const char* shown;
  } cases[] = {
      {HelpService::kStepContextBase - 1, "999 Program Steps:The program list.@2"},    // an empty step
      {HelpService::kEventContextBase - 1, "1399 Events:The event list.@2"},          // an empty event
      {1017, "999 Program Steps:The program list.@2"},                                // a step the file lacks
      {1466, "1399 Events:The event list.@2"},
      {1250, "7001 Contents:Welcome.@0"},  // no parameter list topic: the contents
      {1005, "1005 Move:Moves the axis.@2"},
  };
  for (const Case& c : cases) {
    shown_.clear();
    EXPECT_TRUE(help.ShowHelpPopup(c.context)) << c.context;
    EXPECT_EQ(shown_, std::vector<std::string>{c.shown}) << c.context;
  }
  EXPECT_TRUE(prompter_.Boxes().empty());
  // Only a file without even its contents is told.
  std::ofstream(dir_ / "talvero.help") << "[1005] Move\nMoves the axis.\n";
  prompter_.ExpectMessage("Help topic 1017 cannot be shown: it is not in the help file " + Path() + ".",
                          Answer::Ok);
  EXPECT_FALSE(help.ShowHelpPopup(1017));
  EXPECT_TRUE(prompter_.AllShown());
}

TEST_F(Help, WithoutADisplayTheTopicComesAsABox) {
  WriteHelp();
  HelpService help(dir_.string());
  prompter_.ExpectMessage("Moves the axis.", Answer::Ok, "Move");
  EXPECT_TRUE(help.ShowHelpPopup(1005));
  EXPECT_TRUE(prompter_.AllShown());
}

TEST_F(Help, TheIndexDisplayGetsTheEntriesAndShowsThePick) {
  WriteHelp();
  HelpService help = Service();
  std::vector<std::string> offered;
  std::optional<int> pick;
  help.SetIndexDisplay([&](const std::string& keyword, const std::vector<talvero::HelpIndexEntry>& entries) {
    offered.push_back(keyword);
    for (const auto& e : entries) offered.push_back(e.keyword + "@" + std::to_string(e.context));
    return pick;
  });

  pick = 8003;
  EXPECT_TRUE(help.ShowHelpSearch("ev"));
  EXPECT_EQ(offered, (std::vector<std::string>{"ev", "events@8003", "events on input@1401"}));
  EXPECT_EQ(shown_, (std::vector<std::string>{"8003 Working with Events:Events text.@0"}));

  pick = std::nullopt;  // closed without a choice: nothing shown, nothing said
  offered.clear();
  EXPECT_TRUE(help.ShowHelpSearch());
  EXPECT_EQ(shown_.size(), 1u);
  EXPECT_EQ(offered, (std::vector<std::string>{"", "events@8003", "events on input@1401", "motion@1005",
                                               "move@1005", "overview@7001"}));

  pick = 9999;
  prompter_.ExpectMessageContaining("Help topic 9999 cannot be shown: it is not in the help file", Answer::Ok);
  help.ShowHelpSearch();
  EXPECT_TRUE(prompter_.AllShown());
}

TEST_F(Help, WithoutAnIndexDisplayTheSearchAsksForAKeyword) {
  WriteHelp();
  HelpService help = Service();
  prompter_.ExpectInput("Search the help for:", std::string("Events"))
      .ExpectInput("Search the help for:", std::nullopt)
      .ExpectInput("Search the help for:", std::string("zzz"))
      .ExpectMessage("No help topic is listed under \"zzz\".", Answer::Ok);
  EXPECT_TRUE(help.ShowHelpSearch());  // the exact keyword wins over "events on input"
  EXPECT_FALSE(help.ShowHelpSearch());
  EXPECT_FALSE(help.ShowHelpSearch());
  EXPECT_EQ(shown_, (std::vector<std::string>{"8003 Working with Events:Events text.@0"}));
  EXPECT_TRUE(prompter_.AllShown());
}

TEST_F(Help, TheInstalledHelpFileHasTheMenuTopics) {
  const char* bin = std::getenv("TALVERO_BIN");
  ASSERT_NE(bin, nullptr);
  const auto file = HelpService(bin).Load();
  ASSERT_TRUE(file.has_value()) << bin;
  for (int context : {7001, 8001, 8002, 8003, 8004, 8005, HelpService::kProgramViewContext,
                      HelpService::kParameterViewContext, HelpService::kEventViewContext})
    EXPECT_NE(file->Find(context), nullptr) << context;
}

}  // namespace
