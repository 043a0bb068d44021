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
  uint64_t rowsRead = 0;
};

// A Jet file that is no application, or can't be read, gives the reason.
// The path's file is read in a child process, so that a file that makes
// libmdb crash or loop is told as damaged.
dao::Result<LegacyApplication> ReadLegacyApplication(const std::string& path);
dao::Result<LegacyApplication> ReadLegacyApplication(jet::File& file);
// Test hook: fault runs in that child before it reads (a crash or a hang
// planted there); limitMs is how long reading may take (default 10 s).
void SetLegacyReadFault(void (*fault)(), int limitMs);

// A new application file of ours at path (which must not exist yet).
dao::Status WriteApplication(const LegacyApplication& app, const std::string& path);

// Where the original of path is kept: path + ".jet", or the first free of
// path + ".2.jet", ".3.jet", ...
std::string KeptOriginalName(const std::string& path);

// Replaces the file at path by app in this program's format, through the
// file layer, after keeping the original untouched under kept. A failure
// leaves path as it was and kept absent.
dao::Status ConvertLegacyApplication(const LegacyApplication& app, const std::string& path, const std::string& kept);

}  // namespace talvero::store
