#pragma once
// A file that may grow but not be replaced, even by root: a save that
// renames a new file over it fails at its very end, after every write went.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

namespace tivolen::test {

class AppendOnly {
 public:
  explicit AppendOnly(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags_) == 0) {
      const int on = flags_ | FS_APPEND_FL;
      set_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &on) == 0;
    }
  }
  ~AppendOnly() {
    if (set_) ::ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
    if (fd_ >= 0) ::close(fd_);
  }
  AppendOnly(const AppendOnly&) = delete;
  AppendOnly& operator=(const AppendOnly&) = delete;
  // False where the file system or this process cannot mark it.
  bool Holds() const { return set_; }

 private:
  int fd_;
  int flags_ = 0;
  bool set_ = false;
};

}  // namespace tivolen::test
