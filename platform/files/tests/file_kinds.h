#pragma once
// Hostile files for tests, made where the test says: a fifo, a sparse file
// of any size, and a full disk without mounting one (a file size limit makes
// writes beyond it fail short, SIGXFSZ ignored while it holds).
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <string>

namespace talvero::testing {

inline bool MakeFifo(const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

// A device of the test's own (the null device's numbers) for a write to be
// refused on: never a link to one of the system's, which a writer gone wrong
// would replace when the tests run as root. False where this process may
// not make one.
inline bool MakeDevice(const std::string& path) {
  return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}

// A file of size bytes that takes no room on the disk.
inline bool MakeSparse(const std::string& path, off_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool ok = ::ftruncate(fd, size) == 0;
  ::close(fd);
  return ok;
}

// A regular file no process may open for reading, not even root's (tests
// run as root): a write-only attribute, which the kernel refuses to read.
inline const char* UnreadableFile() { return "/sys/bus/platform/drivers_probe"; }

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit r = old_;
    r.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &r);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldSignal_)(int) = SIG_DFL;
};

// The user nobody, whose rights a user's files and folders refuse.
constexpr uid_t kNobody = 65534;

// f's answer as another user, from a child that takes that user's ids (only
// root may: tests run as root). What f leaves in this process stays in the child.
inline std::string AsUser(uid_t uid, const std::function<std::string()>& f) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    std::string out = "could not become the user";
    if (::setgroups(0, nullptr) == 0 && ::setgid(uid) == 0 && ::setuid(uid) == 0) out = f();
    (void)!::write(fds[1], out.data(), out.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string got;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) got.append(buf, size_t(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return got;
}

// Seconds since it was made, to show a call did not wait.
class Stopwatch {
 public:
  double Seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace talvero::testing
