#pragma once
// Host side: finds the registered control library, loads it and hands out
// its class factory. Header-only, so the host needs no link against it.
//
//   auto lib = tivolen::TivolenLoader::Open(tivolen::TivolenLoader::RegisteredLibrary());
//   tivolen::ITivolen* list = lib->Factory()->CreateInstance(form, &storedBag);
//   list->Advise(&sink);
//   list->Invoke(tivolen::kDispAddItem, {text, QVariant::fromValue(picture)});
#include <QDir>
#include <QFile>
#include <QString>
#include <QTextStream>
#include <dlfcn.h>
#include <memory>

#include "listbox/tivolen_interface.h"

namespace tivolen {

class TivolenLoader {
 public:
  ~TivolenLoader() {
    if (handle_) dlclose(handle_);
  }
  TivolenLoader(const TivolenLoader&) = delete;
  TivolenLoader& operator=(const TivolenLoader&) = delete;

  // The library recorded for the control's ProgID in the per-user registry
  // file ($XDG_CONFIG_HOME/Talvero3/controls.ini), empty when none.
  static QString RegisteredLibrary() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + "/.config";
    QFile f(base + "/Talvero3/controls.ini");
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&f);
    bool inSection = false;
    while (!in.atEnd()) {
      const QString line = in.readLine().trimmed();
      if (line.startsWith('[')) inSection = line.compare(QString("[") + kCtrlProgId + "]", Qt::CaseInsensitive) == 0;
      else if (inSection && line.startsWith("Library=", Qt::CaseInsensitive)) return line.mid(8).trimmed();
    }
    return {};
  }

  // Nullptr when the library cannot be loaded or offers no control class.
  static std::unique_ptr<TivolenLoader> Open(const QString& libraryPath) {
    if (libraryPath.isEmpty()) return nullptr;
    void* handle = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    std::unique_ptr<TivolenLoader> lib(new TivolenLoader(handle));
    auto getClass = reinterpret_cast<TivolenDllGetClassObject>(dlsym(handle, "DllGetClassObject"));
    lib->canUnload_ = reinterpret_cast<TivolenDllCanUnloadNow>(dlsym(handle, "DllCanUnloadNow"));
    void* ctrl = nullptr;
    void* page = nullptr;
    if (!getClass || getClass(kCtrlProgId, &ctrl) != kSOk) return nullptr;
    getClass(kPropPageProgId, &page);
    lib->factory_ = static_cast<ITivolenFactory*>(ctrl);
    lib->pageFactory_ = static_cast<ITivolenPropPageFactory*>(page);
    return lib;
  }

  ITivolenFactory* Factory() const { return factory_; }
  ITivolenPropPageFactory* PageFactory() const { return pageFactory_; }
  // True when no control of the library is alive any more.
  bool CanUnload() const { return !canUnload_ || canUnload_() == kSOk; }

 private:
  explicit TivolenLoader(void* handle) : handle_(handle) {}
  void* handle_ = nullptr;
  ITivolenFactory* factory_ = nullptr;
  ITivolenPropPageFactory* pageFactory_ = nullptr;
  TivolenDllCanUnloadNow canUnload_ = nullptr;
};

}  // namespace tivolen
