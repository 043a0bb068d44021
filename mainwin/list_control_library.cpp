#include "mainwin/list_control_library.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <dlfcn.h>
#include <map>

#include "listbox/tivolen_loader.h"

namespace {

// Each library stays loaded as long as the process lives, so the map is
// never destroyed either: what it holds stays reachable to the very end.
std::map<QString, tivolen::TivolenLoader*>& Loaded() {
  static auto* loaded = new std::map<QString, tivolen::TivolenLoader*>;
  return *loaded;
}

std::string LastDlError(const char* otherwise) {
  const char* e = dlerror();
  return e ? std::string(e) : std::string(otherwise);
}

void* OpenLibrary(const QString& path, std::string& why) {
  if (!QFileInfo::exists(path)) {
    why = "the file does not exist";
    return nullptr;
  }
  dlerror();
  void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    why = LastDlError("it is not a loadable library");
    const std::string named = path.toStdString() + ": ";  // the message names it already
    if (why.rfind(named, 0) == 0) why.erase(0, named.size());
  }
  return handle;
}

// Why the loader gave no factory. The handle is left open: once a Qt library
// has run its initialisers, unloading it is not worth the risk.
std::string Diagnose(const QString& path) {
  std::string why;
  void* handle = OpenLibrary(path, why);
  if (!handle) return why;
  if (!dlsym(handle, "DllGetClassObject")) return "it has no DllGetClassObject entry point";
  return "it offers no picture list box class";
}

// False only when the candidate cannot run at all; a registry that cannot be
// written is no reason to do without the control.
bool Register(const QString& candidate, std::string& why) {
  void* handle = OpenLibrary(candidate, why);
  if (!handle) return false;
  auto reg = reinterpret_cast<TivolenDllRegisterServer>(dlsym(handle, "DllRegisterServer"));
  if (!reg) {
    why = "it has no DllRegisterServer entry point";
    return false;
  }
  reg();
  return true;
}

}  // namespace

std::string DefaultListControlPath() {
  const char* bin = std::getenv("TALVERO_BIN");
  const QString dir = bin && *bin ? QString::fromLocal8Bit(bin) : QCoreApplication::applicationDirPath();
  return (dir + "/libtivole32.so").toStdString();
}

ListControlLibrary LoadListControl(const std::string& candidate) {
  ListControlLibrary out;
  const QString given = QString::fromStdString(candidate);
  QString path = tivolen::TivolenLoader::RegisteredLibrary();
  if (path.isEmpty() || !QFileInfo::exists(path)) {
    out.path = candidate;
    if (!Register(given, out.reason)) return out;
    path = tivolen::TivolenLoader::RegisteredLibrary();
    if (path.isEmpty() || !QFileInfo::exists(path)) path = given;
  }
  out.path = path.toStdString();
  auto& loaded = Loaded();
  auto it = loaded.find(path);
  if (it == loaded.end()) {
    auto lib = tivolen::TivolenLoader::Open(path);
    if (!lib) {
      out.reason = Diagnose(path);
      return out;
    }
    it = loaded.emplace(path, lib.release()).first;
  }
  out.factory = it->second->Factory();
  return out;
}
