#pragma once
// Why a file could not be read or written, in words a user reads in a box.
#include <string>
#include <sys/types.h>

namespace talvero {

// The system's reason for err; a full disk or quota says "the disk is full".
std::string FileErrorText(int err);
// "" for a regular file, otherwise what the thing is: "a folder", "a pipe
// (fifo)", "a device", "a socket" or "not a regular file".
std::string FileKindText(mode_t mode);
// The same as a reason: "it is a folder", "it is a device, not a file".
std::string NotAFileText(mode_t mode);

}  // namespace talvero
