// Fault injection: each kind, by node and by command, and how many times.
#include <gtest/gtest.h>

#include "sim/tests/raw_packets.h"

using namespace talvero::sim;
using simtest::Bytes;
using simtest::Joined;
using simtest::Replies;
using simtest::Req;

namespace {

class Faults : public ::testing::Test {
 protected:
  void SetUp() override {
    line.AddDrive(1, Family::RHO);
    line.AddDrive(2, Family::TAU);
  }
  std::string Raw(int node, const std::string& data, int seq = 40) {
    return Joined(line.Feed(Req(node, seq, data)));
  }
  SimLine line;
};

TEST_F(Faults, FramingFaultsDamageOnlyTheirReplies) {
  const std::string good = "[" + Bytes({40, 2, 0x00, 0x40, 0x40});
  struct Case {
    FaultKind kind;
    std::string expected;
  } cases[] = {
      {FaultKind::BadChecksum, "[" + Bytes({40, 2, 0x00, 0x40, 0x41})},
      {FaultKind::WrongSequence, "[" + Bytes({39, 2, 0x00, 0x40, 0x40})},
      {FaultKind::ShortReply, "[" + Bytes({40, 2, 0x00, 0x40})},
  };
  for (const Case& c : cases) {
    line.ClearFaults();
    line.AddFault(FaultRule::Kind(c.kind, 1, "Q", 1));
    EXPECT_EQ(Raw(2, "Q"), good) << "another node is untouched";
    EXPECT_EQ(Raw(1, "=KP").size(), 16u) << "another command is untouched";
    EXPECT_EQ(Raw(1, "Q"), c.expected) << int(c.kind);
    EXPECT_EQ(Raw(1, "Q"), good) << "the count is used up";
  }
  // The sequence before 32 is 64.
  line.AddFault(FaultRule::Kind(FaultKind::WrongSequence, 1));
  EXPECT_EQ(Raw(1, "Q", 32)[1], char(64));
}

TEST_F(Faults, MissingRepliesAreRequestsTheDriveNeverSaw) {
  line.AddFault(FaultRule::Missing(1, ":", 2));
  EXPECT_EQ(Raw(1, ":!KP=20"), "");
  EXPECT_EQ(Raw(1, ":!KP=30"), "");
  EXPECT_EQ(simtest::Ask(line, 1, "=KP"), simtest::Padded("10"));
  EXPECT_EQ(simtest::Ask(line, 1, ":!KP=40"), "\x06");
  EXPECT_EQ(simtest::Ask(line, 1, "=KP"), simtest::Padded("40"));
  auto log = line.Log();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_FALSE(log[0].answered);
  EXPECT_TRUE(log[3].answered);
  EXPECT_EQ(line.Requests(1)[0], ":!KP=20");
}

TEST_F(Faults, SilenceAndDelay) {
  line.AddFault(FaultRule::Silent(2));
  EXPECT_EQ(Raw(2, "\x01"), "");
  EXPECT_EQ(Raw(2, "Q"), "");
  EXPECT_FALSE(Raw(1, "Q").empty());
  line.ClearFaults();
  line.AddFault(FaultRule::Silent(0));  // node 0: every node
  EXPECT_EQ(Raw(1, "Q"), "");
  EXPECT_EQ(Raw(2, "Q"), "");
  line.ClearFaults();
  line.AddFault(FaultRule::Delayed(2, 250, "Q"));
  auto outs = line.Feed(Req(2, 41, "Q"));
  ASSERT_EQ(outs.size(), 1u);
  EXPECT_EQ(outs[0].delayMs, 250);
  outs = line.Feed(Req(2, 42, "=KP"));
  ASSERT_EQ(outs.size(), 1u);
  EXPECT_EQ(outs[0].delayMs, 0);
}

TEST_F(Faults, BabbleFollowsTheReplyWithNoiseThatHoldsNoFrame) {
  line.AddFault(FaultRule::Babbling(1, 5000, "Q", 1));
  std::string raw = Raw(1, "Q");
  ASSERT_EQ(raw.size(), 6u + 5000u);
  EXPECT_EQ(raw.substr(0, 6), "[" + Bytes({40, 2, 0x00, 0x40, 0x40}));
  EXPECT_EQ(raw.find('[', 1), std::string::npos);
  EXPECT_EQ(Raw(1, "Q").size(), 6u);
}

TEST_F(Faults, CutOffSpecialCaptureEndsAtTheGivenReply) {
  FaultRule r = FaultRule::Missing(1, "ZC", 1);
  r.reply = 50;
  line.AddFault(r);
  auto replies = Replies(Raw(1, "ZC"));
  ASSERT_TRUE(replies);
  EXPECT_EQ(replies->size(), 50u);
  replies = Replies(Raw(1, "ZC"));
  ASSERT_TRUE(replies);
  EXPECT_EQ(replies->size(), 200u);
}

TEST_F(Faults, ByteFaultsFollowTheirRateAndSeed) {
  std::string clean = Raw(1, "\x12" "0");
  ASSERT_EQ(clean.size(), 132u);
  auto damage = [&](FaultKind kind, double rate, uint32_t seed) {
    line.ClearFaults();
    line.SeedFaults(seed);
    line.AddFault(FaultRule::Rate(kind, 1, rate));
    std::string all;
    for (int i = 0; i < 50; ++i) all += Raw(1, "\x12" "0");
    return all;
  };
  for (FaultKind kind : {FaultKind::CorruptBytes, FaultKind::DropBytes}) {
    EXPECT_EQ(damage(kind, 0.0, 1).size(), 50 * clean.size());
    std::string a = damage(kind, 0.05, 7);
    EXPECT_EQ(a, damage(kind, 0.05, 7)) << "the same seed damages the same bytes";
    EXPECT_NE(a, damage(kind, 0.05, 8));
    size_t changed = 0;
    if (kind == FaultKind::CorruptBytes) {
      ASSERT_EQ(a.size(), 50 * clean.size());
      for (size_t i = 0; i < a.size(); ++i) changed += a[i] != clean[i % clean.size()];
    } else {
      changed = 50 * clean.size() - a.size();
    }
    // 6600 bytes at 5 %: about 330 damaged.
    EXPECT_GT(changed, 200u);
    EXPECT_LT(changed, 500u);
  }
}

}  // namespace
