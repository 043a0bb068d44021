#include "listbox/registry_file.h"

#include <iterator>

#include "listbox/string_table.h"
#include "listbox/tivolen_interface.h"

namespace tivolen {

RegistryFile::RegistryFile() : ini_(UserConfigFolder() + "/controls.ini") {}

QString RegistryFile::HelpDirectory() const { return ini_.Get(kHelpDirectoryKey, "@").value_or(QString()); }

QString RegistryFile::LibraryFor(const QString& id) const {
  QStringList progIds{kCtrlProgId};
  for (const PageClass& page : kPropertyPages) progIds << page.progId;
  for (const QString& progId : progIds) {
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
  // The sheet's pages, in its order: the control's own, then font, colour, picture.
  QStringList pages;
  for (const PageClass& page : kPropertyPages) pages << page.progId;
  ini_.Set(kCtrlProgId, "PropertyPages", pages.join(','));
  ini_.Set(kCtrlProgId, "TypeLibrary", "TivolenLib 4.1");
  const QString pageNames[] = {LoadString(2), "Valdrune Font Property Page", "Valdrune Color Property Page",
                               "Valdrune Picture Property Page"};
  for (size_t i = 0; i < std::size(kPropertyPages); ++i) {
    ini_.Set(kPropertyPages[i].progId, "CLSID", kPropertyPages[i].clsid);
    ini_.Set(kPropertyPages[i].progId, "TypeName", pageNames[i]);
    ini_.Set(kPropertyPages[i].progId, "Library", libraryPath);
  }
  ini_.Set(kHelpDirectoryKey, "@", helpDirectory);
  return ini_.Save();
}

bool RegistryFile::Unregister() {
  ini_.Reload();
  ini_.DeleteSection(kCtrlProgId);
  for (const PageClass& page : kPropertyPages) ini_.DeleteSection(page.progId);
  ini_.DeleteSection(kHelpDirectoryKey);
  return ini_.Save();
}

}  // namespace tivolen
