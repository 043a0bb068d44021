// The built library through its entry points, as the program loads it.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "listbox/tivolen_interface.h"
#include "listbox/tivolen_loader.h"

namespace tivolen {
namespace {

class Library : public testing::Test {
 protected:
  void SetUp() override {
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QByteArray bin = qgetenv("TALVERO_BIN");
    ASSERT_FALSE(bin.isEmpty()) << "TALVERO_BIN is not set";
    handle = dlopen((bin + "/libtivole32.so").constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    reg = reinterpret_cast<TivolenDllRegisterServer>(dlsym(handle, "DllRegisterServer"));
    unreg = reinterpret_cast<TivolenDllUnregisterServer>(dlsym(handle, "DllUnregisterServer"));
    getClass = reinterpret_cast<TivolenDllGetClassObject>(dlsym(handle, "DllGetClassObject"));
    canUnload = reinterpret_cast<TivolenDllCanUnloadNow>(dlsym(handle, "DllCanUnloadNow"));
    ASSERT_TRUE(reg && unreg && getClass && canUnload);
  }
  void TearDown() override {
    if (handle) dlclose(handle);
  }
  QString Registry() {
    QFile f(dir.path() + "/Talvero3/controls.ini");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  QTemporaryDir dir;
  void* handle = nullptr;
  TivolenDllRegisterServer reg = nullptr;
  TivolenDllUnregisterServer unreg = nullptr;
  TivolenDllGetClassObject getClass = nullptr;
  TivolenDllCanUnloadNow canUnload = nullptr;
};

TEST_F(Library, RegistersItsClassesInThePerUserRegistry) {
  ASSERT_EQ(reg(), kSOk);
  const QString text = Registry();
  EXPECT_TRUE(text.contains("[TIVOLEN.TivolenCtrl.1]"));
  EXPECT_TRUE(text.contains("[TIVOLEN.TivolenPropPage.1]"));
  // The sheet's four pages, in its order, each a class of its own.
  EXPECT_TRUE(text.contains("PropertyPages=TIVOLEN.TivolenPropPage.1,TIVOLEN.StockFontPage.1,"
                            "TIVOLEN.StockColorPage.1,TIVOLEN.StockPicturePage.1\n"))
      << text.toStdString();
  for (const char* page : {"StockFontPage", "StockColorPage", "StockPicturePage"})
    EXPECT_TRUE(text.contains(QString("[TIVOLEN.%1.1]").arg(page))) << page;
  EXPECT_TRUE(text.contains(QString("CLSID=") + kCtrlClsid));
  EXPECT_TRUE(text.contains("TypeName=Valdrune Picture ListBox Control"));
  EXPECT_TRUE(text.contains("Library=" + QString::fromLocal8Bit(qgetenv("TALVERO_BIN")) + "/libtivole32.so"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("[Software\\Valdrune\\Brondell\\HelpDirectory]\n@="));
  ASSERT_EQ(unreg(), kSOk);
  EXPECT_FALSE(Registry().contains("TIVOLEN."));
}

TEST_F(Library, FactoryMakesAWorkingControl) {
  void* raw = nullptr;
  EXPECT_EQ(getClass("NO.SuchClass.1", &raw), kClassNotAvailable);
  EXPECT_EQ(raw, nullptr);
  ASSERT_EQ(getClass(kCtrlProgId, &raw), kSOk);
  auto* factory = static_cast<ITivolenFactory*>(raw);
  QWidget host;
  MemoryPropertyBag bag;
  bag.Write("NumTabs", 3);
  bag.Write("Caption", QString("Steps"));
  ITivolen* ctrl = factory->CreateInstance(&host, &bag);
  ASSERT_NE(ctrl, nullptr);
  EXPECT_EQ(canUnload(), kSFalse);
  struct Sink : TivolenEvents {
    int rollUps = 0;
    void RollUp() override { ++rollUps; }
  } sink;
  ctrl->Advise(&sink);
  EXPECT_EQ(ctrl->GetProperty(ctrl->DispIdOfName("NumTabs")).value.toInt(), 3);
  EXPECT_EQ(ctrl->GetProperty(kDispCaption).value.toString(), "Steps");
  ASSERT_TRUE(ctrl->Invoke(kDispAddItem, {QString("one\t1")}).ok());
  ASSERT_TRUE(ctrl->Invoke(kDispAddItem, {QString("two\t2")}).ok());
  EXPECT_EQ(ctrl->GetProperty(kDispListCount).value.toInt(), 2);
  EXPECT_EQ(ctrl->GetProperty(kDispNewIndex).value.toInt(), 1);
  DispResult bad = ctrl->PutProperty(kDispItemData, 5, {QVariant::fromValue<short>(2)});
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error->code, 381);
  ASSERT_TRUE(ctrl->PutProperty(kDispRollUp, QVariant::fromValue<short>(-1)).ok());
  EXPECT_EQ(sink.rollUps, 1);
  MemoryPropertyBag saved;
  ctrl->Save(saved);
  EXPECT_EQ(saved.Values().value("NumTabs").toInt(), 3);
  EXPECT_TRUE(saved.Values().value("RollUp").toBool());
  EXPECT_TRUE(saved.Values().contains("TabStop49"));

  void* pageRaw = nullptr;
  ASSERT_EQ(getClass(kPropPageClsid, &pageRaw), kSOk);
  QDialog* page = static_cast<ITivolenPropPageFactory*>(pageRaw)->CreatePage(ctrl, nullptr);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->windowTitle(), "General");
  delete page;
  QStringList captions;
  for (const PageClass& c : kPropertyPages) {
    ASSERT_EQ(getClass(c.clsid, &pageRaw), kSOk) << c.progId;
    QDialog* p = static_cast<ITivolenPropPageFactory*>(pageRaw)->CreatePage(ctrl, nullptr);
    ASSERT_NE(p, nullptr) << c.progId;
    captions << p->windowTitle();
    EXPECT_EQ(canUnload(), kSFalse) << "a page keeps the library";
    delete p;
  }
  EXPECT_EQ(captions, (QStringList{"General", "Fonts", "Colors", "Pictures"}));
  delete ctrl->Widget();
  EXPECT_EQ(canUnload(), kSOk);
  factory->LockServer(true);
  EXPECT_EQ(canUnload(), kSFalse);
  factory->LockServer(false);
}

TEST_F(Library, ANewControlStartsFromTheDefaultsFile) {
  QDir().mkpath(dir.path() + "/Talvero3");
  QFile f(dir.path() + "/Talvero3/TIVOLEN.INI");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[[Tivolen Settings]]\nNumTabs=5\n");
  f.close();
  void* raw = nullptr;
  ASSERT_EQ(getClass(kCtrlClsid, &raw), kSOk);
  ITivolen* ctrl = static_cast<ITivolenFactory*>(raw)->CreateInstance(nullptr, nullptr);
  EXPECT_EQ(ctrl->GetProperty(kDispNumTabs).value.toInt(), 5);
  EXPECT_EQ(ctrl->GetProperty(kDispNewIndex).value.toInt(), -1);
  delete ctrl->Widget();
  ITivolen* design = static_cast<ITivolenFactory*>(raw)->CreateInstance(nullptr, nullptr, false);
  EXPECT_EQ(design->GetProperty(kDispListCount).error.value_or(AutomationError{}).code, 394);
  delete design->Widget();
}

TEST_F(Library, HostFindsTheRegisteredLibraryAndCreatesAControl) {
  EXPECT_TRUE(TivolenLoader::RegisteredLibrary().isEmpty());
  EXPECT_EQ(TivolenLoader::Open(dir.path() + "/missing.so"), nullptr);
  ASSERT_EQ(reg(), kSOk);
  auto lib = TivolenLoader::Open(TivolenLoader::RegisteredLibrary());
  ASSERT_NE(lib, nullptr);
  ASSERT_NE(lib->PageFactory(), nullptr);
  ITivolen* ctrl = lib->Factory()->CreateInstance(nullptr, nullptr);
  ctrl->Invoke(kDispAddItem, {QString("row")});
  EXPECT_EQ(ctrl->GetProperty(kDispList, {QVariant::fromValue<short>(0)}).value.toString(), "\trow");
  EXPECT_FALSE(lib->CanUnload());
  delete ctrl->Widget();
  EXPECT_TRUE(lib->CanUnload());
}

}  // namespace
}  // namespace tivolen

int main(int argc, char** argv) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
