#pragma once
// Applications written by the earlier program (Jet database files): read
// whole through the Jet reader, with the same tolerance as an application
// file of ours, and converted into one. The original is only ever read.
// Qt-free.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/dao/status.h"
#include "platform/files/whole_file.h"

namespace talvero::jet {
class File;
}

namespace talvero::store {

struct LegacyAxis {
  std::string name, family;
  std::vector<std::pair<std::string, std::string>> params;  // name, value; in the table's order
};

struct LegacyProgram {
  std::string name;
  std::vector<std::pair<int32_t, std::string>> lines;  // line, text; settings lines included
};

struct LegacyApplication {
  std::vector<LegacyAxis> axes;
  std::vector<LegacyProgram> programs;
  std::vector<std::string> skipped;  // what was left out and why, one sentence each
  // One sentence naming the tables libmdb read short, with the rows read of
  // the rows each counts; "" when every table read whole.
  std::string damaged;
  uint64_t rowsRead = 0;
};

// The file as it was read: opened once and held open, so that what is kept
// and what is replaced is that file, whatever its path names later.
class LegacyOriginal {
 public:
  // Reads the file at path whole; the reason in words when it can't.
  static dao::Result<LegacyOriginal> Open(const std::string& path);
  LegacyOriginal(LegacyOriginal&& o) noexcept;
  LegacyOriginal& operator=(LegacyOriginal&& o) noexcept;
  ~LegacyOriginal();

  const std::string& Path() const { return path_; }
  const std::string& Bytes() const { return bytes_; }
  const FileIdentity& Identity() const { return identity_; }
  int Fd() const { return fd_; }

 private:
  LegacyOriginal() = default;
  std::string path_;
  std::string bytes_;
  FileIdentity identity_;
  int fd_ = -1;
};

// A Jet file that is no application, or can't be read, gives the reason.
// The file is read in a child process, so that a file that makes libmdb
// crash or loop is told as damaged.
dao::Result<LegacyApplication> ReadLegacyApplication(const LegacyOriginal& original);
dao::Result<LegacyApplication> ReadLegacyApplication(const std::string& path);
dao::Result<LegacyApplication> ReadLegacyApplication(jet::File& file);
// Test hook: fault runs in that child before it reads (a crash or a hang
// planted there); limitMs is how long reading may take (default 10 s).
void SetLegacyReadFault(void (*fault)(), int limitMs);

// A new application file of ours at path (which must not exist yet).
dao::Status WriteApplication(const LegacyApplication& app, const std::string& path);

// Where the original of path is kept: path + ".jet", or the first free of
// path + ".2.jet" to path + ".999.jet"; "" when all are taken.
std::string KeptOriginalName(const std::string& path);

// Why the original can't be converted in place, asked before the question
// and again before anything is written; "" when it can.
std::string ConversionRefusal(const LegacyOriginal& original, const std::string& kept);

enum class ConvertEnd {
  Done,
  Failed,   // error says why
  Changed,  // the path no longer names the file that was read: nothing written
  Removed,  // nothing is at the path any more: nothing written
};
struct Conversion {
  ConvertEnd end = ConvertEnd::Failed;
  // Failed: the reason; any end: a name made for the original that could
  // not be removed again, said.
  std::string error;
  bool ok() const { return end == ConvertEnd::Done; }
};

// Replaces the file that was read by app in this program's format, through
// the file layer, after keeping that file untouched under kept. On any
// failure the path is as it was and every name the conversion made is gone
// (or the error says which could not be removed).
Conversion ConvertLegacyApplication(const LegacyApplication& app, const LegacyOriginal& original,
                                    const std::string& kept);

}  // namespace talvero::store
