#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "editing/model/program_read.h"

namespace {

// Canned replies by line; a line with no reply fails (the drive went silent).
class Canned : public talvero::ProgramLineSource {
 public:
  explicit Canned(std::map<int, std::string> replies) : replies_(std::move(replies)) {}
  std::optional<std::string> Line(int line) override {
    asked.push_back(line);
    auto it = replies_.find(line);
    if (it == replies_.end()) return std::nullopt;
    return it->second;
  }
  std::vector<int> asked;

 private:
  std::map<int, std::string> replies_;
};

std::string Skip(int to) { return std::string(" ") + char(to); }

struct Read {
  talvero::ProgramReadResult result;
  std::map<int, std::string> steps;
};

Read ReadAll(Canned& source) {
  Read r;
  r.result = talvero::ReadDriveProgram(source, [&](int line, const std::string& text) { r.steps[line] = text; });
  return r;
}

TEST(ReadDriveProgram, FollowsSkipRepliesAndStopsWhereTheDriveSaysSo) {
  struct Case {
    const char* what;
    std::map<int, std::string> replies;
    std::vector<int> asked;
    std::map<int, std::string> steps;
  };
  const Case cases[] = {
      {"skip to 200, then a lone blank",
       {{0, "V10"}, {1, "MA5"}, {2, Skip(200)}, {200, "END"}, {201, " "}},
       {0, 1, 2, 200, 201},
       {{0, "V10"}, {1, "MA5"}, {200, "END"}}},
      {"a blank with code 0 ends the read", {{0, "V1"}, {1, std::string(" ") + '\0'}}, {0, 1}, {{0, "V1"}}},
      {"a backwards skip ends the read", {{0, "V1"}, {1, "V2"}, {2, Skip(1)}}, {0, 1, 2}, {{0, "V1"}, {1, "V2"}}},
      {"a skip to the line itself ends the read", {{5, "V1"}, {0, Skip(5)}, {6, Skip(6)}}, {0, 5, 6}, {{5, "V1"}}},
      {"an empty reply leaves the line empty", {{0, ""}, {1, "V2"}, {2, " "}}, {0, 1, 2}, {{1, "V2"}}},
  };
  for (const Case& c : cases) {
    Canned source(c.replies);
    const Read r = ReadAll(source);
    EXPECT_TRUE(r.result.complete) << c.what;
    EXPECT_EQ(source.asked, c.asked) << c.what;
    EXPECT_EQ(r.steps, c.steps) << c.what;
  }
}

TEST(ReadDriveProgram, ReadsThroughLine255AndNoFurther) {
  std::map<int, std::string> replies{{0, Skip(254)}, {254, "V1"}, {255, "V2"}};
  Canned source(replies);
  std::vector<int> progress;
  std::map<int, std::string> steps;
  const auto result = talvero::ReadDriveProgram(
      source, [&](int line, const std::string& text) { steps[line] = text; },
      [&](int line) { progress.push_back(line); });
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(source.asked, (std::vector<int>{0, 254, 255}));
  EXPECT_EQ(progress, source.asked);
  EXPECT_EQ(steps, (std::map<int, std::string>{{254, "V1"}, {255, "V2"}}));
}

TEST(ReadDriveProgram, AnExhaustedRequestEndsTheReadAndSaysWhere) {
  Canned source({{0, "V1"}, {1, "V2"}});  // silent from line 2 on
  const Read r = ReadAll(source);
  EXPECT_FALSE(r.result.complete);
  EXPECT_EQ(r.result.failedLine, 2);
  EXPECT_EQ(source.asked, (std::vector<int>{0, 1, 2}));
}

}  // namespace
