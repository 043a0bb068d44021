// The line, the framing, the reply checks, flushing, retries, the text mode,
// the line check, the multi-request operations and the failure bookkeeping.
#include <string>
#include <vector>

#include "link/failure_watch.h"
#include "link/tests/link_fixture.h"
#include "platform/ui/scripted_prompter.h"

namespace linktest {
namespace {

using Transport = LinkTest;

TEST_F(Transport, ARequestGoesOutByteByByteWithItsChecksum) {
  Open();
  isp->SendPacket(1, "Q");
  EXPECT_EQ(port->written, Bytes({0x5B, 0x01, 0x21, 0x01, 0x51, 0x51}));
  port->written.clear();
  // Only the data is summed, modulo 256; every byte value may be data.
  isp->SendPacket(31, Bytes({0xFF, 0x5B, 0x0D, 0x02}));
  EXPECT_EQ(port->written, Bytes({0x5B, 31, 34, 4, 0xFF, 0x5B, 0x0D, 0x02, 0x69}));
}

TEST_F(Transport, OpeningSetsTheLineAndRestartsTheSequence) {
  isp->OpenPort(3);
  EXPECT_GT(isp->theHandle(), 0);
  EXPECT_EQ(port->portNumber, 3);
  EXPECT_EQ(port->speed, 19200);
  EXPECT_EQ(port->dataBits, 8);
  for (int s : port->settings) EXPECT_EQ(s, 0);

  std::vector<int> seen;
  for (int i = 0; i < 34; ++i) {
    isp->SendPacket(1, "Q");
    seen.push_back(port->requests.back().sequence);
  }
  EXPECT_EQ(seen.front(), 33);
  EXPECT_EQ(seen[31], 64);
  EXPECT_EQ(seen[32], 32);  // the 33rd
  EXPECT_EQ(seen[33], 33);

  // A second open closes the line first, letting window events run around it.
  int pumps = clock.EventPumps();
  isp->OpenPort(4);
  EXPECT_EQ(port->closes, 1);
  EXPECT_EQ(port->opens, 2);
  EXPECT_EQ(clock.EventPumps() - pumps, 3);
  isp->SendPacket(1, "Q");
  EXPECT_EQ(port->requests.back().sequence, 33);
}

TEST_F(Transport, AFailedOpenLeavesTheLinkOffLineAndSaysWhy) {
  port->openResult = -1;
  isp->OpenPort(2);
  EXPECT_EQ(isp->theHandle(), 0);
  EXPECT_EQ(isp->LastOpenFailure().reason, talvero::PortFailureReason::Busy);
  isp->SendPacket(1, "Q");
  EXPECT_TRUE(port->written.empty());
}

TEST_F(Transport, GoingOffLineClosesTheLine) {
  Open();
  isp->OpenPort(0);
  EXPECT_EQ(isp->theHandle(), 0);
  EXPECT_EQ(port->closes, 1);
  EXPECT_FALSE(port->isOpen);
  Open();
  isp->ClosePort();
  EXPECT_EQ(port->closes, 2);
  EXPECT_EQ(isp->theHandle(), 0);
}

TEST_F(Transport, DestroyingTheLinkClosesTheLine) {
  Open();
  auto closes = port->closesSeen;
  isp.reset();
  EXPECT_GE(*closes, 1);
}

// A bad reply is refused, whatever followed it is drained, and the next try
// gets the good one.
TEST_F(Transport, BadRepliesAreRefusedDrainedAndRetried) {
  struct Case {
    const char* what;
    std::function<std::string(const Request&)> bad;
  };
  const std::string value = "      1.2500";
  const std::vector<Case> fixed = {
      {"checksum off by one", [&](const Request& r) { auto f = Frame(r.sequence, value); f.back()++; return f + "junk!!!"; }},
      {"sequence of an earlier request", [&](const Request& r) { return Frame(r.sequence - 1, value) + "junk!!!"; }},
      {"wrong start byte", [&](const Request& r) { auto f = Frame(r.sequence, value); f[0] = '{'; return f; }},
      {"length byte disagrees", [&](const Request& r) { auto f = Frame(r.sequence, value); f[2] = 11; return f + "junk"; }},
      {"short reply", [&](const Request& r) { return Frame(r.sequence, value).substr(0, 10); }},
      {"reply to another sequence wrapping", [&](const Request& r) { return Frame(r.sequence + 32, value); }},
  };
  for (const auto& c : fixed) {
    SCOPED_TRACE(c.what);
    Open();
    port->requests.clear();
    port->responder = InTurn({c.bad, [&](const Request& r) { return Frame(r.sequence, value); }});
    EXPECT_EQ(isp->ValueOf(1, "IRMS"), value);
    EXPECT_EQ(port->requests.size(), 2u);
    EXPECT_TRUE(port->input.empty());
  }
  const std::vector<Case> variable = {
      {"length byte 0", [](const Request& r) { return Bytes({0x5B, r.sequence, 0, 0}); }},
      {"checksum off by one", [](const Request& r) { auto f = Frame(r.sequence, "Over current"); f.back()--; return f; }},
      {"sequence of an earlier request", [](const Request& r) { return Frame(r.sequence - 1, "Over current"); }},
  };
  for (const auto& c : variable) {
    SCOPED_TRACE(c.what);
    Open();
    port->requests.clear();
    port->responder = InTurn({c.bad, [](const Request& r) { return Frame(r.sequence, "Over current"); }});
    EXPECT_EQ(isp->FaultText(1, 3), "Over current");
    EXPECT_EQ(port->requests.size(), 2u);
  }
  EXPECT_EQ(isp->ErrorCount, 0);
}

TEST_F(Transport, AVariableReplyCutShortFailsAfterTheNextByteWait) {
  Open();
  isp->Retries = 1;
  port->responder = [](const Request& r) { return Bytes({0x5B, r.sequence, 5}) + "ab"; };
  EXPECT_EQ(isp->FaultText(1, 3), "");
  // The missing third data byte times out after NextByteTimeout; the flush
  // then waits one FirstByteTimeout of silence.
  EXPECT_EQ(port->timedOutReads, (std::vector<int32_t>{300, 750}));
  EXPECT_EQ(isp->ErrorCount, 1);
}

TEST_F(Transport, ASilentNodeCostsAReadAndAFlushPerTry) {
  Open();
  isp->Retries = 3;
  int64_t t0 = clock.NowMs();
  EXPECT_EQ(isp->ValueOf(1, "X"), "0");
  EXPECT_EQ(clock.NowMs() - t0, 3 * (750 + 750));
}

TEST_F(Transport, AFlushEndsOnALineThatNeverGoesQuiet) {
  Open();
  port->chatterMs = 0;  // bytes as fast as they can be read
  isp->FlushPackets();
  EXPECT_GE(port->bytesRead, int64_t(ISP::kFlushByteLimit));
  EXPECT_LE(port->bytesRead, int64_t(ISP::kFlushByteLimit) + 4);

  port->bytesRead = 0;
  port->chatterMs = 100;  // slow, but never a whole first-byte wait apart
  int64_t t0 = clock.NowMs();
  isp->FlushPackets();
  EXPECT_LE(clock.NowMs() - t0, ISP::kFlushTimeOuts * 750 + 400);
  EXPECT_GE(clock.NowMs() - t0, ISP::kFlushTimeOuts * 750);

  // A babbling line still lets every operation end with its failure value.
  EXPECT_EQ(isp->Status(1), 0);
  EXPECT_EQ(isp->ErrorCount, 1);
}

TEST_F(Transport, FlushSwallowsARemainderShorterThanFour) {
  Open();
  port->Feed("abcdefg");
  isp->FlushPackets();
  EXPECT_TRUE(port->input.empty());
}

TEST_F(Transport, TextModeWritesACarriageReturnAndReadsUpToOne) {
  Open();
  isp->SendString("ver");
  EXPECT_EQ(port->written, "ver\r");

  port->Feed("OK\rrest");
  EXPECT_EQ(isp->GetString(), "OK");
  EXPECT_EQ(isp->GetString(), "rest");

  port->Feed("AB");
  int64_t t0 = clock.NowMs();
  EXPECT_EQ(isp->GetString(), "AB");
  EXPECT_EQ(clock.NowMs() - t0, 750);
  EXPECT_EQ(isp->GetString(), "");

  port->chatterMs = 1;  // never a carriage return
  EXPECT_EQ(isp->GetString().size(), ISP::kStringByteLimit);
}

TEST_F(Transport, TheLineCheckWarnsOfAModemOrANodeZeroDrive) {
  const std::string modem =
      "It appears a MODEM is out on the selected COM port, not a drive!\n\nSelect the correct COM port.";
  const std::string node0 =
      "It appears a drive at Node 0 or a MODEM is\nout on the selected COM port!\n\n"
      "Select a correct COM port or choose a \nnon-zero Node number.";
  struct Case {
    const char* what;
    std::string reply;
    bool result;
    std::string box;  // "" = none
  };
  const std::vector<Case> cases = {
      {"modem answering", "AT\r\r\nOK\r\n", false, modem},
      {"modem answering without echo", "\r\nOK\r\n", false, modem},
      {"node-0 drive echoing", "AT\rAT\rAT\r", false, node0},
      {"lower-case ok is no modem", "at\rok\r", true, ""},
      {"quiet line", "", true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    talvero::ScriptedPrompter prompter;
    if (!c.box.empty()) prompter.ExpectMessage(c.box, talvero::Answer::Ok, "Error!");
    Open();
    port->strings.clear();
    port->stringReply = c.reply;
    EXPECT_EQ(isp->CheckForNodalDrives(), c.result);
    EXPECT_EQ(port->strings, std::vector<std::string>(5, "AT\r"));
    EXPECT_EQ(port->stringMaxLen, 128);
    EXPECT_EQ(port->stringTimeout, 250);
    EXPECT_EQ(Sleeps(), std::vector<int64_t>{50});
    EXPECT_TRUE(prompter.Failures().empty()) << prompter.Failures().front();
    EXPECT_TRUE(prompter.AllShown());
  }
}

TEST_F(Transport, TheLineCheckOffLineSaysNothingAndPasses) {
  talvero::ScriptedPrompter prompter;
  port->stringReply = "OK";
  EXPECT_TRUE(isp->CheckForNodalDrives());
  EXPECT_TRUE(port->strings.empty());
  EXPECT_EQ(port->stringMaxLen, 0);
  EXPECT_TRUE(prompter.Failures().empty());
}

TEST_F(Transport, RequestsTooLongForOnePacketAreRefusedUnsentAndCounted) {
  struct Case {
    const char* what;
    std::function<bool(ISP&)> call;
  };
  const std::vector<Case> cases = {
      {"command", [](ISP& i) { return i.Exec(1, std::string(255, 'A')); }},
      {"drive name", [](ISP& i) { return i.SetDriveName(1, std::string(255, 'N')); }},
      {"user variable", [](ISP& i) { return i.AddUVName(1, std::string(300, 'V')); }},
      {"memory block", [](ISP& i) { return i.WriteNV(1, 0, std::string(255, '\0')); }},
      {"service text", [](ISP& i) { return i.Special(1, std::string(255, 'Z')); }},
      {"value read", [](ISP& i) { return i.ValueOf(1, std::string(255, 'X')) != "0"; }},
  };
  Open();
  port->responder = Always("\x06");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int16_t before = isp->ErrorCount;
    clock.ClearSleeps();
    EXPECT_FALSE(c.call(*isp));
    EXPECT_TRUE(port->written.empty());
    EXPECT_TRUE(Sleeps().empty());
    EXPECT_EQ(isp->ErrorCount, before + 1);
  }
  EXPECT_EQ(isp->NodeErrorCount[1], int16_t(cases.size()));
  // 255 data bytes still fit.
  EXPECT_TRUE(isp->SetDriveName(1, std::string(254, 'N')));
  EXPECT_EQ(port->requests.back().data.size(), 255u);
}

TEST_F(Transport, CountersSaturateAndTheTimeOutFlagFollowsTheFailingNode) {
  // Off-line with one try: each call is one immediate failure.
  isp->Retries = 1;
  for (int i = 0; i < 10; ++i) isp->Status(4);
  EXPECT_EQ(isp->NodeErrorCount[4], 10);
  EXPECT_FALSE(isp->AxisHadTimeOuts);
  isp->Status(4);
  EXPECT_TRUE(isp->AxisHadTimeOuts);
  isp->Status(5);
  EXPECT_FALSE(isp->AxisHadTimeOuts);
  EXPECT_EQ(isp->ErrorCount, 12);

  isp->ErrorCount = 32767;
  isp->NodeErrorCount[4] = ISP::kNodeErrorCap;
  isp->Status(4);
  EXPECT_EQ(isp->ErrorCount, 32767);
  EXPECT_EQ(isp->NodeErrorCount[4], ISP::kNodeErrorCap);
  EXPECT_TRUE(isp->AxisHadTimeOuts);
  // The tally of failed operations goes on past both caps.
  EXPECT_EQ(isp->FailedOperations, 13u);
}

TEST_F(Transport, AFailureWatchTellsAFailedReadFromARealEmptyAnswer) {
  Open();
  isp->Retries = 1;
  port->responder = Always(std::string("\0\0", 2));
  FailureWatch real(*isp);
  EXPECT_EQ(isp->Status(1), 0);
  EXPECT_FALSE(real.Failed());

  port->responder = nullptr;
  FailureWatch silent(*isp);
  EXPECT_EQ(isp->Status(1), 0);
  EXPECT_TRUE(silent.Failed());
  EXPECT_EQ(silent.Failures(), 1u);
  silent.Rearm();
  EXPECT_FALSE(silent.Failed());
}

TEST_F(Transport, ANodeOutsideTheLineIsNeverFramed) {
  Open();
  EXPECT_EQ(isp->Status(-3), 0);
  EXPECT_EQ(isp->Status(256), 0);
  EXPECT_TRUE(port->written.empty());
  EXPECT_EQ(isp->ErrorCount, 2);
}

TEST_F(Transport, ANamedProgramLineIsStoredAfterItIsWritten) {
  Open();
  port->responder = Always("\x06");
  EXPECT_TRUE(isp->SetPgmLine(1, "JOG", 3, "MOVE 10"));
  ASSERT_EQ(port->requests.size(), 2u);
  EXPECT_EQ(port->requests[0].data, Bytes({'e', 3}) + "MOVE 10");
  EXPECT_EQ(port->requests[1].data, "PsJOG");
  EXPECT_EQ(Sleeps(), (std::vector<int64_t>{20, 60}));

  // Written but not stored: the store's failure is the result, counted once.
  port->requests.clear();
  port->responder = InTurn({Always("\x06")});
  EXPECT_FALSE(isp->SetPgmLine(1, "JOG", 4, "MOVE 20"));
  EXPECT_EQ(port->requests.size(), 1u + 7u);
  EXPECT_EQ(isp->ErrorCount, 1);

  // Never acknowledged: no store is attempted.
  port->requests.clear();
  port->responder = nullptr;
  EXPECT_FALSE(isp->SetPgmLine(1, "JOG", 5, "MOVE 30"));
  EXPECT_EQ(port->requests.size(), 7u);
  for (const auto& r : port->requests) EXPECT_EQ(r.data[0], 'e');
  EXPECT_EQ(isp->ErrorCount, 2);
}

TEST_F(Transport, AMemoryWriteNeedsBothAcknowledgementsInOneTry) {
  Open();
  isp->Retries = 3;
  const std::string block(128, '\xA5');
  auto ack = Always("\x06");
  // Try 1: address acknowledged, data not. Try 2: address not. Try 3: both.
  port->responder = InTurn({ack, nullptr, nullptr, ack, ack});
  EXPECT_TRUE(isp->WriteNV(1, 4096, block));
  ASSERT_EQ(port->requests.size(), 5u);
  EXPECT_EQ(port->requests[0].data, "\x13" "4096");
  EXPECT_EQ(port->requests[1].data, "\x14" + block);
  EXPECT_EQ(port->requests[2].data, "\x13" "4096");
  EXPECT_EQ(port->requests[3].data, "\x13" "4096");
  EXPECT_EQ(port->requests[4].data, "\x14" + block);
  EXPECT_EQ(Sleeps(), (std::vector<int64_t>{20, 20}));
  EXPECT_EQ(isp->ErrorCount, 0);

  port->responder = nullptr;
  port->requests.clear();
  EXPECT_FALSE(isp->WriteNV(1, 0, block));
  EXPECT_EQ(port->requests.size(), 3u);
  EXPECT_EQ(isp->ErrorCount, 1);
}

TEST_F(Transport, ProgramSettingsAreWrittenThenStored) {
  Open();
  port->responder = Always("\x06");
  isp->UpdateSettings(1, "", "2.5", 3);
  ASSERT_EQ(port->requests.size(), 3u);
  EXPECT_EQ(port->requests[0].data, ":!TR=2.5");
  EXPECT_EQ(port->requests[1].data, ":!UU=3");
  EXPECT_EQ(port->requests[2].data, "PS$$SAVE$$");
  EXPECT_EQ(Sleeps(), (std::vector<int64_t>{20, 5, 20, 5, 60}));

  port->requests.clear();
  isp->UpdateSettings(1, "jog", "0.5e1", 6);
  ASSERT_EQ(port->requests.size(), 3u);
  EXPECT_EQ(port->requests[0].data, ":!TTR=0.5E1");
  EXPECT_EQ(port->requests[1].data, ":!TUU=6");
  EXPECT_EQ(port->requests[2].data, "Psjog");
}

TEST_F(Transport, ProgramSettingsAreReadAsNumbersWithTheUnitsInRange) {
  struct Case {
    std::string name, ratio, units;
    float wantRatio;
    int wantUnits;
  };
  const std::vector<Case> cases = {
      {"", "2.5", "2.5", 2.5f, 2},  // a half goes to the even neighbour
      {"", "-1.25E+1", "3.5", -12.5f, 4},
      {"JOG", "4", "6.4", 4.0f, 6},
      {"JOG", "4", "7", 4.0f, 0},  // not below the unit count
      {"", "4", "-1", 4.0f, 0},
      {"", "garbage", "x", 0.0f, 0},
  };
  // Values come back as 12 characters, right-aligned.
  auto twelve = [](const std::string& v) { return std::string(12 - v.size(), ' ') + v; };
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + c.ratio + c.units);
    port->requests.clear();
    port->responder = InTurn({Always(twelve(c.ratio)), Always(twelve(c.units))});
    float ratio = 99;
    int16_t units = 99;
    isp->GetPgmProp(1, c.name, 7, ratio, units);
    EXPECT_FLOAT_EQ(ratio, c.wantRatio);
    EXPECT_EQ(units, c.wantUnits);
    ASSERT_EQ(port->requests.size(), 2u);
    EXPECT_EQ(port->requests[0].data, c.name.empty() ? "=TR" : "=TTR");
    EXPECT_EQ(port->requests[1].data, c.name.empty() ? "=UU" : "=TUU");
  }
  port->responder = nullptr;
  float ratio = 99;
  int16_t units = 99;
  isp->GetPgmProp(1, "", 7, ratio, units);
  EXPECT_EQ(ratio, 0.0f);
  EXPECT_EQ(units, 0);
}

