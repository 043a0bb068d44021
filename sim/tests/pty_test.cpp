// The server on a real pseudo-terminal, and the talvero-drivesim program.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "sim/pty_server.h"
#include "sim/tests/raw_packets.h"
#include "sim/tests/raw_port.h"

using namespace talvero::sim;
using simtest::Bytes;
using simtest::RawPort;
using simtest::Req;

namespace {

class Pty : public ::testing::Test {
 protected:
  void SetUp() override {
    line.AddDrive(1, Family::RHO);
    line.AddDrive(4, Family::TAU);
    line.AddDrive(31, Family::PSI);
  }
  SimLine line;
};

TEST_F(Pty, SearchFindsTheDrivesAndTheLogShowsWhatWasAsked) {
  PtyServer server(line);
  ASSERT_TRUE(server.Start()) << server.Error();
  ASSERT_FALSE(server.SlavePath().empty());
  RawPort port(server.SlavePath());
  ASSERT_TRUE(port.ok());
  std::vector<int> found;
  int seq = 33;
  for (int node = 1; node <= 31; ++node) {
    port.Write(Req(node, seq, "\x01"));
    std::string r = port.ReadReply(node == 1 || node == 4 || node == 31 ? 2000 : 60);
    if (!r.empty() && r[0] == '!') found.push_back(node);
    seq = seq == 64 ? 32 : seq + 1;
  }
  EXPECT_EQ(found, (std::vector<int>{1, 4, 31}));
  // State set through the API shows on the wire, and writes land in the drive.
  line.With(4, [](SimDrive& d) { d.SetValue("VEL", "1500"); });
  port.Write(Req(4, 40, "=VEL"));
  EXPECT_EQ(port.ReadReply(), simtest::Padded("1500"));
  port.Write(Req(31, 41, ":!KP=42"));
  EXPECT_EQ(port.ReadReply(), "\x06");
  EXPECT_EQ(line.With(31, [](SimDrive& d) { return *d.Value("KP"); }), "42");
  server.Stop();
  EXPECT_FALSE(server.Running());
  auto log = line.Log();
  ASSERT_EQ(log.size(), 33u);
  EXPECT_EQ(log[1].node, 2);
  EXPECT_FALSE(log[1].answered);
  EXPECT_EQ(log.back().data, ":!KP=42");
}

TEST_F(Pty, ClientsMayComeAndGoAndTheServerRestarts) {
  PtyServer server(line);
  ASSERT_TRUE(server.Start()) << server.Error();
  for (int round = 0; round < 3; ++round) {
    RawPort port(server.SlavePath());
    ASSERT_TRUE(port.ok());
    port.Write(Req(1, 33 + round, "Q"));
    EXPECT_EQ(port.ReadReply(2000), Bytes({0x00, 0x40})) << round;
  }
  server.Stop();
  server.Stop();  // twice is harmless
  ASSERT_TRUE(server.Start()) << server.Error();
  RawPort port(server.SlavePath());
  port.Write(Req(1, 50, "Q"));
  EXPECT_EQ(port.ReadReply(2000), Bytes({0x00, 0x40}));
}

TEST_F(Pty, DelayAndACutOffFrameOnTheWire) {
  PtyServer server(line);
  ASSERT_TRUE(server.Start({.frameGapMs = 30})) << server.Error();
  RawPort port(server.SlavePath());
  line.AddFault(FaultRule::Delayed(1, 300, "Q", 1));
  port.Write(Req(1, 33, "Q"));
  EXPECT_EQ(port.Read(1, 100), "") << "nothing before the delay";
  EXPECT_EQ(port.ReadReply(2000), Bytes({0x00, 0x40}));
  // Half a request, a pause, then a whole one: only the whole one is answered.
  port.Write(Req(1, 34, "=KP").substr(0, 5));
  EXPECT_EQ(port.Read(1, 150), "");
  port.Write(Req(1, 35, "Q"));
  std::string raw = port.Read(6, 2000);
  EXPECT_EQ(raw, Bytes({0x5B, 35, 2, 0x00, 0x40, 0x40}));
}

TEST_F(Pty, SpecialCaptureWaitsInTheLineUntilTheHostReads) {
  std::string data;
  for (int i = 0; i < 3200; ++i) data += char(i % 251);
  line.Drive(31).SetSpecialCapture(data);
  line.Drive(31).SetSpecialCapturePauseMs(100);
  PtyServer server(line);
  ASSERT_TRUE(server.Start()) << server.Error();
  RawPort port(server.SlavePath());
  port.Write(Req(31, 44, "ZC"));
  usleep(400 * 1000);  // the host's own pause before it reads
  std::string raw = port.Read(200 * 20, 1000);
  auto replies = simtest::Replies(raw);
  ASSERT_TRUE(replies) << raw.size();
  ASSERT_EQ(replies->size(), 200u);
  std::string joined;
  for (const auto& r : *replies) {
    EXPECT_EQ(r.seq, 44);
    joined += r.data;
  }
  EXPECT_EQ(joined, data);
}

TEST_F(Pty, PacingHoldsBytesToTheLineRate) {
  EXPECT_NEAR(PtyServer::ByteTimeUs(19200), 520.833, 0.001);
  PtyServer server(line);
  PtyOptions o;
  o.paced = true;
  ASSERT_TRUE(server.Start(o)) << server.Error();
  RawPort port(server.SlavePath());
  const int blocks = 8;
  auto t0 = std::chrono::steady_clock::now();
  size_t wire = 0;
  for (int i = 0; i < blocks; ++i) {
    std::string req = Req(1, 33 + i, "\x12" + std::to_string(i * 128));
    port.Write(req);
    std::string r = port.ReadReply(2000);
    ASSERT_EQ(r.size(), 128u);
    wire += req.size() + r.size() + 4;
  }
  double elapsed = simtest::SecondsSince(t0);
  double floor = wire * 10.0 / 19200.0;
  double rate = wire / elapsed;
  std::printf("paced: %zu bytes in %.3f s, %.0f bytes/s (line rate 1920)\n", wire, elapsed, rate);
  // Pacing can only make it slower than the wire; the upper bound is loose.
  EXPECT_GE(elapsed, 0.95 * floor);
  EXPECT_LT(elapsed, 20 * floor);
  server.Stop();  // the count is final once the thread is gone
  EXPECT_EQ(server.BytesOut(), uint64_t(blocks * 132));
}

std::string ProgramPath() {
  const char* bin = std::getenv("TALVERO_BIN");
  return std::string(bin ? bin : "bin") + "/talvero-drivesim";
}

struct Child {
  pid_t pid = -1;
  FILE* out = nullptr;
};

Child Spawn(const std::vector<std::string>& args) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    std::string prog = ProgramPath();
    argv.push_back(prog.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(prog.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  return Child{pid, fdopen(fds[0], "r")};
}

int Finish(Child& c, int sig) {
  if (sig) kill(c.pid, sig);
  int status = 0;
  waitpid(c.pid, &status, 0);
  if (c.out) fclose(c.out);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FirstLine(Child& c) {
  char buf[256] = {0};
  if (!c.out || !fgets(buf, sizeof buf, c.out)) return "";
  std::string s = buf;
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

TEST(Program, PrintsThePathServesAndStopsOnSignal) {
  for (int sig : {SIGTERM, SIGINT}) {
    Child c = Spawn({"--drives", "1:RHO,2:TAU,5:PSI"});
    ASSERT_GT(c.pid, 0);
    std::string path = FirstLine(c);
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    {
      RawPort port(path);
      ASSERT_TRUE(port.ok());
      port.Write(Req(2, 33, "\x01"));
      EXPECT_EQ(port.ReadReply(2000).substr(0, 4), "!TAU");
      port.Write(Req(3, 34, "\x01"));
      EXPECT_EQ(port.ReadReply(100), "");
    }
    EXPECT_EQ(Finish(c, sig), 0);
  }
}

TEST(Program, CorruptsRepliesWhenAsked) {
  Child c = Spawn({"--drives", "2:TAU", "--corrupt", "1", "--seed", "3"});
  std::string path = FirstLine(c);
  {
    RawPort port(path);
    ASSERT_TRUE(port.ok()) << path;
    port.Write(Req(2, 33, "\x01"));
    std::string raw = port.Read(32, 300);
    EXPECT_FALSE(raw.empty());
    EXPECT_EQ(raw.find("!TAU"), std::string::npos);
  }
  EXPECT_EQ(Finish(c, SIGTERM), 0);
}

TEST(Program, LineCheckModes) {
  struct Case {
    const char* flag;
    const char* mustHold;
  } cases[] = {{"--modem", "OK"}, {"--node0", "AT"}};
  for (const Case& k : cases) {
    Child c = Spawn({"--drives", "1:RHO", k.flag});
    std::string path = FirstLine(c);
    {
      RawPort port(path);
      ASSERT_TRUE(port.ok()) << path;
      for (int i = 0; i < 5; ++i) port.Write("AT\r");
      std::string got = port.Read(128, 250);
      EXPECT_NE(got.find(k.mustHold), std::string::npos) << k.flag << ": " << got;
    }
    EXPECT_EQ(Finish(c, SIGTERM), 0);
  }
}

// A drive that falls silent and comes back, and one faulted from the start,
// so the window's views of both can be tried by hand.
TEST(Program, SilencesADriveForAWhileAndRaisesFaults) {
  Child c = Spawn({"--drives", "1:RHO,2:TAU", "--silent", "2:1:600", "--fault", "1:3,1:4"});
  std::string path = FirstLine(c);
  {
    RawPort port(path);
    ASSERT_TRUE(port.ok()) << path;
    port.Write(Req(2, 33, "\x01"));
    EXPECT_EQ(port.ReadReply(2000).substr(0, 4), "!TAU");
    port.Write(Req(2, 34, "\x01"));
    EXPECT_EQ(port.ReadReply(300), "");
    port.Write(Req(1, 35, "=FLT"));
    EXPECT_NE(port.ReadReply(2000).find("24"), std::string::npos);  // bits 3 and 4
    port.Write(Req(1, 36, "\x08"));                                   // no run while faulted
    EXPECT_EQ(port.ReadReply(2000), simtest::NAK);
    usleep(700 * 1000);
    port.Write(Req(2, 37, "\x01"));
    EXPECT_EQ(port.ReadReply(2000).substr(0, 4), "!TAU");
  }
  EXPECT_EQ(Finish(c, SIGTERM), 0);
}

TEST(Program, RefusesABadDriveList) {
  for (std::vector<std::string> args : {std::vector<std::string>{"--drives", "0:RHO"},
                                        std::vector<std::string>{"--drives", "1:XYZ"},
                                        std::vector<std::string>{"--drives", "1:RHO", "--silent", "3"},
                                        std::vector<std::string>{"--drives", "1:RHO", "--silent", "1:x"},
                                        std::vector<std::string>{"--drives", "1:RHO", "--fault", "1:30"},
                                        std::vector<std::string>{"--drives", "1:RHO", "--fault", "2:3"},
                                        std::vector<std::string>{"--bogus"}}) {
    Child c = Spawn(args);
    EXPECT_EQ(FirstLine(c), "");
    EXPECT_EQ(Finish(c, 0), 2);
  }
}

}  // namespace
