// Non-volatile memory blocks, the flash loader, capture and the special capture.
#include <gtest/gtest.h>

#include "sim/tests/raw_packets.h"

using namespace talvero::sim;
using simtest::Ask;
using simtest::Bytes;

namespace {

using simtest::ACK;
using simtest::NAK;

class Memory : public ::testing::Test {
 protected:
  void SetUp() override {
    line.AddDrive(2, Family::RHO);
    line.AddDrive(3, Family::RHO);
  }
  SimLine line;
};

TEST_F(Memory, BlocksReadBackWhatWasWritten) {
  const auto& nv = line.Drive(2).Memory();
  ASSERT_EQ(nv.size(), 131072u);
  std::string first = Ask(line, 2, "\x12" "0");
  ASSERT_EQ(first.size(), 128u);
  EXPECT_EQ(first, std::string(nv.begin(), nv.begin() + 128));
  // Two drives do not hold the same image.
  EXPECT_NE(Ask(line, 3, "\x12" "0"), first);

  std::string block;
  for (int i = 0; i < 128; ++i) block += char((i * 7 + 0x5B) & 0xFF);
  EXPECT_EQ(Ask(line, 2, "\x13" "130944"), ACK);
  EXPECT_EQ(Ask(line, 2, "\x14" + block), ACK);
  EXPECT_EQ(Ask(line, 2, "\x12" "130944"), block);
  EXPECT_EQ(std::string(nv.end() - 128, nv.end()), block);
  EXPECT_EQ(Ask(line, 2, "\x12" "1024"), std::string(nv.begin() + 1024, nv.begin() + 1152));

  // Data without an address first, and addresses off the end, are refused.
  EXPECT_EQ(Ask(line, 2, "\x14" + block), NAK);
  EXPECT_EQ(Ask(line, 2, "\x12" "131072"), NAK);
  EXPECT_EQ(Ask(line, 2, "\x12" "-1"), NAK);
  EXPECT_EQ(Ask(line, 2, "\x13" "131072"), NAK);
}

TEST_F(Memory, FlashSequenceReplacesTheImageOnlyWhenEnded) {
  std::string b1(128, 'a'), b2(128, 'b');
  EXPECT_EQ(Ask(line, 2, "FD" + b1), "");  // no block before a start
  EXPECT_EQ(Ask(line, 2, "FS"), ACK);
  EXPECT_EQ(Ask(line, 2, "FD" + b1), ACK);
  EXPECT_EQ(Ask(line, 2, "FD" + b1.substr(0, 100)), "");  // a short block is refused
  EXPECT_TRUE(line.Drive(2).FlashImage().empty());
  EXPECT_EQ(Ask(line, 2, "FD" + b2), ACK);
  EXPECT_EQ(Ask(line, 2, "FE"), ACK);
  EXPECT_EQ(Ask(line, 2, "RF"), ACK);
  const auto& img = line.Drive(2).FlashImage();
  EXPECT_EQ(std::string(img.begin(), img.end()), b1 + b2);
  EXPECT_EQ(line.Drive(2).FlashStarts(), 1);
  EXPECT_EQ(line.Drive(2).RestartTexts(), std::vector<std::string>{"F"});
  // A new start throws away blocks of an attempt that never ended.
  EXPECT_EQ(Ask(line, 2, "FS"), ACK);
  EXPECT_EQ(Ask(line, 2, "FD" + b2), ACK);
  EXPECT_EQ(Ask(line, 2, "FS"), ACK);
  EXPECT_EQ(Ask(line, 2, "FE"), ACK);
  EXPECT_TRUE(line.Drive(2).FlashImage().empty());
}

TEST_F(Memory, CaptureFinishesAfterTheConfiguredPolls) {
  SimDrive& d = line.Drive(2);
  d.SetCapturePolls(2);
  EXPECT_EQ(Ask(line, 2, Bytes({0x18, 25, 3, 5})), ACK);
  EXPECT_TRUE(d.CaptureTriggered());
  auto finished = [&] { return (Ask(line, 2, "Q")[1] & 1) != 0; };
  EXPECT_FALSE(finished());
  EXPECT_FALSE(finished());
  EXPECT_TRUE(finished());
  std::string upper = Ask(line, 2, Bytes({0x0D, 0}));
  std::string lower = Ask(line, 2, Bytes({0x0D, 1}));
  EXPECT_EQ(upper.size(), 250u);
  EXPECT_EQ(lower.size(), 250u);
  EXPECT_NE(upper, lower);
  EXPECT_EQ(Ask(line, 2, Bytes({0x0C, 0})), "\x04" "1.75,-73.14286");
  EXPECT_EQ(Ask(line, 2, Bytes({0x0C, 1})), "\x06" "2.25,-56.88889");
  d.SetCaptureBlock(1, std::string(250, '\x7F'));
  EXPECT_EQ(Ask(line, 2, Bytes({0x0D, 1})), std::string(250, '\x7F'));
  EXPECT_EQ(Ask(line, 2, "\x0E"), ACK);
  EXPECT_FALSE(finished());
  d.SetCapturePolls(0);
  EXPECT_EQ(Ask(line, 2, Bytes({0x0B, 25, 3, 5})), ACK);
  EXPECT_FALSE(d.CaptureTriggered());
  EXPECT_TRUE(finished());
}

TEST_F(Memory, SpecialCaptureAnswersTwoHundredBlocksUnderOneSequence) {
  std::string data;
  for (int i = 0; i < 3200; ++i) data += char(i * 13);
  line.Drive(3).SetSpecialCapture(data);
  line.Drive(3).SetSpecialCapturePauseMs(40);
  auto outs = line.Feed(simtest::Req(3, 47, "ZC"));
  ASSERT_FALSE(outs.empty());
  EXPECT_EQ(outs[0].delayMs, 40);
  auto replies = simtest::Replies(simtest::Joined(outs));
  ASSERT_TRUE(replies);
  ASSERT_EQ(replies->size(), 200u);
  std::string joined;
  for (const auto& r : *replies) {
    EXPECT_EQ(r.seq, 47);
    EXPECT_EQ(r.data.size(), 16u);
    joined += r.data;
  }
  EXPECT_EQ(joined, data);
}

}  // namespace
