// The link end to end: a real pseudo-terminal, the real serial port object,
// and a line of simulated drives written apart from the link.
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/isp.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

using talvero::sim::Buffer;
using talvero::sim::Family;
using talvero::sim::FaultKind;
using talvero::sim::FaultRule;

std::string AllByteValues(size_t n, int start = 0) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s.push_back(char((start + i * 7) & 0xFF));
  return s;
}

// Reads and replies cost real time on the line; the link's own pauses are
// skipped through the fake clock, since the simulated drives answer at once.
class OverSim : public ::testing::Test {
 protected:
  void SetUp() override {
    talvero::SetClock(&clock);
    line.AddDrive(1, Family::RHO);
    line.AddDrive(4, Family::TAU);
    line.AddDrive(31, Family::PSI);
    ASSERT_TRUE(server.Start()) << server.Error();
    setenv("TALVERO_COM6", server.SlavePath().c_str(), 1);
    isp = std::make_unique<ISP>();
    isp->FirstByteTimeout = 20;
    isp->NextByteTimeout = 20;
    isp->Retries = 8;
    isp->OpenPort(6);
    ASSERT_GT(isp->theHandle(), 0) << talvero::DescribePortFailure(isp->LastOpenFailure());
  }
  void TearDown() override {
    isp.reset();
    server.Stop();
    unsetenv("TALVERO_COM6");
    talvero::SetClock(nullptr);
  }

  talvero::FakeClock clock;
  talvero::sim::SimLine line;
  talvero::sim::PtyServer server{line};
  std::unique_ptr<ISP> isp;
};

TEST_F(OverSim, TheSearchFindsExactlyTheDrivesOnTheLine) {
  talvero::ScriptedPrompter prompter;
  ASSERT_TRUE(isp->CheckForNodalDrives());
  std::vector<int> found;
  for (int node = 1; node <= 31; ++node) {
    std::string id = isp->WhoAmI(node);
    if (id.empty()) continue;
    found.push_back(node);
    EXPECT_EQ(id, line.Drive(node).Identity());
  }
  EXPECT_EQ(found, (std::vector<int>{1, 4, 31}));
  EXPECT_EQ(isp->ErrorCount, 0);
  EXPECT_TRUE(prompter.Failures().empty());
}

TEST_F(OverSim, TheLineCheckRecognisesAModemAndANodeZeroDrive) {
  struct Case {
    talvero::sim::LineMode mode;
    const char* start;
  };
  for (const Case& c : {Case{talvero::sim::LineMode::Modem, "It appears a MODEM is out"},
                        Case{talvero::sim::LineMode::NodeZero, "It appears a drive at Node 0"}}) {
    talvero::ScriptedPrompter prompter;
    prompter.ExpectMessageContaining(c.start, talvero::Answer::Ok);
    line.SetMode(c.mode);
    EXPECT_FALSE(isp->CheckForNodalDrives());
    EXPECT_TRUE(prompter.Failures().empty());
    EXPECT_TRUE(prompter.AllShown());
    ASSERT_FALSE(prompter.Boxes().empty());
    EXPECT_EQ(prompter.Boxes().back().title, "Error!");
  }
}

// The drive keeps Windows-1252 bytes; the program sees its own characters.
TEST_F(OverSim, ADriveNameWithAnUmlautCrossesTheLineBothWays) {
  ASSERT_TRUE(isp->SetDriveName(4, "Achse S\xC3\xBC" "d"));
  EXPECT_EQ(line.Drive(4).Name(), "Achse S\xFC" "d");
  line.Drive(1).SetName("Br\xFC" "cke");
  EXPECT_EQ(isp->GetDriveName(1), "Br\xC3\xBC" "cke");
  EXPECT_EQ(isp->GetDriveName(4), "Achse S\xC3\xBC" "d");
}

TEST_F(OverSim, AProgramWrittenLineByLineReadsBackWithSkipReplies) {
  const std::vector<std::pair<int, std::string>> steps = {
      {0, "MOVE 10"}, {5, "WAIT IN1"}, {6, "X=[3]+13"}, {200, "GOTO 0"}};
  for (const auto& [n, text] : steps) ASSERT_TRUE(isp->SetPgmLine(4, "", uint8_t(n), text));
  for (const auto& [n, text] : steps) EXPECT_EQ(line.Drive(4).ProgramLine(Buffer::Active, n), text);

  // Follow the skip replies from line 0 to the end, as a program view does.
  std::vector<std::pair<int, std::string>> read;
  int n = 0;
  while (n >= 0 && n <= 255) {
    std::string reply = isp->GetPgmLine(4, uint8_t(n), "");
    ASSERT_FALSE(reply.empty()) << "line " << n;
    if (reply[0] != ' ') {
      read.emplace_back(n, reply);
      ++n;
    } else if (reply.size() >= 2 && uint8_t(reply[1]) > n) {
      n = uint8_t(reply[1]);
    } else {
      break;  // nothing further
    }
  }
  EXPECT_EQ(read, steps);

  // A named line goes to the library edit buffer and is stored under the name.
  ASSERT_TRUE(isp->SetPgmLine(4, "JOG", 3, "MOVE 20"));
  const auto* jog = line.Drive(4).Programs().Find("JOG");
  ASSERT_NE(jog, nullptr);
  EXPECT_EQ(jog->program.lines[3], "MOVE 20");
  EXPECT_EQ(isp->GetPgmName(4, 0), line.Drive(4).Programs().SlotName(0));
  EXPECT_TRUE(isp->LoadTEB(4, "JOG"));
  EXPECT_EQ(isp->GetPgmLine(4, 3, "JOG"), "MOVE 20");
  EXPECT_EQ(isp->ErrorCount, 0);
}

