#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_registry.h"
#include "fuzz/fuzz_target.h"

namespace fuzz {

std::map<std::string, Entry>& Targets() {
  static std::map<std::string, Entry> targets;
  return targets;
}

Registration::Registration(const char* name, Entry entry) { Targets()[name] = entry; }

void Violated(const char* file, int line, const std::string& what) {
#if defined(TALVERO_LIBFUZZER)
  std::fprintf(stderr, "invariant broken at %s:%d: %s\n", file, line, what.c_str());
  std::abort();
#else
  throw Violation(std::string(file) + ":" + std::to_string(line) + ": " + what);
#endif
}

std::string BinFolder() {
  if (const char* bin = std::getenv("TALVERO_BIN")) return bin;
  return TALVERO_FUZZ_BIN;
}

}  // namespace fuzz
