#pragma once
// The main window's small shared services that need no window: path
// shortening, the plot colour table, the tables of the drives found.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace mainwin {

// The drive (or root) and the first folder of a path of 16 characters or
// more become "...\" (or ".../").
std::string Clean(const std::string& path);

// An application as OpenApps/"List" keeps it: its real path without the
// ".APP" extension (any case), so the next start finds the same file.
std::string StoredAppName(const std::string& path);

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

}  // namespace mainwin
