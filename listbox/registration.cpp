// The library's class factories and its four registration entry points.
#include <QFileInfo>
#include <atomic>

#include "listbox/defaults_store.h"
#include "listbox/prop_page.h"
#include "listbox/registry_file.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {

namespace {

std::atomic<int> liveObjects{0};
std::atomic<int> locks{0};

// Counts the object as live until it is destroyed.
template <typename T>
T* Counted(T* object) {
  ++liveObjects;
  QObject::connect(object, &QObject::destroyed, [] { --liveObjects; });
  return object;
}

class ControlFactory : public ITivolenFactory {
 public:
  ITivolen* CreateInstance(QWidget* parent, const PropertyBag* bag, bool userMode) override {
    auto* ctrl = Counted(new TivolenCtrl(parent));
    if (bag) ctrl->Load(*bag);
    else ctrl->ResetToDefaults();
    if (userMode) ctrl->CreateListWindow();
    ctrl->SetModified(false);
    return ctrl;
  }
  void LockServer(bool lock) override { lock ? ++locks : --locks; }
};

class PropPageFactory : public ITivolenPropPageFactory {
 public:
  QDialog* CreatePage(ITivolen* control, QWidget* parent) override {
    auto* ctrl = dynamic_cast<TivolenCtrl*>(control);
    if (!ctrl) return nullptr;
    return Counted(new TivolenPropPage(ctrl, parent));
  }
};

bool Matches(const char* id, const char* progId, const char* clsid) {
  const QString s = QString::fromLatin1(id);
  return s.compare(progId, Qt::CaseInsensitive) == 0 || s.compare(clsid, Qt::CaseInsensitive) == 0;
}

}  // namespace

}  // namespace tivolen

using namespace tivolen;

extern "C" __attribute__((visibility("default"))) int DllRegisterServer() {
  const QString lib = Module().libraryPath;
  const QString help = GetHelpDirectory();
  return RegistryFile().Register(lib, help) ? kSOk : kRegistryWriteFailed;
}

extern "C" __attribute__((visibility("default"))) int DllUnregisterServer() {
  return RegistryFile().Unregister() ? kSOk : kRegistryWriteFailed;
}

extern "C" __attribute__((visibility("default"))) int DllGetClassObject(const char* classId, void** factory) {
  if (!factory) return kClassNotAvailable;
  *factory = nullptr;
  if (!classId) return kClassNotAvailable;
  static ControlFactory control;
  static PropPageFactory page;
  if (Matches(classId, kCtrlProgId, kCtrlClsid)) {
    *factory = static_cast<ITivolenFactory*>(&control);
    return kSOk;
  }
  if (Matches(classId, kPropPageProgId, kPropPageClsid)) {
    *factory = static_cast<ITivolenPropPageFactory*>(&page);
    return kSOk;
  }
  return kClassNotAvailable;
}

extern "C" __attribute__((visibility("default"))) int DllCanUnloadNow() {
  return liveObjects == 0 && locks == 0 ? kSOk : kSFalse;
}
