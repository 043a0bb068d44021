#pragma once
// The names in a drive's program library, read over the link. The names in
// use are packed from slot 0, so the scan stops at the first empty slot.
#include <optional>
#include <string>
#include <vector>

#include "link/isp.h"

namespace talvero {

constexpr int kLibrarySlots = 128;
constexpr const char* kSaveProgramName = "$$SAVE$$";

// Trimmed names in slot order, "$$SAVE$$" included; nullopt when the drive
// did not answer.
std::optional<std::vector<std::string>> ReadLibraryNames(ISP& link, int node);

// Whether the list holds the name (case-blind).
bool HasLibraryName(const std::vector<std::string>& names, const std::string& name);

}  // namespace talvero