TEST_F(OverSim, AMemoryBlockMakesTheRoundTripWithEveryByteValue) {
  const std::string block = AllByteValues(128, 0x5B);
  ASSERT_TRUE(isp->WriteNV(1, 4096, block));
  EXPECT_EQ(std::string(line.Drive(1).Memory().begin() + 4096, line.Drive(1).Memory().begin() + 4096 + 128),
            block);
  EXPECT_EQ(isp->ReadNV(1, 4096), block);
  EXPECT_EQ(isp->ErrorCount, 0);
}

TEST_F(OverSim, AFirmwareBlockSequenceLandsInTheFlash) {
  std::string image;
  ASSERT_TRUE(isp->Flash(31, "S"));
  for (int b = 0; b < 8; ++b) {
    std::string block = AllByteValues(128, b * 31);
    image += block;
    ASSERT_TRUE(isp->Flash(31, "D" + block)) << "block " << b;
  }
  EXPECT_TRUE(isp->Flash(31, "E"));
  const auto& flash = line.Drive(31).FlashImage();
  EXPECT_EQ(std::string(flash.begin(), flash.end()), image);
  EXPECT_EQ(line.Drive(31).FlashStarts(), 1);
  EXPECT_EQ(line.Drive(31).FlashEnds(), 1);
  EXPECT_TRUE(isp->BigReset(31, "F"));
  EXPECT_EQ(isp->ErrorCount, 0);
}

TEST_F(OverSim, ASpecialCaptureBringsItsTwoHundredBlocks) {
  const std::string capture = AllByteValues(3200, 1);
  line.Drive(1).SetSpecialCapture(capture);
  EXPECT_EQ(isp->SpecialCap(1), capture);
  EXPECT_EQ(line.Requests(1), std::vector<std::string>{"ZC"});
  EXPECT_EQ(isp->ErrorCount, 0);
}

// Under damaged replies every answer is the drive's own or the failure value.
TEST_F(OverSim, DamagedRepliesNeverGiveAWrongValue) {
  auto& drive = line.Drive(1);
  for (int i = 0; i < 256; i += 9) drive.Programs().SetLine(Buffer::Active, i, "MOVE " + std::to_string(i));
  drive.SetEventText(2, "IF IN1 THEN OUT2");
  drive.SetCurrentStep(17);
  drive.SetEventMask(0x209);
  for (int i = 0; i < 1024; ++i) drive.Memory()[size_t(i)] = uint8_t(i * 13 + 1);

  // What the drive holds, read over a clean line.
  struct Query {
    const char* what;
    std::function<std::string(ISP&)> call;
    std::string failure;
    std::string truth;
  };
  std::vector<Query> queries = {
      {"status", [](ISP& i) { return std::to_string(i.Status(1)); }, "0", ""},
      {"value", [](ISP& i) { return i.ValueOf(1, "PPG"); }, "0", ""},
      {"step", [](ISP& i) { return std::to_string(i.WhatStep(1)); }, "-1", ""},
      {"line 9", [](ISP& i) { return i.GetPgmLine(1, 9, ""); }, "", ""},
      {"skip line", [](ISP& i) { return i.GetPgmLine(1, 10, ""); }, "", ""},
      {"event", [](ISP& i) { return i.GetThread(1, 2); }, "", ""},
      {"event mask", [](ISP& i) { return std::to_string(i.GetThreadStat(1)); }, "0", ""},
      {"slot name", [](ISP& i) { return i.GetPgmName(1, 0); }, "", ""},
      {"identity", [](ISP& i) { return i.WhoAmI(1); }, "", ""},
  };
  for (auto& q : queries) {
    q.truth = q.call(*isp);
    ASSERT_NE(q.truth, q.failure) << q.what;
  }
  const std::string memory(drive.Memory().begin(), drive.Memory().begin() + 128);

  isp->Retries = 3;
  struct Damage {
    FaultKind kind;
    double rate;
  };
  const Damage damages[] = {{FaultKind::CorruptBytes, 0.01},
                            {FaultKind::CorruptBytes, 0.03},
                            {FaultKind::CorruptBytes, 0.1},
                            {FaultKind::DropBytes, 0.03}};
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.rate);
    line.ClearFaults();
    line.SeedFaults(20261210);
    line.AddFault(FaultRule::Rate(d.kind, 1, d.rate));
    int16_t errorsBefore = isp->ErrorCount;
    size_t sent = line.Requests(1).size();
    int calls = 0;
    for (int round = 0; round < 6; ++round) {
      for (const auto& q : queries) {
        std::string got = q.call(*isp);
        ++calls;
        EXPECT_TRUE(got == q.truth || got == q.failure) << q.what << ": " << got;
      }
      if (d.rate <= 0.01) {  // a long reply is damaged too often above this
        std::string got = isp->ReadNV(1, 0);
        ++calls;
        EXPECT_TRUE(got == memory || got.empty());
      }
    }
    // The damage was real: requests were repeated.
    EXPECT_GT(line.Requests(1).size() - sent, size_t(calls));
    if (d.rate >= 0.1) {
      EXPECT_GT(isp->ErrorCount, errorsBefore);
    }
  }
}

}  // namespace
