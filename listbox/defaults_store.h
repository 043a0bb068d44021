#pragma once
// The defaults file "TIVOLEN.INI" that new controls read and the property
// page writes; every key is named by its string-table id.
#include <QString>
#include <cstdint>

#include "listbox/ini_file.h"

namespace tivolen {

// String ids of the defaults file's keys.
enum DefaultsKey : int {
  kKeyWidth = 104, kKeyHeight = 105, kKeyBorderEffect = 107, kKeyMultiSelect = 110,
  kKeyScreenUpdate = 111, kKeySort = 112, kKeyPictureTab = 116, kKeyPictureTabLegacy = 117,
  kKeyBackColor = 124, kKeyForeColor = 125, kKeyNumTabs = 126, kKeyTBarHeight = 127,
  kKeyPicTransColor = 128, kKeySelectedForeColor = 129, kKeySelectedBackColor = 130,
  kKeyUserDraw = 131, kKeyShowTitle = 132, kKeyRollUp = 133, kKeyAutoHorizExtent = 134,
  kKeyNoRedraw = 140, kKeyDefHeight = 143, kKeyDragWindow = 150, kKeyMousePointer = 151,
  kKeyFontName = 156, kKeyFontSize = 157, kKeyFontBold = 158, kKeyFontItalic = 159,
  kKeyFontUnderline = 160, kKeyFontStrikethru = 161,
};

class DefaultsStore {
 public:
  // fileName and section from strings 102 and 103; folder: the per-user one.
  explicit DefaultsStore(const QString& folder);

  QString Path() const { return ini_.Path(); }
  int GetInt(int keyId, int def);
  uint32_t GetLong(int keyId, uint32_t def);
  double GetFloat(int keyId, double def);
  QString GetString(int keyId, const QString& def);
  bool WriteInt(int keyId, int value);
  bool WriteFloat(int keyId, double value);
  bool WriteString(int keyId, const QString& text);
  bool DeleteSection();
  bool HasSection();

 private:
  std::optional<QString> Raw(int keyId);
  bool Write(int keyId, const QString& value);
  IniFile ini_;
  QString section_;
};

// The library's module state: help file and the one defaults store.
struct TivolenModule {
  QString helpFile;
  QString libraryPath;
  DefaultsStore* store = nullptr;
};
TivolenModule& Module();

// The help folder: the registry file's value, else the library's folder + "/Help".
QString GetHelpDirectory();

}  // namespace tivolen
