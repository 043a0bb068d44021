#pragma once
// Why a file could not be read or written, in words a user reads in a box.
#include <string>
#include <sys/types.h>

namespace talvero {

// The system's reason for err; a full disk or quota says "the disk is full".
std::string FileErrorText(int err);
// "" for a regular file, otherwise what the thing is, as "it is a folder".
std::string NotAFileText(mode_t mode);

}  // namespace talvero
