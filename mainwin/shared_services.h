#pragma once
// The main window's small shared services that need no window: path
// shortening, the plot colour table, the tables of the drives found.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace mainwin {

// The drive and the first folder of a long path become "...\".
std::string Clean(const std::string& path);

// Entries 0..16; 1..5 come from the user settings at start-up.
class PlotColours {
 public:
  using Saver = std::function<void(const std::string& key, const std::string& value)>;
  explicit PlotColours(Saver save = {}) : save_(std::move(save)) {}
  int32_t PCol(int i) const;
  // Sets the entry and stores it at once under its decimal index.
  void PSCol(int i, int32_t colour);
  void Load(int i, int32_t colour);  // start-up: no write
  void SetSaver(Saver save) { save_ = std::move(save); }

 private:
  std::array<int32_t, 17> table_{};
  Saver save_;
};

// What the drive search learnt of each node 0..31.
struct NodeTables {
  static constexpr int kNodes = 32;
  std::array<std::string, kNodes> driveText;  // "" = no drive
  std::array<std::string, kNodes> family;     // left as it was when a node goes empty
  std::array<std::string, kNodes> serial;
  std::array<std::string, kNodes> kernel;
  std::array<bool, kNodes> simple{};

  static bool ValidNode(int n) { return n >= 0 && n < kNodes; }
  // "" for a node outside 0..31 rather than a read past the tables.
  std::string DriveText(int n) const { return ValidNode(n) ? driveText[n] : std::string(); }
  std::string Family(int n) const { return ValidNode(n) ? family[n] : std::string(); }
  // which = 1: the serial text; anything else: the kernel text.
  std::string SerialandVersion(int n, int which) const;
  bool IsSimple(int n) const { return ValidNode(n) && simple[n]; }
  void ClearDriveTexts();
};

// True when the family code occurs in codes. An empty code (an axis or a
// node of unknown family) matches nothing.
bool FamilyMatches(const std::string& codes, const std::string& code);

}  // namespace mainwin
