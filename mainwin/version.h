#pragma once
#include <string>

namespace mainwin {

// The program's own version numbers.
struct ProgramVersion {
  int major, minor, revision;
};
ProgramVersion TheVersion();
// "Version " major "." minor " Build " revision, no leading zeros.
std::string VersionText(ProgramVersion v = TheVersion());

}  // namespace mainwin
