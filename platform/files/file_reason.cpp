#include "platform/files/file_reason.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace talvero {

std::string FileErrorText(int err) {
  if (err == ENOSPC || err == EDQUOT) return "the disk is full";
  if (err == 0) return "the system gave no reason";
  const std::string text = std::strerror(err);
  // An error this system has no words for still gets a reason the user can quote.
  if (text.rfind("Unknown error", 0) == 0) return "system error " + std::to_string(err);
  return text;
}

std::string FileKindText(mode_t mode) {
  if (S_ISREG(mode)) return "";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a pipe (fifo)";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string NotAFileText(mode_t mode) {
  const std::string kind = FileKindText(mode);
  if (kind.empty()) return "";
  if (S_ISDIR(mode) || !kind.starts_with("a ")) return "it is " + kind;
  return "it is " + kind + ", not a file";
}

}  // namespace talvero
