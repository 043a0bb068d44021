#pragma once
// The one way a file is written: the bytes go to a temporary file in the
// target's own folder, which Commit syncs and renames over the target. The
// old file stays whole until then, and a writer dropped or failed before
// Commit removes its temporary. A symbolic link is followed and what it
// points at is replaced; the link stays. Qt-free.
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/whole_file.h"

namespace talvero {

// The calls that make a replacement last, through which tests see their order.
struct ReplaceCalls {
  int (*fsync)(int fd) = ::fsync;
  int (*rename)(const char* from, const char* to) = ::rename;
};
ReplaceCalls& TheReplaceCalls();

class ReplacingFile {
 public:
  explicit ReplacingFile(std::string target) : target_(std::move(target)) {}
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Replace only this file: Open and, at the last moment, Commit refuse
  // when the target (its links followed then) is any other or has changed.
  void Expect(const FileIdentity& identity) { expected_ = identity; }
  bool TargetChanged() const { return changed_; }

  // Each returns the reason in words on failure, nullopt when it went well.
  // Open refuses, before anything is written, what ReplaceRefusal refuses.
  std::optional<std::string> Open();
  std::optional<std::string> Write(std::string_view bytes);
  std::optional<std::string> Commit();

  const std::string& Target() const { return target_; }
  const std::string& TempPath() const { return temp_; }

 private:
  void Discard();
  std::optional<std::string> Fail(std::string reason);

  std::optional<std::string> CheckExpected();

  std::string target_;
  std::string final_;  // the target with its links followed
  std::optional<FileIdentity> expected_;
  bool changed_ = false;
  std::string temp_;
  int fd_ = -1;
};

// Why no new file can be made beside path ("the folder F does not allow new
// files"); nullopt when one can.
std::optional<std::string> NewFileRefusal(const std::string& path);

// Why the file at path can't be replaced now, in words, before anything is
// written: a target that is there but no regular file (a folder, a fifo, a
// device), one this process may not write ("it is write-protected"), a
// folder that takes no new file, and a sticky folder (as /tmp) where only the
// file's owner may replace it. nullopt when it can.
std::optional<std::string> ReplaceRefusal(const std::string& path);

// The whole file in one go, as above.
std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace talvero
