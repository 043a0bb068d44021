#pragma once
// The face names the control and the program's windows ask for, as the old
// desktop named them, mapped to the metric twins installed with the program,
// so that widths computed for the old faces hold. Header-only: the control
// installs the mapping when it makes a control, the program once at start.
#include <QFont>
#include <utility>

namespace tivolen {

inline constexpr std::pair<const char*, const char*> kLegacyFaces[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

inline void InstallLegacyFaces() {
  static const bool installed = [] {
    for (const auto& [face, twin] : kLegacyFaces) QFont::insertSubstitution(face, twin);
    return true;
  }();
  (void)installed;
}

}  // namespace tivolen
