#include "platform/files/whole_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/files/file_reason.h"

namespace talvero {

namespace {
struct Closer {
  int fd;
  ~Closer() { ::close(fd); }
};
}  // namespace

FileRead ReadWholeFile(const std::string& path, uint64_t minBytes, uint64_t maxBytes) {
  FileRead r;
  // The kind first, by name: a device is never opened, a fifo never waited on.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    r.reason = FileErrorText(errno);
    return r;
  }
  if (std::string kind = NotAFileText(st.st_mode); !kind.empty()) {
    r.reason = kind;
    return r;
  }
  // Should a fifo take the file's place after the look, the open does not wait.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    r.reason = FileErrorText(errno);
    return r;
  }
  const Closer closer{fd};
  return ReadWholeFile(fd, minBytes, maxBytes);
}

FileRead ReadWholeFile(int fd, uint64_t minBytes, uint64_t maxBytes) {
  FileRead r;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    r.reason = FileErrorText(errno);
    return r;
  }
  if (std::string kind = NotAFileText(st.st_mode); !kind.empty()) {
    r.reason = kind;
    return r;
  }
  r.identity = FileIdentity::Of(st);
  r.size = uint64_t(st.st_size);
  if (r.size < minBytes || r.size > maxBytes) {
    r.end = FileRead::End::OutOfBounds;
    return r;
  }
  // At most one byte beyond the bound: a file that grows while it is read,
  // or one that gives no size (as /proc does), still ends.
  const uint64_t limit = std::min<uint64_t>(maxBytes, uint64_t(SSIZE_MAX) - 1) + 1;
  std::string bytes;
  bytes.reserve(size_t(r.size));
  char buf[65536];
  while (bytes.size() < limit) {
    const ssize_t n = ::read(fd, buf, size_t(std::min<uint64_t>(sizeof buf, limit - bytes.size())));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      r.reason = FileErrorText(errno);
      return r;
    }
    if (n == 0) break;
    bytes.append(buf, size_t(n));
  }
  r.size = bytes.size();
  if (r.size > maxBytes) {
    r.size = maxBytes;
    r.moreThanSize = true;
  }
  if (r.size < minBytes || r.moreThanSize) {
    r.end = FileRead::End::OutOfBounds;
    return r;
  }
  r.end = FileRead::End::Read;
  r.bytes = std::move(bytes);
  return r;
}

std::string HoldsText(const FileRead& file) {
  return std::string(file.moreThanSize ? "holds more than " : "holds ") + std::to_string(file.size) + " bytes";
}

}  // namespace talvero
