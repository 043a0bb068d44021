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

std::string NotAFileText(mode_t mode) {
  if (S_ISREG(mode)) return "";
  if (S_ISDIR(mode)) return "it is a folder";
  if (S_ISFIFO(mode)) return "it is a pipe (fifo), not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  return "it is not a regular file";
}

}  // namespace talvero
