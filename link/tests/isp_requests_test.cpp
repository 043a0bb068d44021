// Every single-request drive operation: the exact request bytes, the pause, the
// tries, what it makes of a reply, its failure value and whether it counts.
#include <functional>
#include <string>
#include <vector>

#include "link/tests/link_fixture.h"

namespace linktest {
namespace {

using B = std::string;
std::string Repeat(char c, size_t n) { return std::string(n, c); }

struct Op {
  const char* what;
  std::function<std::string(ISP&)> call;  // the result rendered as text
  std::string request;                    // data of the request packet
  int pause;                              // ms after each request
  std::string reply;                      // data the drive answers
  std::string result;                     // on that answer
  std::string failure;                    // after the last try
  int tries;                              // 0 = Retries, < 0 = Retries - tries ... see Tries()
  bool anyLength = false;                 // the reply may be of any length, else exactly reply's
  bool counts = true;
};

// Tries: kR = Retries, kR5 = Retries + 5, or a fixed count.
constexpr int kR = 0, kR5 = -5;

std::vector<Op> Ops() {
  return {
      {"Exec", [](ISP& i) { return Show(i.Exec(1, "  jog 10 ")); }, ":JOG 10", 20, "\x06", "True", "False", kR},
      {"ChangeValue", [](ISP& i) { i.ChangeValue(1, "kp", "1.5e3"); return std::string(); }, ":!KP=1.5E3", 20, "\x06", "", "", kR},
      {"ValueOf", [](ISP& i) { return i.ValueOf(1, "IRMS"); }, "=IRMS", 0, "    12.50000", "    12.50000", "0", kR},
      {"NewValueOf", [](ISP& i) { return Show(i.NewValueOf(1, "TPOS")); }, "+TPOS", 30, Bytes({0x3F, 0xC0, 0, 0}), "1.5", "0", kR},
      {"MinMax", [](ISP& i) { return Show(i.MinMax(1, 2, "PPG")); }, B("m\x02PPG"), 0, "  -3.25E+2xx", "-325", "0", kR},
      {"Status", [](ISP& i) { return Show((long long)i.Status(1)); }, "Q", 0, Bytes({0x09, 0x40}), "16393", "0", kR},
      {"Status2", [](ISP& i) { i.Status2Bits = 0xAAAA; auto w = i.Status2(1); return Show((long long)w) + "/" + Show((long long)i.Status2Bits); },
       "q", 0, Bytes({0x05, 0x01}), "261/261", "0/0", kR},
      {"FaultText", [](ISP& i) { return i.FaultText(1, 7); }, B("FT\x07"), 0, "Over current", "Over current", "", kR, true},
      {"GetDiag", [](ISP& i) { return i.GetDiag(1, 3); }, B("\x11\x03"), 0, "3,12:00,F7", "3,12:00,F7", "", kR, true},
      {"Reset", [](ISP& i) { return Show(i.Reset(1)); }, "\x17", 20, Bytes({0}), "True", "False", kR},
      {"EStop", [](ISP& i) { return Show(i.EStop(1)); }, "\x1B", 5, "\x15", "True", "False", kR},
      {"EStop one try", [](ISP& i) { return Show(i.EStop(1, 1)); }, "\x1B", 5, "\x15", "True", "False", 1},
      {"EStop first try", [](ISP& i) { return Show(i.EStopFirstTry(1)); }, "\x1B", 5, "\x15", "True", "False", 1,
       false, false},
      {"Cal", [](ISP& i) { return Show(i.Cal(1)); }, "\x1C", 20, "\x06", "True", "False", kR},
      {"Enabled", [](ISP& i) { return Show(i.Enabled(1)); }, "Q", 0, Bytes({0x01, 0x00}), "True", "False", kR},
      {"Faulted", [](ISP& i) { return Show(i.Faulted(1)); }, "Q", 0, Bytes({0x02, 0x00}), "True", "False", kR},
      {"Running", [](ISP& i) { return Show(i.Running(1)); }, "Q", 0, Bytes({0x08, 0x00}), "True", "False", kR},
      {"Paused", [](ISP& i) { return Show(i.Paused(1)); }, "Q", 0, Bytes({0x80, 0x00}), "True", "False", kR},
      {"FinishedCap", [](ISP& i) { return Show(i.FinishedCap(1)); }, "Q", 0, Bytes({0x00, 0x01}), "True", "False", kR},
      {"AddUVName", [](ISP& i) { return Show(i.AddUVName(1, "SPEED")); }, "VSPEED", 0, "\x06", "True", "False", kR},
      {"DelUVName", [](ISP& i) { return Show(i.DelUVName(1, "*")); }, "v*", 0, "\x06", "True", "False", kR},
      {"GetUVName", [](ISP& i) { return i.GetUVName(1, 47); }, B("}\x2F"), 0, "SPEED", "SPEED", "", kR, true},
      {"WhoAmI", [](ISP& i) { return i.WhoAmI(1); }, "\x01", 50, "RHO 1.2", "RHO 1.2", "", 3, true, false},
      {"Info", [](ISP& i) { return i.Info(1, 4, "SPEED"); }, B("I\x04SPEED"), 10, "N", "N", "", 5, true},
      {"GetSerial", [](ISP& i) { return i.GetSerial(1); }, B("I\x05"), 10, "SN-0042", "SN-0042", "", kR, true},
      {"SetSerial", [](ISP& i) { return Show(i.SetSerial(1, "SN-0042")); }, "\x1FSN-0042", 20, "\x06", "True", "False", kR},
      {"GetDriveName", [](ISP& i) { return i.GetDriveName(1); }, "\x1E", 10, "X AXIS", "X AXIS", "", kR, true},
      {"SetDriveName", [](ISP& i) { return Show(i.SetDriveName(1, "X AXIS")); }, "\x1DX AXIS", 20, "\x06", "True", "False", kR},
      {"SetTime", [](ISP& i) { return Show(i.SetTime(1)); }, Bytes({0x0F, 0x26, 0x04, 0x12, 0x09, 0x14, 0x05}), 10, "\x06", "True", "False", kR},
      {"SetConfig", [](ISP& i) { return Show(i.SetConfig(1, 2, "1F")); }, B("\x10\x02" "1F"), 0, "\x06", "True", "False", kR},
      {"BigReset", [](ISP& i) { return Show(i.BigReset(1, "ALL")); }, "RALL", 10, "\x06", "True", "False", kR},
      {"PgmRun", [](ISP& i) { return Show(i.PgmRun(1)); }, "\x08", 0, "\x06", "True", "False", kR},
      {"PgmStop", [](ISP& i) { return Show(i.PgmStop(1)); }, "\x09", 0, "\x06", "True", "False", kR5},
      {"PgmPause True", [](ISP& i) { return Show(i.PgmPause(1, -1)); }, "\x03", 0, "\x06", "True", "False", kR},
      {"PgmPause False", [](ISP& i) { return Show(i.PgmPause(1, 0)); }, "\x04", 0, "\x06", "True", "False", kR},
      {"Pgm1Step", [](ISP& i) { return Show(i.Pgm1Step(1)); }, "\x0A", 0, "\x06", "True", "False", kR},
      {"WhatStep", [](ISP& i) { return Show((long long)i.WhatStep(1)); }, "\x02", 0, "\xFE", "254", "-1", kR},
      {"GetPgmLine active", [](ISP& i) { return i.GetPgmLine(1, 7, ""); }, B("L\x07"), 0, "MOVE 10", "MOVE 10", "", kR5, true},
      {"GetPgmLine library", [](ISP& i) { return i.GetPgmLine(1, 7, "JOG"); }, B("l\x07JOG"), 0, B(" \x09"), B(" \x09"), "", kR5, true},
      {"SetPgmLine active", [](ISP& i) { return Show(i.SetPgmLine(1, "", 3, "MOVE 10")); }, B("E\x03MOVE 10"), 20, "\x06", "True", "False", kR5},
      {"SetPgmLine buffer only", [](ISP& i) { return Show(i.SetPgmLine(1, " ", 3, "MOVE 10")); }, B("e\x03MOVE 10"), 20, "\x06", "True", "False", kR5},
      {"GetPgmName", [](ISP& i) { return i.GetPgmName(1, 127); }, B("PD\x7F"), 30, "~~~~~~~~", "~~~~~~~~", "", kR},
      {"DeletePgm", [](ISP& i) { return Show(i.DeletePgm(1, "JOG")); }, "PXJOG", 30, "\x06", "True", "False", kR},
      {"LoadEB", [](ISP& i) { return Show(i.LoadEB(1, "JOG")); }, "PLJOG", 30, "\x06", "True", "False", kR},
      {"LoadTEB", [](ISP& i) { return Show(i.LoadTEB(1, "JOG")); }, "PlJOG", 30, "\x06", "True", "False", kR},
      {"SaveEB", [](ISP& i) { return Show(i.SaveEB(1, "$$SAVE$$")); }, "PS$$SAVE$$", 60, "\x06", "True", "False", kR5},
      {"SaveTEB", [](ISP& i) { return Show(i.SaveTEB(1, "JOG")); }, "PsJOG", 60, "\x06", "True", "False", kR5},
      {"ClearEB", [](ISP& i) { return Show(i.ClearEB(1)); }, "PC", 30, "\x06", "True", "False", kR},
      {"ClearTEB", [](ISP& i) { return Show(i.ClearTEB(1)); }, "Pc", 30, "\x06", "True", "False", kR},
      {"ForceSave", [](ISP& i) { return Show(i.ForceSave(1)); }, "\x16", 20, "\x06", "True", "False", kR},
      {"GetThread", [](ISP& i) { return i.GetThread(1, 4); }, B("T\x04"), 10, "  IF IN1 THEN OUT2 ", "IF IN1 THEN OUT2", "", kR, true},
      {"SetThread", [](ISP& i) { return Show(i.SetThread(1, 4, "if in1 then out2")); }, ":T4,IF IN1 THEN OUT2", 20, "\x06", "True", "False", kR},
      {"GetThreadStat", [](ISP& i) { return Show((long long)i.GetThreadStat(1)); }, "\x15", 0, Bytes({1, 0, 0, 2, 0, 0, 0, 0, 0, 1}), "521", "0", kR},
      {"GoCap trigger", [](ISP& i) { return Show(i.GoCap(1, 9, 2, 3, -1)); }, Bytes({0x18, 9, 2, 3}), 0, "\x06", "True", "False", kR},
      {"GoCap free", [](ISP& i) { return Show(i.GoCap(1, 9, 2, 3, 0)); }, Bytes({0x0B, 9, 2, 3}), 0, "\x06", "True", "False", kR},
      {"StopCap", [](ISP& i) { return Show(i.StopCap(1)); }, "\x0E", 0, "\x06", "True", "False", kR},
      {"Cap", [](ISP& i) { return i.Cap(1, 1); }, B("\x0D\x01"), 100, Repeat('\x80', 250), Repeat('\x80', 250), "", kR},
      {"Yscale",
       [](ISP& i) {
         int16_t type = 42;
         float scale = 7, offset = 7;
         bool ok = i.Yscale(1, 1, type, scale, offset);
         return Show(ok) + "/" + Show((long long)type) + "/" + Show(scale) + "/" + Show(offset);
       },
       B("\x0C\x01"), 50, "\x03" "2.5,-10", "True/2/2.5/-10", "False/42/1/0", kR, true},
      {"ReadNV", [](ISP& i) { return i.ReadNV(1, 1024); }, "\x12" "1024", 20, Repeat('\x5B', 128), Repeat('\x5B', 128), "", kR},
      {"Flash", [](ISP& i) { return Show(i.Flash(1, "P0")); }, "FP0", 40, "\x06", "True", "False", 1},
      {"Special", [](ISP& i) { return Show(i.Special(1, "E")); }, "ZE", 10, "OK", "True", "False", 5, true},
  };
}

class Requests : public LinkTest {
 protected:
  int TriesOf(const Op& op) const {
    if (op.tries == kR) return isp->Retries;
    if (op.tries == kR5) return isp->Retries + 5;
    return op.tries;
  }
};

TEST_F(Requests, EachOperationSendsItsExactRequestAndReadsItsReply) {
  for (const Op& op : Ops()) {
    SCOPED_TRACE(op.what);
    Open();
    port->requests.clear();
    port->responder = Always(op.reply);
    EXPECT_EQ(op.call(*isp), op.result);
    ASSERT_EQ(port->requests.size(), 1u);
    EXPECT_EQ(port->requests[0].data, op.request);
    EXPECT_EQ(port->requests[0].node, 1);
    EXPECT_EQ(port->requests[0].sequence, 33);
    EXPECT_TRUE(port->requests[0].checksumOk);
    EXPECT_EQ(Sleeps(), op.pause ? std::vector<int64_t>{op.pause} : std::vector<int64_t>{});
    EXPECT_EQ(isp->ErrorCount, 0);
    EXPECT_TRUE(port->input.empty());
  }
}

// A reply one byte longer than the drive's fixed answer is refused and tried
// again; a reply of any length is taken at the first try.
TEST_F(Requests, AFixedLengthReplyMustHaveExactlyItsLength) {
  Open();
  for (const Op& op : Ops()) {
    SCOPED_TRACE(op.what);
    port->requests.clear();
    port->responder = Always(op.reply + "!");
    op.call(*isp);
    EXPECT_EQ(port->requests.size(), size_t(op.anyLength ? 1 : TriesOf(op)));
  }
}

TEST_F(Requests, ASilentNodeCostsEveryTryThenGivesTheFailureValue) {
  Open();
  for (const Op& op : Ops()) {
    SCOPED_TRACE(op.what);
    port->requests.clear();
    clock.ClearSleeps();
    int16_t before = isp->ErrorCount, nodeBefore = isp->NodeErrorCount[1];
    EXPECT_EQ(op.call(*isp), op.failure);
    int tries = TriesOf(op);
    ASSERT_EQ(port->requests.size(), size_t(tries));
    for (const auto& r : port->requests) EXPECT_EQ(r.data, op.request);
    EXPECT_EQ(Sleeps(), std::vector<int64_t>(op.pause ? tries : 0, op.pause));
    EXPECT_EQ(isp->ErrorCount, before + (op.counts ? 1 : 0));
    EXPECT_EQ(isp->NodeErrorCount[1], nodeBefore + (op.counts ? 1 : 0));
  }
}

TEST_F(Requests, OffLineEveryOperationFailsWithoutTouchingTheLineButKeepsItsPauses) {
  for (const Op& op : Ops()) {
    SCOPED_TRACE(op.what);
    clock.ClearSleeps();
    int16_t before = isp->ErrorCount;
    EXPECT_EQ(op.call(*isp), op.failure);
    int tries = TriesOf(op);
    EXPECT_EQ(Sleeps(), std::vector<int64_t>(op.pause ? tries : 0, op.pause));
    EXPECT_EQ(isp->ErrorCount, before + (op.counts ? 1 : 0));
  }
  EXPECT_TRUE(port->written.empty());
  EXPECT_EQ(port->bytesRead + int64_t(port->timedOutReads.size()), 0);
}

TEST_F(Requests, ATryCountOfZeroSendsNothingAndFails) {
  Open();
  isp->Retries = 0;
  port->responder = Always("\x06");
  EXPECT_FALSE(isp->PgmRun(1));
  EXPECT_EQ(isp->ValueOf(1, "X"), "0");
  EXPECT_TRUE(port->requests.empty());
  EXPECT_EQ(isp->ErrorCount, 2);
}

// Replies that look odd but are ordinary answers, not failures.
TEST_F(Requests, EmptyRecordsFreeSlotsAndPlainScalesAreAnswersNotFailures) {
  struct Case {
    const char* what;
    std::string reply;
    std::function<std::string(ISP&)> call;
    std::string result;
  };
  const std::vector<Case> cases = {
      {"empty diagnostic record", Bytes({0}), [](ISP& i) { return i.GetDiag(1, 15); }, ""},
      {"free user-variable slot", " ", [](ISP& i) { return i.GetUVName(1, 0); }, ""},
      {"user variable named with blanks kept", " A ", [](ISP& i) { return i.GetUVName(1, 0); }, " A "},
      {"status with the top bit", Bytes({0x00, 0x80}), [](ISP& i) { return Show((long long)i.Status(1)); }, "32768"},
      {"scale without offset",
       "\x03" "2.5",
       [](ISP& i) {
         int16_t type = 42;
         float scale = 7, offset = 7;
         bool ok = i.Yscale(1, 0, type, scale, offset);
         return Show(ok) + "/" + Show((long long)type) + "/" + Show(scale) + "/" + Show(offset);
       },
       "False/2/1/0"},
      {"min/max without a number", "  n/a       ", [](ISP& i) { return Show(i.MinMax(1, 0, "X")); }, "0"},
      {"program line skip reply", " ", [](ISP& i) { return i.GetPgmLine(1, 200, ""); }, " "},
  };
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    port->requests.clear();
    port->responder = Always(c.reply);
    EXPECT_EQ(c.call(*isp), c.result);
    EXPECT_EQ(port->requests.size(), 1u);
  }
  EXPECT_EQ(isp->ErrorCount, 0);
}

TEST(StatusBits, AccessorsReadTheirOwnBitOnly) {
  struct Case {
    bool (*test)(uint16_t);
    int bit;
  };
  const Case cases[] = {{ISP::IsEnabled, 0}, {ISP::IsFaulted, 1}, {ISP::IsRunning, 3},
                        {ISP::IsPaused, 7},  {ISP::RunFault, 13}, {ISP::IsHWEnabled, 14}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bit);
    EXPECT_TRUE(c.test(uint16_t(1u << c.bit)));
    EXPECT_FALSE(c.test(uint16_t(~(1u << c.bit))));
  }
}

TEST(Bcd, TensGoInTheHighNibble) {
  EXPECT_EQ(ISP::BCD(59), 0x59);
  EXPECT_EQ(ISP::BCD(7), 0x07);
  EXPECT_EQ(ISP::BCD(0), 0x00);
  EXPECT_EQ(ISP::BCD(99), 0x99);
}

}  // namespace
}  // namespace linktest
