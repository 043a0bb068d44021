// Reading a drive program through skip replies, and the fault history's
// records, however the drive answers.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "reports/model/report_sections.h"

namespace reports {
namespace {

// A drive's replies by line; unlisted lines answer "" (an empty step).
struct Drive {
  std::map<int, std::optional<std::string>> replies;
  std::vector<int> asked;
  std::vector<std::pair<int, std::string>> Read() {
    return ReadProgramLines([this](int n) -> std::optional<std::string> {
      asked.push_back(n);
      auto it = replies.find(n);
      return it == replies.end() ? std::optional<std::string>("") : it->second;
    });
  }
};

std::string Skip(int to) { return std::string(" ") + char(to); }

TEST(ReadProgramLines, FollowsSkipsAndStopsWhereItMust) {
  struct Case {
    const char* what;
    std::map<int, std::optional<std::string>> replies;
    std::vector<int> asked;
    std::vector<int> steps;
  };
  std::vector<int> all;
  for (int i = 0; i < 256; ++i) all.push_back(i);
  const Case cases[] = {
      {"every line empty: 0..255 asked, line 255 too", {}, all, {}},
      {"skips forward, a step at 255",
       {{0, "MA 1"}, {1, Skip(10)}, {10, "WM"}, {11, Skip(255)}, {255, "STOP"}},
       {0, 1, 10, 11, 255},
       {0, 10, 255}},
      {"a lone blank ends", {{0, "MA 1"}, {1, " "}}, {0, 1}, {0}},
      {"a skip to 0 ends", {{0, "MA 1"}, {1, Skip(0)}}, {0, 1}, {0}},
      {"a skip backwards ends", {{0, "MA 1"}, {1, Skip(5)}, {5, "WM"}, {6, Skip(3)}}, {0, 1, 5, 6}, {0, 5}},
      {"a skip to itself ends", {{4, Skip(4)}}, {0, 1, 2, 3, 4}, {}},
      {"a failed request ends", {{0, "MA 1"}, {1, std::nullopt}}, {0, 1}, {0}},
  };
  for (const Case& c : cases) {
    Drive d{c.replies, {}};
    std::vector<int> steps;
    for (const auto& [line, text] : d.Read()) steps.push_back(line);
    EXPECT_EQ(d.asked, c.asked) << c.what;
    EXPECT_EQ(steps, c.steps) << c.what;
  }
}

TEST(ParseHistoryRecord, FullAndShortRecords) {
  HistoryEntry h = ParseHistoryRecord("5,3,1024,1500.25,0.456,7,12:00:01, second part", 1);
  EXPECT_EQ(h.faults, 5);
  EXPECT_EQ(h.summary, " Inputs active: 1 2 Outputs active: 11 Vel: 1500.3 RPM Cur: 46%");
  EXPECT_EQ(h.rest, "   12:00:01, second part");

  h = ParseHistoryRecord("511,256,4096,", 1);  // masked: input 9 and output 13 do not exist
  EXPECT_EQ(h.faults, 511);
  EXPECT_EQ(h.summary, " No Inputs active. No Outputs active. Vel: 0.0 RPM Cur: 0%");
  EXPECT_EQ(h.rest, "   ");

  h = ParseHistoryRecord("2", 0);  // one field only: the rest reads as 0
  EXPECT_EQ(h.faults, 2);
  EXPECT_EQ(h.summary, " No Inputs active. No Outputs active. Vel: 0.0 RPM Cur: 0%");

  h = ParseHistoryRecord("1,1,0,-3.04,1,4", 0);  // no text after the step: nothing to drop
  EXPECT_EQ(h.summary, " Inputs active: 0 No Outputs active. Vel: -3.0 RPM Cur: 100%");
  EXPECT_EQ(h.rest, "   4");
}

TEST(CutMessage, NamesEverySectionAndSaysDamagedOnlyWhenNoneWasSilent) {
  const struct {
    std::vector<CutSection> cuts;
    std::vector<std::string> left;
    const char* want;
  } cases[] = {
      {{{"Events", true}}, {}, "Node 3 gave no valid answer; the Events section of the report is incomplete."},
      {{{"Parameters", true}, {"Program: CUT", false}, {"Status", true}},
       {},
       "Node 3 did not answer; the Parameters, Program: CUT and Status sections of the report are incomplete."},
      {{{"Parameters", false}}, {"Status"},
       "Node 3 did not answer; the Parameters section of the report is incomplete, and the Status section was "
       "left out."},
      // Failed between two sections: none cut, the rest left out.
      {{}, {"Events", "Status"}, "Node 3 did not answer; the Events and Status sections of the report were left out."},
      {{}, {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutMessage(3, c.cuts, c.left), c.want);
  EXPECT_EQ(CutNote(3, {"Status", false}), "Node 3 did not answer; the Status section is incomplete.");
}

TEST(StatusWords, FromTheStatusWord) {
  EXPECT_EQ(ReportSections::StateWords(11), "Enabled, Faulted, Running.");
  EXPECT_EQ(ReportSections::StateWords(137), "Enabled, Paused.");
  EXPECT_EQ(ReportSections::StateWords(0), "Disabled, Stopped.");
}

TEST(IOCell, ForcedStatesWin) {
  EXPECT_STREQ(ReportSections::IOCell(1, 1, 0, 0), "FOFF ") << "on, forced off";
  EXPECT_STREQ(ReportSections::IOCell(0, 1, 1, 0), "FOFF ");
  EXPECT_STREQ(ReportSections::IOCell(0, 0, 4, 2), "FON  ") << "off, forced on";
  EXPECT_STREQ(ReportSections::IOCell(2, 0, 0, 1), "ON   ");
  EXPECT_STREQ(ReportSections::IOCell(2, 0, 0, 0), "OFF  ");
}

}  // namespace
}  // namespace reports
