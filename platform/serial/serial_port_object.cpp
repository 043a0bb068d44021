#include "platform/serial/serial_port_object.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/serial/port_map.h"

namespace talvero {
namespace {

// The serial layer waits in poll(2) in real time, whatever clock the rest of
// the program runs on, so its deadlines are real time too. Deadlines are kept
// in microseconds and the wait rounded up, so no read gives up early.
int64_t MonotonicUs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

int MsUntil(int64_t deadlineUs) {
  int64_t left = deadlineUs - MonotonicUs();
  return left <= 0 ? 0 : int((left + 999) / 1000);
}

bool SpeedConstant(int baud, speed_t& out) {
  static const struct {
    int baud;
    speed_t constant;
  } kSpeeds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
                 {19200, B19200}, {38400, B38400}, {57600, B57600},   {115200, B115200},
                 {230400, B230400}};
  for (const auto& s : kSpeeds) {
    if (s.baud == baud) {
      out = s.constant;
      return true;
    }
  }
  return false;
}

// What a read or a write answers once the device behind the descriptor has
// gone: a hung-up terminal, an unplugged adapter.
bool GoneErrno(int err) { return err == EIO || err == ENXIO || err == ENODEV || err == EBADF; }

PortFailureReason ReasonOfOpenErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO:  // a ttyS node with no UART behind it
      return PortFailureReason::NotFound;
    case EACCES:
    case EPERM:
      return PortFailureReason::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK:
      return PortFailureReason::Busy;
    case ENOTTY:
      return PortFailureReason::NotASerialDevice;
    default:
      return PortFailureReason::Other;
  }
}

}  // namespace

SerialPortObject::~SerialPortObject() { Close(); }

void SerialPortObject::SetLineSetting(LineSetting which, int value) {
  int i = int(which);
  if (i >= 0 && i < 4) settings_[i] = value;
}

int32_t SerialPortObject::Open() {
  gone_ = false;
  std::string path = DeviceForPort(port_);
  if (path.empty()) {
    Close();
    failure_ = {PortFailureReason::NotFound, "", "no device for COM" + std::to_string(port_)};
    return -1;
  }
  return OpenDevice(path);
}

int32_t SerialPortObject::OpenDevice(const std::string& path) {
  Close();
  gone_ = false;
  device_ = path;
  auto fail = [&](int err) {
    failure_ = {ReasonOfOpenErrno(err), path, std::strerror(err)};
    Close();
    return int32_t(-1);
  };

  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return fail(errno);
  if (!isatty(fd_)) return fail(ENOTTY);
  // flock holds against every other open, even a privileged one that
  // TIOCEXCL lets through.
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) return fail(errno);
  if (ioctl(fd_, TIOCEXCL) != 0) return fail(errno);
  exclusive_ = true;
  if (!ApplyLineSettings()) return fail(errno ? errno : EINVAL);
  tcflush(fd_, TCIOFLUSH);
  bufferPos_ = bufferLen_ = 0;
  failure_ = {};
  return int32_t(fd_) + 1;
}

bool SerialPortObject::ApplyLineSettings() {
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return false;
  cfmakeraw(&tio);
  speed_t speed;
  if (!SpeedConstant(baud_, speed)) {
    errno = EINVAL;
    return false;
  }
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CLOCAL);
  switch (dataBits_) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    case 8: tio.c_cflag |= CS8; break;
    default: errno = EINVAL; return false;
  }
  tio.c_cflag |= CREAD;
  if (settings_[int(LineSetting::Parity)] == 1) tio.c_cflag |= PARENB | PARODD;
  if (settings_[int(LineSetting::Parity)] == 2) tio.c_cflag |= PARENB;
  if (settings_[int(LineSetting::StopBits)] == 1) tio.c_cflag |= CSTOPB;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (settings_[int(LineSetting::FlowControl)] == 1) tio.c_cflag |= CRTSCTS;
  if (settings_[int(LineSetting::FlowControl)] == 2) tio.c_iflag |= IXON | IXOFF;
  if (settings_[int(LineSetting::CarrierWatch)] == 0) tio.c_cflag |= CLOCAL;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  return tcsetattr(fd_, TCSANOW, &tio) == 0;
}

void SerialPortObject::Close() {
  if (fd_ >= 0) {
    // Exclusivity belongs to the terminal, not to this descriptor: a pseudo-
    // terminal whose other side stays open would refuse every later open.
    // Only ours to clear when this descriptor set it.
    if (exclusive_) ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    ::close(fd_);  // drops the flock too
    fd_ = -1;
  }
  bufferPos_ = bufferLen_ = 0;
}

void SerialPortObject::Lost() {
  Close();
  gone_ = true;
}

bool SerialPortObject::FillBuffer(int32_t timeoutMs) {
  if (fd_ < 0) return false;
  int64_t deadline = MonotonicUs() + int64_t(timeoutMs > 0 ? timeoutMs : 0) * 1000;
  for (;;) {
    // With VMIN = VTIME = 0 an empty line reads as 0 bytes, not as an error.
    ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
    if (n > 0) {
      bufferPos_ = 0;
      bufferLen_ = int(n);
      return true;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      if (GoneErrno(errno)) Lost();
      return false;
    }
    int left = MsUntil(deadline);
    if (left <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    int r = ::poll(&p, 1, int(left));
    if (r < 0 && errno != EINTR) return false;
    if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) {
      // Hung up: take what is still queued; once that is read, the line is gone.
      n = ::read(fd_, buffer_, sizeof buffer_);
      if (n <= 0) {
        Lost();
        return false;
      }
      bufferPos_ = 0;
      bufferLen_ = int(n);
      return true;
    }
  }
}

int SerialPortObject::ReadByte(int32_t timeoutMs) {
  if (bufferPos_ >= bufferLen_ && !FillBuffer(timeoutMs)) return -1;
  return buffer_[bufferPos_++];
}

bool SerialPortObject::WaitWritable() {
  pollfd p{fd_, POLLOUT, 0};
  int r;
  do {
    r = ::poll(&p, 1, 2000);
  } while (r < 0 && errno == EINTR);
  return r > 0 && (p.revents & POLLOUT);
}

void SerialPortObject::WriteByte(uint8_t byte) {
  if (fd_ < 0) return;
  for (;;) {
    ssize_t n = ::write(fd_, &byte, 1);
    if (n == 1) return;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN && WaitWritable()) continue;
    if (n < 0 && GoneErrno(errno)) Lost();
    return;  // the line is gone or stuck; the reply check will notice
  }
}

void SerialPortObject::WriteString(const std::string& bytes) {
  for (char c : bytes) WriteByte(uint8_t(c));
}

std::string SerialPortObject::ReadString(int maxLen, int32_t timeoutMs) {
  std::string out;
  int64_t deadline = MonotonicUs() + int64_t(timeoutMs > 0 ? timeoutMs : 0) * 1000;
  while (int(out.size()) < maxLen) {
    int left = MsUntil(deadline);
    int b = ReadByte(int32_t(left > 0 ? left : 0));
    if (b < 0) break;
    out.push_back(char(b));
  }
  return out;
}

}  // namespace talvero
