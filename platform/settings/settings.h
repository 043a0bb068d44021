#pragma once
// User settings by application, section and key, kept in one INI text file per application.
#include <string>

namespace talvero {

// $XDG_CONFIG_HOME/<app>/<app>.ini; XDG_CONFIG_HOME unset, empty or relative means
// $HOME/.config.
std::string SettingsFilePath(const std::string& app);

// The stored value, or defaultValue when the file, the section or the key is missing or
// the file cannot be read. Sections and keys compare case-blind.
std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue = "");

// Writes the whole file anew beside the old one and renames it over, creating the folder,
// so a failed save leaves the previous file whole. False when it could not be written, or
// when a name or the value cannot be stored in the file (a line end, "=" in a key, "]" in
// a section, an empty key or section). Blanks around the value are not kept.
bool SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value);

// Removes the key (an empty key: the whole section). True when it is gone afterwards,
// false only when the file could not be rewritten.
bool DeleteSetting(const std::string& app, const std::string& section, const std::string& key);

}  // namespace talvero
