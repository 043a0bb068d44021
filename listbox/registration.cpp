// The library's class factories and its four registration entry points.
#include <QFileInfo>
#include <atomic>
#include <iterator>

#include "listbox/defaults_store.h"
#include "listbox/prop_sheet.h"
#include "listbox/property_page.h"
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
  explicit PropPageFactory(const char* progId) : progId_(progId) {}
  QDialog* CreatePage(ITivolen* control, QWidget* parent) override {
    auto* ctrl = dynamic_cast<TivolenCtrl*>(control);
    if (!ctrl) return nullptr;
    PropertyPage* page = MakePropertyPage(progId_, ctrl, parent);
    return page ? Counted(page) : nullptr;
  }

 private:
  const char* progId_;
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
  static PropPageFactory pages[] = {PropPageFactory(kPropertyPages[0].progId), PropPageFactory(kPropertyPages[1].progId),
                                    PropPageFactory(kPropertyPages[2].progId), PropPageFactory(kPropertyPages[3].progId)};
  static_assert(std::size(pages) == std::size(kPropertyPages));
  if (Matches(classId, kCtrlProgId, kCtrlClsid)) {
    *factory = static_cast<ITivolenFactory*>(&control);
    return kSOk;
  }
  for (size_t i = 0; i < std::size(kPropertyPages); ++i) {
    if (Matches(classId, kPropertyPages[i].progId, kPropertyPages[i].clsid)) {
      *factory = static_cast<ITivolenPropPageFactory*>(&pages[i]);
      return kSOk;
    }
  }
  return kClassNotAvailable;
}

extern "C" __attribute__((visibility("default"))) int DllCanUnloadNow() {
  return liveObjects == 0 && locks == 0 ? kSOk : kSFalse;
}
