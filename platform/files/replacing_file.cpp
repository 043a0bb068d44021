#include "platform/files/replacing_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/file_reason.h"

namespace talvero {

ReplaceCalls& TheReplaceCalls() {
  static ReplaceCalls calls;
  return calls;
}

namespace {

// The folder part with its closing slash: "" for a bare name.
std::string FolderPrefix(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows path's symbolic links to what they name, which may not exist yet;
// the reason when that is no place for a file.
std::optional<std::string> FollowLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT) return std::nullopt;  // made new; a missing folder shows when it is
      return FileErrorText(errno);
    }
    if (!S_ISLNK(st.st_mode)) {
      std::string kind = NotAFileText(st.st_mode);
      if (kind.empty()) return std::nullopt;
      return kind;
    }
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return FileErrorText(errno);
    link.resize(size_t(n));
    path = link.front() == '/' ? link : FolderPrefix(path) + link;
  }
  return FileErrorText(ELOOP);
}

// The folder a temporary goes in, named for a user: the current folder in full.
std::string FolderName(const std::string& path) {
  const std::string prefix = FolderPrefix(path);
  if (prefix.size() > 1) return prefix.substr(0, prefix.size() - 1);
  if (!prefix.empty()) return prefix;
  std::string here(PATH_MAX, '\0');
  if (!::getcwd(here.data(), here.size())) return ".";
  here.resize(std::char_traits<char>::length(here.c_str()));
  return here;
}

// Renaming over a file needs only the folder's permission; the file's own
// is asked here, with the rights this process acts with (root's stay root's).
std::optional<std::string> Unwritable(const std::string& path) {
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT) return std::nullopt;
  if (errno == EACCES || errno == EPERM) return std::string("it is write-protected");
  return FileErrorText(errno);
}

// The folder must take the temporary, and in a sticky folder the rename over
// a file of another owner fails only after everything was written.
std::optional<std::string> FolderRefusal(const std::string& path) {
  if (auto why = NewFileRefusal(path)) return why;
  const std::string prefix = FolderPrefix(path);
  const std::string folder = prefix.empty() ? "." : prefix;
  struct stat dir {}, file {};
  if (::stat(folder.c_str(), &dir) != 0 || !(dir.st_mode & S_ISVTX)) return std::nullopt;
  if (::lstat(path.c_str(), &file) != 0) return std::nullopt;
  const uid_t me = ::geteuid();
  if (me == 0 || file.st_uid == me || dir.st_uid == me) return std::nullopt;
  return "the folder " + FolderName(path) + " lets only the file's owner replace it";
}

}  // namespace

std::optional<std::string> NewFileRefusal(const std::string& path) {
  const std::string prefix = FolderPrefix(path);
  if (::faccessat(AT_FDCWD, prefix.empty() ? "." : prefix.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return std::nullopt;
  if (errno == EACCES || errno == EPERM) return "the folder " + FolderName(path) + " does not allow new files";
  return FileErrorText(errno);
}

std::optional<std::string> ReplaceRefusal(const std::string& path) {
  std::string final = path;
  if (auto why = FollowLinks(final)) return why;
  if (auto why = Unwritable(final)) return why;
  return FolderRefusal(final);
}

std::optional<std::string> ReplacingFile::CheckExpected() {
  if (!expected_) return std::nullopt;
  struct stat st {};
  if (::stat(final_.c_str(), &st) == 0 && FileIdentity::Of(st) == *expected_) return std::nullopt;
  changed_ = true;
  return std::string("it was changed or replaced since it was read");
}

ReplacingFile::~ReplacingFile() { Discard(); }

void ReplacingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

std::optional<std::string> ReplacingFile::Fail(std::string reason) {
  Discard();
  return reason;
}

std::optional<std::string> ReplacingFile::Open() {
  Discard();
  changed_ = false;
  final_ = target_;
  if (auto why = FollowLinks(final_)) return why;
  if (auto why = CheckExpected()) return why;
  if (auto why = Unwritable(final_)) return why;
  if (auto why = FolderRefusal(final_)) return why;
  // A short name of its own, so a target of any legal length has a temporary beside it.
  std::string name = FolderPrefix(final_) + ".talvero-XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    // A file there could be written in place, but then a failure part-way
    // would lose it: refused, with the reason where it lies.
    if (errno == EACCES || errno == EPERM) return "the folder " + FolderName(final_) + " does not allow new files";
    return FileErrorText(errno);
  }
  fd_ = fd;
  temp_ = name;
  // The new file gets the old one's owner and group where this process may
  // give them, then its permissions (a change of owner clears set-id bits);
  // a new file gets those of any new file.
  struct stat st {};
  mode_t mode;
  if (::stat(final_.c_str(), &st) == 0) {
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid())
      if (::fchown(fd_, st.st_uid, st.st_gid) != 0) (void)!::fchown(fd_, uid_t(-1), st.st_gid);
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
  return std::nullopt;
}

std::optional<std::string> ReplacingFile::Write(std::string_view bytes) {
  if (fd_ < 0) return FileErrorText(EBADF);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(FileErrorText(errno));
    // A file system writes less than asked only when it has no room for more.
    if (size_t(n) < bytes.size() - done) return Fail(FileErrorText(ENOSPC));
    done += size_t(n);
  }
  return std::nullopt;
}

std::optional<std::string> ReplacingFile::Commit() {
  if (fd_ < 0) return FileErrorText(EBADF);
  const ReplaceCalls& calls = TheReplaceCalls();
  if (calls.fsync(fd_) != 0) return Fail(FileErrorText(errno));
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(FileErrorText(errno));
  if (auto why = CheckExpected()) return Fail(*why);
  if (calls.rename(temp_.c_str(), final_.c_str()) != 0) return Fail(FileErrorText(errno));
  temp_.clear();
  // The new name lasts a crash only once its folder is on the disk too.
  const std::string folder = FolderPrefix(final_);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    calls.fsync(dir);
    ::close(dir);
  }
  return std::nullopt;
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
  ReplacingFile file(path);
  if (auto why = file.Open()) return why;
  if (auto why = file.Write(bytes)) return why;
  return file.Commit();
}

}  // namespace talvero
