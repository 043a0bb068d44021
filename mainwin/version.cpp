#include "mainwin/version.h"

namespace mainwin {

ProgramVersion TheVersion() {
  return {TALVERO_VERSION_MAJOR, TALVERO_VERSION_MINOR, TALVERO_VERSION_PATCH};
}

std::string VersionText(ProgramVersion v) {
  return "Version " + std::to_string(v.major) + "." + std::to_string(v.minor) + " Build " +
         std::to_string(v.revision);
}

}  // namespace mainwin
