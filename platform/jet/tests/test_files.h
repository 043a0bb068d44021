#pragma once
// Small helpers of the Jet tests: whole files and a command's output.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace talvero::jet::testing {

inline std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

inline std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

}  // namespace talvero::jet::testing
