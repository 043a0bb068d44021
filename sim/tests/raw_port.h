#pragma once
// A bare termios client for the pseudo-terminal tests.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace simtest {

class RawPort {
 public:
  explicit RawPort(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) return;
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B19200);
    cfsetospeed(&t, B19200);
    tcsetattr(fd_, TCSANOW, &t);
  }
  ~RawPort() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }

  void Write(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
      ssize_t w = write(fd_, bytes.data() + i, bytes.size() - i);
      if (w <= 0) return;
      i += size_t(w);
    }
  }

  // Up to n bytes, waiting at most gapMs for each one.
  std::string Read(size_t n, int gapMs) {
    std::string s;
    char buf[512];
    while (s.size() < n) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, gapMs) <= 0) break;
      ssize_t r = read(fd_, buf, std::min(sizeof buf, n - s.size()));
      if (r <= 0) break;
      s.append(buf, size_t(r));
    }
    return s;
  }

  // One reply packet's data, "" on a time-out.
  std::string ReadReply(int gapMs = 1000) {
    std::string head = Read(3, gapMs);
    if (head.size() != 3) return "";
    std::string rest = Read((unsigned char)head[2] + 1, gapMs);
    if (rest.size() != (unsigned char)head[2] + 1u) return "";
    return rest.substr(0, rest.size() - 1);
  }

 private:
  int fd_ = -1;
};

inline double SecondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace simtest
