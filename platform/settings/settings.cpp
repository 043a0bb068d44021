#include "platform/settings/settings.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/settings/ini_document.h"

namespace talvero {
namespace {

std::string ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config";
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return std::string(pw->pw_dir) + "/.config";
  return ".config";
}

// nullopt when the file exists but cannot be read; "" when it does not exist.
std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::error_code ec;
    return std::filesystem::exists(path, ec) || ec ? std::nullopt : std::optional<std::string>("");
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

bool WriteReplacing(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  if (ec) return false;
  std::string tmp = path + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  // Keep the old file's permissions; a new one gets the usual ones.
  struct stat st {};
  ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
  const bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!ok || !closed || ::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
}

// The application name becomes a folder and a file name.
bool ValidApp(const std::string& app) {
  return !app.empty() && app != "." && app != ".." && app.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool Storable(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) == std::string::npos; }

// Changes the document read from the application's file and writes it back.
template <typename Change>
bool Rewrite(const std::string& app, Change change) {
  const std::string path = SettingsFilePath(app);
  const std::optional<std::string> text = ReadFile(path);
  if (!text) return false;  // never replace a file we could not read
  IniDocument doc = IniDocument::Parse(*text);
  if (!change(doc)) return true;
  return WriteReplacing(path, doc.Text());
}

}  // namespace

std::string SettingsFilePath(const std::string& app) {
  return ConfigHome() + "/" + app + "/" + app + ".ini";
}

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
  if (!ValidApp(app)) return defaultValue;
  const std::optional<std::string> text = ReadFile(SettingsFilePath(app));
  if (!text) return defaultValue;
  return IniDocument::Parse(*text).Get(section, key).value_or(defaultValue);
}

bool SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
  const auto trimmed = [](const std::string& s) {
    return s.empty() || (s.front() != ' ' && s.front() != '\t' && s.back() != ' ' && s.back() != '\t');
  };
  if (!ValidApp(app) || section.empty() || key.empty() || !Storable(section) || !Storable(key) ||
      !Storable(value) || section.find(']') != std::string::npos || key.find('=') != std::string::npos ||
      !trimmed(section) || !trimmed(key) || key.front() == '[' || key.front() == ';' || key.front() == '#')
    return false;
  return Rewrite(app, [&](IniDocument& doc) {
    if (doc.Get(section, key) == value) return false;
    doc.Set(section, key, value);
    return true;
  });
}

bool DeleteSetting(const std::string& app, const std::string& section, const std::string& key) {
  if (!ValidApp(app)) return false;
  return Rewrite(app, [&](IniDocument& doc) { return doc.Remove(section, key); });
}

}  // namespace talvero
