#pragma once
// The per-user registry of controls: $XDG_CONFIG_HOME/Talvero3/controls.ini.
// One section per ProgID (CLSID, Library, TypeName, ...), and the help
// folder under "Software\Valdrune\Brondell\HelpDirectory", value "@".
#include <QString>

#include "listbox/ini_file.h"

namespace tivolen {

class RegistryFile {
 public:
  RegistryFile();
  QString Path() const { return ini_.Path(); }
  QString HelpDirectory() const;
  // The library registered for a ProgID or class id, empty when none.
  QString LibraryFor(const QString& progIdOrClsid) const;

  bool Register(const QString& libraryPath, const QString& helpDirectory);
  bool Unregister();

 private:
  IniFile ini_;
};

inline constexpr const char* kHelpDirectoryKey = "Software\\Valdrune\\Brondell\\HelpDirectory";

}  // namespace tivolen
