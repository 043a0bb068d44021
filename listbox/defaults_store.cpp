#include "listbox/defaults_store.h"

#include <QFileInfo>
#include <dlfcn.h>

#include "listbox/registry_file.h"
#include "listbox/string_table.h"

namespace tivolen {

DefaultsStore::DefaultsStore(const QString& folder)
    : ini_(folder + "/" + LoadString(102).left(12)), section_(LoadString(103).left(19)) {}

std::optional<QString> DefaultsStore::Raw(int keyId) {
  const QString key = LoadString(keyId).left(49);
  if (key.isEmpty()) return std::nullopt;
  ini_.Reload();
  auto v = ini_.Get(section_, key);
  // Older files keep PictureTab under the text of its error message.
  if (!v && keyId == kKeyPictureTab) v = ini_.Get(section_, LoadString(kKeyPictureTabLegacy).left(49));
  return v;
}

int DefaultsStore::GetInt(int keyId, int def) {
  auto v = Raw(keyId);
  if (!v) return def;
  return ProfileInt(*v);
}

uint32_t DefaultsStore::GetLong(int keyId, uint32_t def) {
  auto v = Raw(keyId);
  if (!v || v->isEmpty()) return def;
  // The leading decimal number, as the system's conversion reads it (0 when there is none).
  const QString t = v->left(19).trimmed();
  int i = t.startsWith('-') || t.startsWith('+') ? 1 : 0;
  qint64 n = 0;
  for (; i < t.size() && t[i].isDigit() && n <= 0xFFFFFFFFLL; ++i) n = n * 10 + t[i].digitValue();
  return uint32_t(t.startsWith('-') ? -n : n);
}

double DefaultsStore::GetFloat(int keyId, double def) {
  auto v = Raw(keyId);
  bool ok = false;
  const double d = v ? v->trimmed().toDouble(&ok) : 0.0;
  return ok ? d : def;
}

QString DefaultsStore::GetString(int keyId, const QString& def) {
  auto v = Raw(keyId);
  return v ? *v : def;
}

bool DefaultsStore::Write(int keyId, const QString& value) {
  const QString key = LoadString(keyId).left(49);
  if (key.isEmpty()) return false;
  ini_.Reload();
  ini_.Set(section_, key, value);
  return ini_.Save();
}

bool DefaultsStore::WriteInt(int keyId, int value) { return Write(keyId, QString::number(value)); }

bool DefaultsStore::WriteFloat(int keyId, double value) {
  return Write(keyId, QString::number(value, 'g', 7));
}

bool DefaultsStore::WriteString(int keyId, const QString& text) { return Write(keyId, text); }

bool DefaultsStore::DeleteSection() {
  ini_.Reload();
  return ini_.DeleteSection(section_) && ini_.Save();
}

bool DefaultsStore::HasSection() {
  ini_.Reload();
  return ini_.HasSection(section_);
}

namespace {
void Anchor() {}

// The file this library was loaded from; nullopt when the loader cannot say.
std::optional<QFileInfo> LibraryFile() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&Anchor), &info) || !info.dli_fname) return std::nullopt;
  return QFileInfo(QString::fromLocal8Bit(info.dli_fname));
}
}  // namespace

TivolenModule& Module() {
  static TivolenModule module = [] {
    TivolenModule m;
    if (auto lib = LibraryFile()) m.libraryPath = lib->absoluteFilePath();
    m.helpFile = GetHelpDirectory() + "/TIVOLE.HLP";
    return m;
  }();
  // The store follows the per-user folder, which tests move between runs.
  static DefaultsStore* store = nullptr;
  static QString storeFolder;
  if (!store || storeFolder != UserConfigFolder()) {
    delete store;
    storeFolder = UserConfigFolder();
    store = new DefaultsStore(storeFolder);
  }
  module.store = store;
  return module;
}

QString GetHelpDirectory() {
  const QString fromRegistry = RegistryFile().HelpDirectory();
  if (!fromRegistry.isEmpty()) return fromRegistry.left(260);
  if (auto lib = LibraryFile()) return lib->absolutePath() + "/Help";
  return "Help";
}

}  // namespace tivolen
