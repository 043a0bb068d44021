#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/serial/port_map.h"
#include "platform/serial/serial_port_object.h"

namespace talvero {
namespace {

// The far end of a pseudo-terminal, standing in for the drives.
class Pty {
 public:
  Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) path_ = ptsname(master_);
    termios tio{};
    tcgetattr(master_, &tio);
    cfmakeraw(&tio);
    tcsetattr(master_, TCSANOW, &tio);
  }
  ~Pty() {
    if (master_ >= 0) close(master_);
  }
  const std::string& path() const { return path_; }
  void Send(const std::string& bytes) { ASSERT_EQ(write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
  std::string Receive(size_t n) {
    std::string out;
    while (out.size() < n) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 2000) <= 0) break;
      char buf[512];
      ssize_t got = read(master_, buf, std::min(sizeof buf, n - out.size()));
      if (got <= 0) break;
      out.append(buf, size_t(got));
    }
    return out;
  }

 private:
  int master_ = -1;
  std::string path_;
};

// Sets a variable for its lifetime, then puts back what was there.
class EnvVar {
 public:
  EnvVar(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old, had_ = true;
    setenv(name, value.c_str(), 1);
  }
  ~EnvVar() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i) s.push_back(char(i));
  return s;
}

TEST(SerialPortObject, CarriesEveryByteValueBothWaysOverAPseudoTerminal) {
  Pty pty;
  ASSERT_FALSE(pty.path().empty());
  EnvVar map("TALVERO_COM7", pty.path());
  SerialPortObject port;
  port.SetPortNumber(7);
  port.SetSpeed(19200);
  port.SetDataBits(8);
  ASSERT_GT(port.Open(), 0);
  EXPECT_TRUE(port.LastFailure().ok());
  EXPECT_EQ(port.Device(), pty.path());

  // Raw mode: no translation of CR, no flow-control or signal characters eaten.
  port.WriteString(AllBytes());
  EXPECT_EQ(pty.Receive(256), AllBytes());
  port.WriteByte(0x5B);
  EXPECT_EQ(pty.Receive(1), "[");

  pty.Send(AllBytes());
  std::string got;
  for (int i = 0; i < 256; ++i) {
    int b = port.ReadByte(1000);
    ASSERT_GE(b, 0) << "byte " << i;
    got.push_back(char(b));
  }
  EXPECT_EQ(got, AllBytes());
}

TEST(SerialPortObject, ReadsTimeOutAfterTheirWaitAndStringsReturnWhatCame) {
  Pty pty;
  SerialPortObject port;
  ASSERT_GT(port.OpenDevice(pty.path()), 0);
  using clock = std::chrono::steady_clock;

  auto t0 = clock::now();
  EXPECT_LT(port.ReadByte(150), 0);
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - t0).count();
  EXPECT_GE(waited, 150);
  EXPECT_LT(waited, 2000);

  pty.Send("AT\rOK");
  t0 = clock::now();
  EXPECT_EQ(port.ReadString(128, 100), "AT\rOK");
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - t0).count(), 100);
  pty.Send("abcdef");
  EXPECT_EQ(port.ReadString(4, 1000), "abcd");
  EXPECT_EQ(port.ReadByte(100), 'e');
}

TEST(SerialPortObject, ASecondOpenOfTheSameLineIsRefusedAsBusyUntilTheFirstCloses) {
  Pty pty;
  SerialPortObject first, second;
  ASSERT_GT(first.OpenDevice(pty.path()), 0);
  EXPECT_LT(second.OpenDevice(pty.path()), 0);
  EXPECT_EQ(second.LastFailure().reason, PortFailureReason::Busy);
  EXPECT_NE(DescribePortFailure(second.LastFailure()).find("in use by another program"), std::string::npos);
  first.Close();
  EXPECT_GT(second.OpenDevice(pty.path()), 0);
  EXPECT_TRUE(second.LastFailure().ok());
}

TEST(SerialPortObject, FailedOpensSayWhy) {
  char dir[] = "/tmp/talvero_serial_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string plain = std::string(dir) + "/plain";
  FILE* f = fopen(plain.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);

  SerialPortObject port;
  EnvVar missing("TALVERO_COM8", std::string(dir) + "/nothing-here");
  port.SetPortNumber(8);
  EXPECT_LT(port.Open(), 0);
  EXPECT_EQ(port.LastFailure().reason, PortFailureReason::NotFound);
  EXPECT_EQ(port.LastFailure().device, std::string(dir) + "/nothing-here");
  EXPECT_FALSE(port.IsOpen());

  EXPECT_LT(port.OpenDevice(plain), 0);
  EXPECT_EQ(port.LastFailure().reason, PortFailureReason::NotASerialDevice);

  if (geteuid() != 0) {  // the superuser opens anything
    chmod(plain.c_str(), 0);
    EXPECT_LT(port.OpenDevice(plain), 0);
    EXPECT_EQ(port.LastFailure().reason, PortFailureReason::PermissionDenied);
    EXPECT_NE(DescribePortFailure(port.LastFailure()).find("dialout"), std::string::npos);
  }
  unlink(plain.c_str());
  rmdir(dir);
}

TEST(PortMap, EnvironmentBeatsTheResolverWhichBeatsTheDefaultDevice) {
  unsetenv("TALVERO_COM3");
  SetPortResolver(nullptr);
  EXPECT_EQ(DeviceForPort(3), "/dev/ttyS2");
  EXPECT_EQ(DeviceForPort(0), "");
  SetPortResolver([](int n) { return n == 3 ? std::string("/dev/ttyUSB0") : std::string(); });
  EXPECT_EQ(DeviceForPort(3), "/dev/ttyUSB0");
  EXPECT_EQ(DeviceForPort(4), "/dev/ttyS3");
  {
    EnvVar env("TALVERO_COM3", "/dev/pts/99");
    EXPECT_EQ(DeviceForPort(3), "/dev/pts/99");
  }
  SetPortResolver(nullptr);
}

TEST(PortMap, ProbeOpensAndReleasesAMappedLine) {
  Pty pty;
  EnvVar map("TALVERO_COM2", pty.path());
  EXPECT_TRUE(ProbePort(2).ok());
  SerialPortObject holder;
  ASSERT_GT(holder.OpenDevice(pty.path()), 0);  // the probe let go of it
  EXPECT_EQ(ProbePort(2).reason, PortFailureReason::Busy);

  EnvVar gone("TALVERO_COM5", "/nonexistent/ttyX");
  EXPECT_EQ(ProbePort(5).reason, PortFailureReason::NotFound);
}

}  // namespace
}  // namespace talvero