TEST_F(Transport, ASpecialCaptureReadsTwoHundredBlocksForOneRequest) {
  Open();
  std::string all;
  for (int i = 0; i < 200; ++i) all += std::string(16, char(i));
  port->responder = [&](const Request& r) {
    std::string out;
    for (int i = 0; i < 200; ++i) out += Frame(r.sequence, all.substr(size_t(i) * 16, 16));
    return out;
  };
  EXPECT_EQ(isp->SpecialCap(1), all);
  ASSERT_EQ(port->requests.size(), 1u);
  EXPECT_EQ(port->requests[0].data, "ZC");
  EXPECT_EQ(Sleeps(), std::vector<int64_t>{5000});
  EXPECT_EQ(isp->ErrorCount, 0);

  // The 51st block never comes: the first 50 are kept, one failure counted.
  port->responder = [&](const Request& r) {
    std::string out;
    for (int i = 0; i < 50; ++i) out += Frame(r.sequence, all.substr(size_t(i) * 16, 16));
    return out;
  };
  EXPECT_EQ(isp->SpecialCap(1), all.substr(0, 800));
  EXPECT_EQ(isp->ErrorCount, 1);
}

TEST_F(Transport, TheSpecialFunctionDIsSentOnceAndNeverAnswered) {
  Open();
  port->responder = Always("\x06");
  EXPECT_FALSE(isp->Special(1, "D"));
  ASSERT_EQ(port->requests.size(), 1u);
  EXPECT_EQ(port->requests[0].data, "ZD");
  EXPECT_EQ(Sleeps(), std::vector<int64_t>{10});
  EXPECT_EQ(port->bytesRead, 0);
  EXPECT_EQ(isp->ErrorCount, 0);
}

}  // namespace
}  // namespace linktest
