#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace talvero::sim {
namespace {

int64_t NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepUntilUs(int64_t t) {
  int64_t now = NowUs();
  if (t > now) std::this_thread::sleep_for(std::chrono::microseconds(t - now));
}

}  // namespace

bool PtyServer::Start(const PtyOptions& options) {
  if (Running()) return true;
  options_ = options;
  paced_ = options.paced;
  error_.clear();
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    if (master_ >= 0) close(master_);
    master_ = -1;
    return false;
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error_ = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
    close(master_);
    master_ = -1;
    return false;
  }
  slave_path_ = name;
  // The line starts raw at the line's speed, whatever the client does.
  int s = open(name, O_RDWR | O_NOCTTY);
  if (s >= 0) {
    termios t{};
    if (tcgetattr(s, &t) == 0) {
      cfmakeraw(&t);
      cfsetispeed(&t, B19200);
      cfsetospeed(&t, B19200);
      tcsetattr(s, TCSANOW, &t);
    }
    close(s);
  }
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  if (pipe(wake_) != 0) {
    error_ = std::string("cannot make a pipe: ") + std::strerror(errno);
    close(master_);
    master_ = -1;
    return false;
  }
  stop_ = false;
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void PtyServer::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  char b = 1;
  (void)!write(wake_[1], &b, 1);
  thread_.join();
  close(wake_[0]);
  close(wake_[1]);
  wake_[0] = wake_[1] = -1;
  close(master_);
  master_ = -1;
}

bool PtyServer::WaitMs(int ms) {
  if (stop_) return false;
  if (ms <= 0) return true;
  pollfd p{wake_[0], POLLIN, 0};
  poll(&p, 1, ms);
  return !stop_;
}

void PtyServer::WriteAll(const std::string& bytes) {
  const bool paced = paced_;
  const double bt = ByteTimeUs(options_.baud);
  // Paced: byte i arrives at start + (i + 1) byte times. The start may lie a
  // little in the past (the sleep that waited for the request overshot), so
  // oversleeping never adds up; a real hold-up (a delay) starts afresh.
  int64_t start = 0;
  if (paced) {
    int64_t now = NowUs();
    start = std::max(wire_out_us_, wire_in_us_);
    if (now - start > 2000) start = now;
    wire_out_us_ = start + int64_t(bt * double(bytes.size()));
  }
  size_t i = 0;
  while (i < bytes.size() && !stop_) {
    size_t n = bytes.size() - i;
    if (paced) {
      int64_t due = start + int64_t(bt * double(i + 1));
      SleepUntilUs(due);
      int64_t now = NowUs();
      size_t ready = size_t(double(now - start) / bt);  // bytes due by now
      n = std::min(bytes.size(), std::max(ready, i + 1)) - i;
    }
    ssize_t w = write(master_, bytes.data() + i, n);
    if (w > 0) {
      i += size_t(w);
      bytes_out_ += uint64_t(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno == EAGAIN) {
      pollfd p[2] = {{master_, POLLOUT, 0}, {wake_[0], POLLIN, 0}};
      poll(p, 2, 50);
      continue;
    }
    return;  // nobody on the other side: the bytes are lost, as on a wire
  }
}

void PtyServer::Serve() {
  const double bt = ByteTimeUs(options_.baud);
  char buf[4096];
  while (!stop_) {
    int timeout = line_.InFrame() ? options_.frameGapMs : 200;
    pollfd p[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    int r = poll(p, 2, timeout);
    if (stop_) break;
    if (r == 0) {
      if (line_.InFrame()) line_.ResetFraming();
      continue;
    }
    if (r < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (!(p[0].revents & POLLIN)) {
      // No client has the line open: wait for one.
      if (!WaitMs(10)) break;
      continue;
    }
    ssize_t n = read(master_, buf, sizeof buf);
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (!WaitMs(10)) break;  // EIO: the client closed the line
      continue;
    }
    bytes_in_ += uint64_t(n);
    const bool paced = paced_;
    int64_t readAt = NowUs();
    for (ssize_t k = 0; k < n && !stop_; ++k) {
      std::vector<Output> outs = line_.Feed(std::string(1, buf[k]));
      if (paced) wire_in_us_ = std::max(readAt, wire_in_us_) + int64_t(bt);
      if (outs.empty()) continue;
      if (paced) SleepUntilUs(wire_in_us_);
      for (const Output& o : outs) {
        if (!WaitMs(o.delayMs)) break;
        WriteAll(o.bytes);
      }
    }
  }
}

}  // namespace talvero::sim
