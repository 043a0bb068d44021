#include "listbox/registry_file.h"

#include "listbox/string_table.h"
#include "listbox/tivolen_interface.h"

namespace tivolen {

RegistryFile::RegistryFile() : ini_(UserConfigFolder() + "/controls.ini") {}

QString RegistryFile::HelpDirectory() const { return ini_.Get(kHelpDirectoryKey, "@").value_or(QString()); }

QString RegistryFile::LibraryFor(const QString& id) const {
  for (const char* progId : {kCtrlProgId, kPropPageProgId}) {
    if (id.compare(progId, Qt::CaseInsensitive) == 0 ||
        id.compare(ini_.Get(progId, "CLSID").value_or("-"), Qt::CaseInsensitive) == 0)
      return ini_.Get(progId, "Library").value_or(QString());
  }
  return {};
}

bool RegistryFile::Register(const QString& libraryPath, const QString& helpDirectory) {
  ini_.Reload();
  ini_.Set(kCtrlProgId, "CLSID", kCtrlClsid);
  ini_.Set(kCtrlProgId, "TypeName", LoadString(1));
  ini_.Set(kCtrlProgId, "Library", libraryPath);
  ini_.Set(kCtrlProgId, "Verb", LoadString(3));
  ini_.Set(kCtrlProgId, "PropertyPage", kPropPageProgId);
  ini_.Set(kCtrlProgId, "TypeLibrary", "TivolenLib 4.1");
  ini_.Set(kPropPageProgId, "CLSID", kPropPageClsid);
  ini_.Set(kPropPageProgId, "TypeName", LoadString(2));
  ini_.Set(kPropPageProgId, "Library", libraryPath);
  ini_.Set(kHelpDirectoryKey, "@", helpDirectory);
  return ini_.Save();
}

bool RegistryFile::Unregister() {
  ini_.Reload();
  ini_.DeleteSection(kCtrlProgId);
  ini_.DeleteSection(kPropPageProgId);
  ini_.DeleteSection(kHelpDirectoryKey);
  return ini_.Save();
}

}  // namespace tivolen
