#pragma once
// What the drive search remembers of each node 0..31.
#include <array>
#include <string>

namespace talvero {

struct DriveEntry {
  std::string driveText;  // "" = no drive at this node
  std::string family;     // "RHO", "TAU", "PHI", "PSI" or what the drive reported
  std::string serialText;
  std::string kernelText;
  bool simple = false;
};

struct NodeTables {
  std::array<DriveEntry, 32> nodes;
  static bool Valid(int node) { return node >= 0 && node < 32; }
  bool HasDrive(int node) const { return Valid(node) && !nodes[size_t(node)].driveText.empty(); }
  // "" for a node outside 0..31.
  std::string FamilyOf(int node) const { return Valid(node) ? at(node).family : std::string(); }
  const DriveEntry& at(int node) const { return nodes[size_t(node)]; }
  DriveEntry& at(int node) { return nodes[size_t(node)]; }
};

}  // namespace talvero
