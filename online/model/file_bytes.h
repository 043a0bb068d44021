#pragma once
// Whole files in and out as bytes, with the reason when the system refuses.
#include <optional>
#include <string>

namespace online {

struct FileBytes {
  std::optional<std::string> bytes;  // nullopt when the file could not be read
  std::string error;                 // the system's reason then
};
FileBytes ReadFileBytes(const std::string& path);

// Writes a file that replaces its target only when complete: the bytes go to
// a temporary file beside the target, which Commit renames over it. A writer
// destroyed before Commit removes its temporary and leaves the target alone.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::string target) : target_(std::move(target)) {}
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Each returns the system's reason on failure, nullopt when it went well.
  std::optional<std::string> Open();
  std::optional<std::string> Write(const std::string& bytes);
  std::optional<std::string> Commit();

  const std::string& Target() const { return target_; }
  const std::string& TempPath() const { return temp_; }

 private:
  void Discard();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace online
