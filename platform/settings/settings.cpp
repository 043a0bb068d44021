#include "platform/settings/settings.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "platform/files/file_reason.h"
#include "platform/files/replacing_file.h"
#include "platform/files/whole_file.h"
#include "platform/settings/ini_document.h"
#include "platform/ui/prompter.h"

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

constexpr off_t kMaxFileBytes = 1 << 20;

// Identifies one version of the file, so a change made behind our back is read again.
struct Stamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = -1;
  int64_t mtimeNs = -1;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The file as last read: its parsed text, or why it was left alone.
struct Loaded {
  bool exists = false;
  Stamp stamp;
  std::optional<IniDocument> doc;  // nullopt: not read, defaults apply and saves are refused
  std::string problem;             // why not, for the one message
  bool told = false;
  bool toldUnsaved = false;        // a failed save was told; a good one tells the next again
};

// Reads the file only when it is a regular file of at most 1 MiB: a link to
// /dev/zero or a fifo would otherwise never end or never begin.
Loaded ReadSafely(const std::string& path) {
  Loaded out;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      out.doc = IniDocument::Parse("");
      return out;
    }
    out.exists = true;
    out.problem = std::string("can't be reached (") + std::strerror(errno) + ")";
    return out;
  }
  out.exists = true;
  out.stamp = StampOf(st);
  if (std::string kind = FileKindText(st.st_mode); !kind.empty()) {
    out.problem = "is " + kind;
    return out;
  }
  if (st.st_size > kMaxFileBytes) {
    out.problem = "is larger than 1 MiB (" + std::to_string(st.st_size) + " bytes)";
    return out;
  }
  const FileRead file = ReadWholeFile(path, 0, kMaxFileBytes);
  if (file.end == FileRead::End::Unreadable) {
    out.problem = std::string("can't be read (") + file.reason + ")";
    return out;
  }
  if (!file) {
    out.problem = "changed while it was read";
    return out;
  }
  out.doc = IniDocument::Parse(file.bytes);
  return out;
}

// A message box runs events, which may read a setting again: hence recursive.
std::recursive_mutex cacheMutex;
std::map<std::string, Loaded>& Cache() {
  static std::map<std::string, Loaded> cache;
  return cache;
}

// The file's document, read once and kept while the file stays as it was.
// The caller holds cacheMutex.
Loaded& Load(const std::string& path) {
  Loaded& entry = Cache()[path];
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  const bool loaded = entry.doc || !entry.problem.empty();
  const bool same = loaded && (exists ? entry.exists && entry.stamp == StampOf(st) : !entry.exists);
  if (!same) {
    const bool told = entry.told;
    const bool toldUnsaved = entry.toldUnsaved;
    entry = ReadSafely(path);
    entry.told = told && !entry.problem.empty();
    entry.toldUnsaved = toldUnsaved;
  }
  if (!entry.problem.empty() && !entry.told) {
    entry.told = true;
    talvero::MessageBox box;
    box.text = "The settings file " + path + " " + entry.problem +
               ", so it was not read and is left as it is.\n\nTalvero uses its default settings.";
    box.icon = talvero::Icon::Exclamation;
    talvero::ThePrompter().Message(box);
  }
  return entry;
}

// Why the file could not be written, nullopt when it was.
std::optional<std::string> WriteReplacing(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  std::error_code ec;
  std::filesystem::create_directories(target.parent_path(), ec);
  if (ec) return "its folder " + target.parent_path().string() + " cannot be made (" + FileErrorText(ec.value()) + ")";
  return WriteWholeFile(path, text);
}

// One box for a run of failed saves; the caller holds cacheMutex.
void TellUnsaved(Loaded& entry, const std::string& path, const std::string& why) {
  if (entry.toldUnsaved) return;
  entry.toldUnsaved = true;
  talvero::MessageBox box;
  box.text = "The settings were not saved: " + path + " cannot be written: " + why +
             ".\n\nThe settings file is left as it was.";
  box.icon = talvero::Icon::Exclamation;
  talvero::ThePrompter().Message(box);
}

// The application name becomes a folder and a file name.
bool ValidApp(const std::string& app) {
  return !app.empty() && app != "." && app != ".." && app.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool Storable(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) == std::string::npos; }

// Changes the application's document and writes it back; the kept copy
// follows only what reached the file.
template <typename Change>
bool Rewrite(const std::string& app, Change change) {
  const std::string path = SettingsFilePath(app);
  std::lock_guard<std::recursive_mutex> lock(cacheMutex);
  Loaded& entry = Load(path);
  if (!entry.doc) return false;  // never replace a file we did not read
  IniDocument doc = *entry.doc;
  if (!change(doc)) return true;
  if (const std::optional<std::string> why = WriteReplacing(path, doc.Text())) {
    TellUnsaved(entry, path, *why);
    return false;
  }
  entry.toldUnsaved = false;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    entry.exists = true;
    entry.stamp = StampOf(st);
    entry.doc = std::move(doc);
  } else {
    Cache().erase(path);
  }
  return true;
}

}  // namespace

std::string SettingsFilePath(const std::string& app) {
  return ConfigHome() + "/" + app + "/" + app + ".ini";
}

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
  if (!ValidApp(app)) return defaultValue;
  std::lock_guard<std::recursive_mutex> lock(cacheMutex);
  const Loaded& entry = Load(SettingsFilePath(app));
  if (!entry.doc) return defaultValue;
  return entry.doc->Get(section, key).value_or(defaultValue);
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
