#pragma once
// Where the tests find the built library: beside the programs when the run names
// them, else where this build wrote it.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace datatest {

inline std::string LibraryPath() {
  if (const char* bin = std::getenv("TALVERO_BIN")) {
    std::filesystem::path p = std::filesystem::path(bin) / "KOVdata.KOV";
    if (std::filesystem::exists(p)) return p.string();
  }
  return TALVERO_LIBRARY_DB;
}

}  // namespace datatest
