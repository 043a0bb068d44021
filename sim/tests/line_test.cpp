// The line as a whole: framing, terminal text mode, modem and node-0 answers,
// the expression language and the drive list of the program.
#include <gtest/gtest.h>

#include "sim/expression.h"
#include "sim/line_description.h"
#include "sim/tests/raw_packets.h"

using namespace talvero::sim;
using simtest::Bytes;
using simtest::Joined;
using simtest::Req;

namespace {

TEST(Framing, ReplyEchoesTheSequenceAndSumsItsData) {
  SimLine line;
  line.AddDrive(1, Family::RHO);
  // The request data "Q" to node 1 with sequence 33.
  EXPECT_EQ(Req(1, 33, "Q"), Bytes({0x5B, 0x01, 0x21, 0x01, 0x51, 0x51}));
  EXPECT_EQ(Joined(line.Feed(Req(1, 33, "Q"))), Bytes({0x5B, 0x21, 0x02, 0x00, 0x40, 0x40}));
  // Noise before a frame is skipped; data may hold "[" and CR.
  std::string data = Bytes({0x13}) + "0";
  EXPECT_EQ(Joined(line.Feed("AT\rxx" + Req(1, 64, data))), Bytes({0x5B, 64, 1, 6, 6}));
  std::string block = std::string(64, '[') + std::string(64, '\r');
  EXPECT_EQ(Joined(line.Feed(Req(1, 34, "\x14" + block))), Bytes({0x5B, 34, 1, 6, 6}));
  EXPECT_EQ(line.Drive(1).Memory()[0], '[');
  EXPECT_EQ(line.Drive(1).Memory()[127], '\r');
}

TEST(Framing, BadChecksumsAndAbsentNodesGetNoAnswerButAreLogged) {
  SimLine line;
  line.AddDrive(1, Family::RHO);
  std::string bad = Req(1, 35, "Q");
  bad.back() = char(bad.back() + 1);
  EXPECT_TRUE(line.Feed(bad).empty());
  EXPECT_TRUE(line.Feed(Req(9, 36, "\x01")).empty());
  auto log = line.Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].node, 9);
  EXPECT_FALSE(log[1].answered);
  // A frame cut off mid-way is dropped when the line goes quiet.
  EXPECT_TRUE(line.Feed(Req(1, 37, "=KP").substr(0, 4)).empty());
  EXPECT_TRUE(line.InFrame());
  line.ResetFraming();
  EXPECT_FALSE(Joined(line.Feed(Req(1, 38, "Q"))).empty());
  line.ClearLog();
  EXPECT_TRUE(line.Log().empty());
  // A name too long for one reply is cut to what a length byte can say.
  line.Drive(1).SetName(std::string(300, 'N'));
  auto replies = simtest::Replies(Joined(line.Feed(Req(1, 39, "\x1E"))));
  ASSERT_TRUE(replies);
  ASSERT_EQ(replies->size(), 1u);
  EXPECT_EQ((*replies)[0].data, std::string(255, 'N'));
}

TEST(TextMode, LinesForTheNodeAnswerWithCarriageReturns) {
  SimLine line;
  line.AddDrive(1, Family::RHO);
  line.AddDrive(12, Family::TAU);
  struct Case {
    std::string sent, reply;
  } cases[] = {
      {"[01]KP\r", "10\r"},
      {"[01]kp*3\r", "30\r"},
      {"[12]!KP=7\r", "OK\r"},
      {"[12]KP\r", "7\r"},
      {"[12]KP=5000\r", "ERROR\r"},
      {"[01]WHO\r", "RHO KV110c\rAXIS1\r"},
      {"[01]FOO\r", "?\r"},
      {"[05]KP\r", ""},   // nobody there
      {"[1]KP\r", "10\r"},
      {"[001]KP\r", ""},  // not a node text
  };
  for (const Case& c : cases) EXPECT_EQ(Joined(line.Feed(c.sent)), c.reply) << c.sent;
  line.Drive(1).SetTextLineEnd("\r\n");
  EXPECT_EQ(Joined(line.Feed("[01]WHO\r")), "RHO KV110c\r\nAXIS1\r\n");
  auto log = line.Log();
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(log[0].text);
  EXPECT_EQ(log[0].data, "KP");
}

TEST(LineCheck, ModemAndNodeZeroAnswers) {
  SimLine line;
  line.AddDrive(1, Family::RHO);
  const std::string at5 = "AT\rAT\rAT\rAT\rAT\r";
  EXPECT_EQ(Joined(line.Feed(at5)), "") << "drives keep quiet on text they do not know";
  line.SetMode(LineMode::Modem);
  std::string modem = Joined(line.Feed(at5));
  EXPECT_NE(modem.find("AT"), std::string::npos);
  EXPECT_NE(modem.find("OK"), std::string::npos);
  line.SetMode(LineMode::NodeZero);
  std::string echo = Joined(line.Feed(at5));
  EXPECT_EQ(echo, at5);
  EXPECT_EQ(Joined(line.Feed(Req(1, 33, "Q"))), Req(1, 33, "Q")) << "no packet mode either";
}

TEST(Expression, DriveLanguage) {
  NameLookup names = [](const std::string& n) -> std::optional<double> {
    if (n == "A") return 6;
    if (n == "B") return 3;
    return std::nullopt;
  };
  CallLookup calls = [](const std::string& f, double x) -> std::optional<double> {
    if (f == "TBL") return x * 10;
    return std::nullopt;
  };
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"1+2*3", 7},       {"(1+2)*3", 9},    {"a/b", 2},         {"2^3^2", 64},
      {"-3+1", -2},       {"2*(-3)", -6},    {"2^-1", 0.5},      {"10-4-3", 3},
      {"a=6", 1},         {"a<b", 0},        {"a!=b", 1},        {"a>=6", 1},
      {"6&3", 2},         {"4|1", 5},        {"~0", -1},         {"!0", 1},
      {"sqrt(16)", 4},    {"abs(-2.5)", 2.5}, {"int(-1.5)", -2}, {"tbl(2)", 20},
      {"1.5E3", 1500},    {"2.5e-1", 0.25},  {"", std::nullopt}, {"1/0", std::nullopt},
      {"c", std::nullopt}, {"foo(1)", std::nullopt}, {"(1", std::nullopt},
      {"1 2", std::nullopt}, {"sqrt(-1)", std::nullopt}, {"$", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(Evaluate(c.text, names, calls), c.value) << c.text;
}

TEST(LineDescription, DrivesByNodeAndFamily) {
  SimLine line;
  std::string err;
  ASSERT_TRUE(AddDrives(line, "1:RHO,4:PHI/KZ,31:PSI", &err)) << err;
  EXPECT_EQ(line.Nodes(), (std::vector<int>{1, 4, 31}));
  EXPECT_EQ(line.Drive(4).Identity().substr(0, 6), "!PHIKZ");
  EXPECT_EQ(line.Drive(1).Identity().substr(0, 4), "!RHO");
  SimLine phi;
  ASSERT_TRUE(AddDrives(phi, "2:PHI", &err)) << err;
  EXPECT_EQ(phi.Drive(2).Identity().substr(0, 6), "!PHIKV");
  for (const char* bad : {"", "0:RHO", "32:RHO", "1:XYZ", "1:RHO,1:TAU", "RHO", "1:PHI/Z"}) {
    SimLine l;
    EXPECT_FALSE(AddDrives(l, bad, &err)) << bad;
    EXPECT_FALSE(err.empty());
  }
}

}  // namespace
