#pragma once
// Files a user picks, read whole. Only a regular file is opened for its
// bytes, without waiting (a fifo or a device would block or never end), and
// its size is checked before a byte is read. Qt-free.
#include <cstdint>
#include <string>

namespace talvero {

struct FileRead {
  enum class End { Read, Unreadable, OutOfBounds };
  End end = End::Unreadable;
  std::string bytes;   // Read: the whole file
  std::string reason;  // Unreadable: why, in words
  uint64_t size = 0;   // Read, OutOfBounds: how many bytes the file holds
  bool moreThanSize = false;  // OutOfBounds: it grew past the bound, so it holds more than size
  explicit operator bool() const { return end == End::Read; }
};

// "holds 2000 bytes", or "holds more than 1048576 bytes" for a file that
// grew past the bound while it was read.
std::string HoldsText(const FileRead& file);

// The file's bytes when it is a regular file of minBytes to maxBytes.
FileRead ReadWholeFile(const std::string& path, uint64_t minBytes, uint64_t maxBytes);

}  // namespace talvero
