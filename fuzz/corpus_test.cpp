// Every checked-in input of every fuzz target, replayed: the seeds and each
// input that once crashed a target or broke its invariants.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_registry.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpus, EveryTargetHasSeedsAndEveryInputKeepsItsInvariants) {
  const fs::path root = TALVERO_FUZZ_CORPUS;
  ASSERT_FALSE(fuzz::Targets().empty());
  for (const auto& [name, entry] : fuzz::Targets()) {
    const fs::path dir = root / ("fuzz_" + name);
    ASSERT_TRUE(fs::is_directory(dir)) << "no corpus for " << name;
    int inputs = 0;
    for (const auto& file : fs::directory_iterator(dir)) {
      if (!file.is_regular_file()) continue;
      ++inputs;
      const std::vector<uint8_t> bytes = ReadAll(file.path());
      try {
        entry(bytes.data(), bytes.size());
      } catch (const fuzz::Violation& v) {
        ADD_FAILURE() << name << " on " << file.path().filename() << ": " << v.what();
      }
    }
    EXPECT_GT(inputs, 0) << "no inputs for " << name;
  }
}

}  // namespace
