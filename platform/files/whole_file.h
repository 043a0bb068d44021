#pragma once
// Files a user picks, read whole. Only a regular file is opened for its
// bytes, without waiting (a fifo or a device would block or never end), and
// its size is checked before a byte is read. Qt-free.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace talvero {

// Which file, as of one look: the same device and inode, and neither its size
// nor its modification time changed since.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  static FileIdentity Of(const struct stat& st) { return {st.st_dev, st.st_ino, st.st_size, st.st_mtim}; }
  bool operator==(const FileIdentity& o) const {
    return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec;
  }
};

struct FileRead {
  enum class End { Read, Unreadable, OutOfBounds };
  End end = End::Unreadable;
  std::string bytes;   // Read: the whole file
  std::string reason;  // Unreadable: why, in words
  uint64_t size = 0;   // Read, OutOfBounds: how many bytes the file holds
  bool moreThanSize = false;  // OutOfBounds: it grew past the bound, so it holds more than size
  FileIdentity identity{};    // Read: the file the bytes came from, as it was before they were read
  explicit operator bool() const { return end == End::Read; }
};

// "holds 2000 bytes", or "holds more than 1048576 bytes" for a file that
// grew past the bound while it was read.
std::string HoldsText(const FileRead& file);

// The file's bytes when it is a regular file of minBytes to maxBytes.
FileRead ReadWholeFile(const std::string& path, uint64_t minBytes, uint64_t maxBytes);
// The same from a file this process holds open, from where its offset stands
// (a file just opened: its first byte).
FileRead ReadWholeFile(int fd, uint64_t minBytes, uint64_t maxBytes);

}  // namespace talvero
