#pragma once
// The user settings read at start-up, each checked and written back the way
// the program will use it, so a damaged settings file heals on the first start.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mainwin {

struct SettingsIO {
  std::function<std::string(const std::string& section, const std::string& key,
                            const std::string& def)> get;
  std::function<void(const std::string& section, const std::string& key,
                     const std::string& value)> save;
};

// A whole number at the start of a setting; nullopt when there is none.
std::optional<long> SettingNumber(const std::string& text);

// Port indexes (0..7) the start-up probe tries: all for CPS 0, the one named
// port for 1..8, none for a port with no menu item.
std::vector<int> ProbeRange(const SettingsIO& io);

// Plot colours 1..5, written back (defaults replace unreadable values).
int32_t ReadPlotColour(const SettingsIO& io, int k);
extern const int32_t kDefaultPlotColours[6];

// True on the first start; marks the start as done.
bool ReadFirstRun(const SettingsIO& io);

// The tips setting, written back as it was.
bool ReadTips(const SettingsIO& io);

// The saved port, 0 = off-line; negative values give 0, unreadable ones the default 1.
int ReadSavedPort(const SettingsIO& io);

struct LinkSettings {
  int firstByteTimeout = 750;
  int nextByteTimeout = 300;
  int retries = 8;
};
constexpr int kMinFirstByte = 750, kMinNextByte = 300;
constexpr int kMaxTimeout = 32767;  // the link keeps 16-bit times
constexpr int kMinRetries = 1, kMaxRetries = 20;
// Raised to their minimums, kept below their maximums, written back.
LinkSettings ReadLinkSettings(const SettingsIO& io);

// The command line the service keyword is looked for in: the arguments
// after the program's own path, which may contain any word.
std::string CommandLine(const std::vector<std::string>& argv);

// Names in OpenApps/"List": each item ends with ";", empty items are skipped.
// Inside an item "%3B" stands for ";" and "%25" for "%", so a path holding
// ";" comes back whole; lists written before that read as they were.
std::vector<std::string> SplitOpenApps(const std::string& list);
std::string JoinOpenApps(const std::vector<std::string>& items);

}  // namespace mainwin
