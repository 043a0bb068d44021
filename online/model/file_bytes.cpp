#include "online/model/file_bytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace online {

namespace {
std::string Reason(int err) { return std::strerror(err); }
}  // namespace

FileBytes ReadFileBytes(const std::string& path) {
  FileBytes out;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    out.error = Reason(errno);
    return out;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    out.error = Reason(EISDIR);
    return out;
  }
  std::string bytes;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      out.error = Reason(errno);
      ::close(fd);
      return out;
    }
    bytes.append(buf, size_t(n));
  }
  ::close(fd);
  out.bytes = std::move(bytes);
  return out;
}

ReplacingFile::~ReplacingFile() { Discard(); }

void ReplacingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

std::optional<std::string> ReplacingFile::Open() {
  Discard();
  std::vector<char> name(target_.begin(), target_.end());
  const char suffix[] = ".part-XXXXXX";
  name.insert(name.end(), suffix, suffix + sizeof suffix);  // with its terminating zero
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return Reason(errno);
  fd_ = fd;
  temp_ = name.data();
  // The new file gets the target's permissions, or those of any new file.
  struct stat st {};
  mode_t mode;
  if (::stat(target_.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
  return std::nullopt;
}

std::optional<std::string> ReplacingFile::Write(const std::string& bytes) {
  if (fd_ < 0) return Reason(EBADF);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Reason(errno);
    }
    done += size_t(n);
  }
  return std::nullopt;
}

std::optional<std::string> ReplacingFile::Commit() {
  if (fd_ < 0) return Reason(EBADF);
  if (::fsync(fd_) != 0) return Reason(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Reason(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return Reason(errno);
  temp_.clear();
  return std::nullopt;
}

}  // namespace online
