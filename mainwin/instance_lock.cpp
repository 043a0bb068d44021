#include "mainwin/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

InstanceLock::InstanceLock(std::string path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() { Release(); }

std::string InstanceLock::DefaultPath() {
  const char* rt = std::getenv("XDG_RUNTIME_DIR");
  if (rt && *rt) return std::string(rt) + "/talvero3.lock";
  return "/tmp/talvero3-" + std::to_string(getuid()) + ".lock";
}

bool InstanceLock::Acquire() {
  if (fd_ >= 0) return true;
  int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // A lock file we cannot create must not keep the program from starting.
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::Release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}
