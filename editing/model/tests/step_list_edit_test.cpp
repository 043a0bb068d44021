// The block commands on a program: which lines change, which are written,
// in what order, and which write closes the command.
#include "editing/model/step_list_edit.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using talvero::StepSink;

struct Recorder : StepSink {
  explicit Recorder(bool drive = true, int failAt = -1) : drive_(drive), failAt_(failAt) {}
  bool Write(int line, bool closing) override {
    if (int(writes.size()) == failAt_) return false;
    writes.emplace_back(line, closing);
    return true;
  }
  bool Drive() const override { return drive_; }
  std::vector<std::pair<int, bool>> writes;
  bool drive_;
  int failAt_;
};

// Line i holds step code i+1 with operands "p<i>" for every listed line.
Program With(std::initializer_list<int> lines) {
  Program p;
  for (int i : lines) {
    p.Set_Op(int16_t(i + 1), i);
    p.Set_p1("p" + std::to_string(i), i);
  }
  return p;
}

std::vector<int> Ops(const Program& p, int from, int to) {
  std::vector<int> ops;
  for (int i = from; i <= to; ++i) ops.push_back(p.Get_Op(i));
  return ops;
}

TEST(StepListEdit, CopyAndPasteCarryCodesAndOperands) {
  Program src = With({3, 4, 5});
  talvero::StepClip clip;
  talvero::CopySteps(src, 3, 3, clip);
  EXPECT_EQ(clip.ClipCount, 3);
  EXPECT_TRUE(clip.ClipFilled);

  EXPECT_FALSE(talvero::PasteFits(250, 10));
  EXPECT_TRUE(talvero::PasteFits(250, 6));
  EXPECT_TRUE(talvero::PasteFits(253, 3));
  EXPECT_FALSE(talvero::PasteFits(254, 3));

  Program dst;
  Recorder drive;
  ASSERT_TRUE(talvero::PasteSteps(dst, clip, 253, drive));
  EXPECT_EQ(Ops(dst, 252, 255), (std::vector<int>{-1, 4, 5, 6}));
  EXPECT_EQ(dst.Get_p1(255), "p5");
  // The drive's closing write sends the first line again.
  EXPECT_EQ(drive.writes, (std::vector<std::pair<int, bool>>{{253, false}, {254, false}, {255, false}, {253, true}}));

  Recorder app(false);
  Program other;
  ASSERT_TRUE(talvero::PasteSteps(other, clip, 0, app));
  EXPECT_EQ(app.writes.size(), 3u);
}

TEST(StepListEdit, ClearEmptiesTheBlockAndResendsOnADrive) {
  Program p = With({7, 8, 9});
  Recorder drive;
  ASSERT_TRUE(talvero::ClearSteps(p, 7, 2, drive));
  EXPECT_EQ(Ops(p, 7, 9), (std::vector<int>{-1, -1, 10}));
  EXPECT_EQ(drive.writes, (std::vector<std::pair<int, bool>>{{7, false}, {8, false}, {7, true}}));
}

TEST(StepListEdit, InsertAsksForEveryStepPushedOffRawLinesIncluded) {
  struct Case {
    const char* what;
    std::vector<int> steps;
    int raw;  // a raw command line (code 0), -1 none
    int curRow, n;
    bool loses;
  };
  const Case cases[] = {
      {"empty tail", {0, 1, 2}, -1, 0, 3, false},
      {"a step at 254, three lines", {254}, -1, 10, 3, true},
      {"a step at 252, three lines", {252}, -1, 10, 3, false},
      {"a raw line at 255", {}, 255, 0, 1, true},
      {"before the insert point", {253}, -1, 254, 3, false},
      {"at the insert point", {254}, -1, 254, 3, true},
  };
  for (const Case& c : cases) {
    Program p;
    for (int i : c.steps) p.Set_Op(5, i);
    if (c.raw >= 0) p.Set_Op(0, c.raw);
    EXPECT_EQ(talvero::InsertLosesSteps(p, c.curRow, c.n), c.loses) << c.what;
  }
}

TEST(StepListEdit, InsertShiftsDownSkippingEmptyPairsAndClosesOnTheGap) {
  Program p = With({0, 1, 2, 3, 4});
  Recorder drive;
  ASSERT_TRUE(talvero::InsertSteps(p, 1, 2, drive));
  EXPECT_EQ(Ops(p, 0, 7), (std::vector<int>{1, -1, -1, 2, 3, 4, 5, -1}));
  EXPECT_EQ(p.Get_p1(6), "p4");
  EXPECT_EQ(drive.writes,
            (std::vector<std::pair<int, bool>>{{6, false}, {5, false}, {4, false}, {3, false}, {1, false}, {2, true}}));

  // A gap running past the end closes on the last line.
  Program tail = With({250, 255});
  Recorder r;
  ASSERT_TRUE(talvero::InsertSteps(tail, 250, 10, r));
  EXPECT_EQ(Ops(tail, 250, 255), (std::vector<int>(6, -1)));
  EXPECT_EQ(r.writes.back(), std::make_pair(255, true));
  EXPECT_EQ(r.writes.size(), 6u);
}

TEST(StepListEdit, DeleteMovesUpAndClosesOnTheFirstEmptiedTailLine) {
  Program p;
  for (int i = 0; i <= 255; ++i) p.Set_Op(int16_t(i + 1), i);
  Recorder drive;
  ASSERT_TRUE(talvero::DeleteSteps(p, 10, 3, drive));
  EXPECT_EQ(p.Get_Op(9), 10);
  EXPECT_EQ(p.Get_Op(10), 14);
  EXPECT_EQ(p.Get_Op(252), 256);
  EXPECT_EQ(Ops(p, 253, 255), (std::vector<int>{-1, -1, -1}));
  ASSERT_EQ(drive.writes.size(), 243u + 3u);
  EXPECT_EQ(drive.writes.front(), std::make_pair(10, false));
  EXPECT_EQ(drive.writes[243], std::make_pair(255, false));
  EXPECT_EQ(drive.writes.back(), std::make_pair(253, true));

  // A short program sends only its own lines.
  Program shortP = With({0, 1, 2, 3});
  Recorder r;
  ASSERT_TRUE(talvero::DeleteSteps(shortP, 1, 1, r));
  EXPECT_EQ(Ops(shortP, 0, 4), (std::vector<int>{1, 3, 4, -1, -1}));
  EXPECT_EQ(r.writes, (std::vector<std::pair<int, bool>>{{1, false}, {2, false}, {3, false}, {255, true}}));
}

TEST(StepListEdit, ARefusedWriteStopsTheCommand) {
  Program p = With({0, 1, 2, 3, 4});
  Recorder r(true, 2);
  EXPECT_FALSE(talvero::InsertSteps(p, 0, 1, r));
  EXPECT_EQ(r.writes.size(), 2u);
  Recorder c(true, 0);
  EXPECT_FALSE(talvero::ClearSteps(p, 0, 3, c));
  EXPECT_TRUE(c.writes.empty());
}

}  // namespace
