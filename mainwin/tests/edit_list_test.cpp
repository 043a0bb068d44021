// The main window's list: the picture list box control from its registered
// library, its rows, pictures and events, and the plain list it falls back to.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <dlfcn.h>

#include "listbox/tivolen_interface.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tests/fakes.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"

namespace {

using talvero::Answer;

std::string Bin() { return std::getenv("TALVERO_BIN"); }
std::string GoodLibrary() { return Bin() + "/libtivole32.so"; }

class EditListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    clock.SetEventPump([]() { QCoreApplication::processEvents(); });
    talvero::SetClock(&clock);
    line.drives[1] = {"!RHOKV110c", "Feed", "10Feed", "Firmware 4.2\n", {}};
  }
  void TearDown() override {
    win.reset();
    talvero::SetClock(nullptr);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(prompter.Failures(), std::vector<std::string>{});
    EXPECT_TRUE(prompter.AllShown());
  }
  MainWin& Make(const std::string& listLibrary = GoodLibrary()) {
    MainWinEnv env;
    env.settings = settings.io();
    env.line = &line;
    env.libraryPath = Bin() + "/KOVdata.KOV";
    env.lockPath = (dir.path() + "/talvero.lock").toStdString();
    env.listControlPath = listLibrary;
    win = std::make_unique<MainWin>(std::move(env));
    win->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(win.get()));
    return *win;
  }
  QString RegistryPath() const { return config.path() + "/Talvero3/controls.ini"; }
  QString Registry() const {
    QFile f(RegistryPath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  void WriteRegistry(const std::string& library) {
    QDir().mkpath(config.path() + "/Talvero3");
    QFile f(RegistryPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("[TIVOLEN.TivolenCtrl.1]\nLibrary=" + library + "\n").c_str());
  }
  std::string NotALibrary() {
    const QString path = dir.path() + "/broken/libtivole32.so";
    QDir().mkpath(dir.path() + "/broken");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("not a library\n");
    return path.toStdString();
  }
  // The list's scrolling area: inside the control, or the plain list itself.
  QAbstractScrollArea* Area() const {
    QWidget* s = win->EditList->Surface();
    if (auto* a = qobject_cast<QAbstractScrollArea*>(s)) return a;
    return s->findChild<QAbstractScrollArea*>();
  }
  int PixelsOf(QColor colour) const {
    const QImage img = win->EditList->Surface()->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y).rgb() == colour.rgb();
    return n;
  }

  QTemporaryDir dir, config;
  QByteArray oldConfig;
  talvero::FakeClock clock;
  talvero::ScriptedPrompter prompter;
  FakeLine line;
  MapSettings settings;
  std::unique_ptr<MainWin> win;
};

TEST_F(EditListTest, TheWindowsListIsTheControlOfTheRegisteredLibrary) {
  ASSERT_TRUE(Registry().isEmpty());
  MainWin& w = Make();
  EXPECT_TRUE(Registry().contains(QString::fromStdString("Library=" + GoodLibrary()))) << Registry().toStdString();
  tivolen::ITivolen* ctrl = w.EditList->Control();
  ASSERT_NE(ctrl, nullptr);
  EXPECT_EQ(w.EditList->Surface(), ctrl->Widget());
  EXPECT_EQ(ctrl->Widget()->parentWidget(), w.EditList);
  EXPECT_EQ(ctrl->Widget()->size(), w.EditList->size());

  // Made from the property set the window keeps.
  const std::pair<int, QVariant> stored[] = {{tivolen::kDispMultiSelect, 2},
                                             {tivolen::kDispShowTitle, 0},
                                             {tivolen::kDispDragWindow, 0},
                                             {tivolen::kDispNumTabs, 16},
                                             {tivolen::kDispPictureTab, 0},
                                             {tivolen::kDispAutoHorizExtent, -1},
                                             {tivolen::kDispToolTip, QString()}};
  for (const auto& [id, value] : stored) {
    const tivolen::DispResult r = ctrl->GetProperty(id);
    ASSERT_TRUE(r.ok()) << id;
    EXPECT_EQ(r.value.toString(), value.toString()) << id;
  }

  const StepImageList& images = w.StepImages;
  w.EditList->SetNoRedraw(true);
  w.EditList->AddItem("10\tMOVE\t100", images.Picture("off"));
  w.EditList->AddItem("11\tEND");
  w.EditList->SetNoRedraw(false);
  EXPECT_EQ(w.EditList->ListCount(), 2);
  EXPECT_EQ(ctrl->GetProperty(tivolen::kDispListCount).value.toInt(), 2);
  // The picture column comes first.
  EXPECT_EQ(w.EditList->ItemText(0), "\t10\tMOVE\t100");
  EXPECT_EQ(w.EditList->ItemText(1), "\t11\tEND");
  EXPECT_EQ(w.EditList->ItemText(2), "");
  EXPECT_EQ(w.EditList->ListPicture(0), images.Picture("off"));

  // The step marker goes on a row through the control and is drawn there.
  const QColor marker(0, 96, 224);
  EXPECT_EQ(PixelsOf(marker), 0);
  ASSERT_TRUE(w.EditList->SetListPicture(1, images.Picture("step-cur")));
  EXPECT_EQ(w.EditList->ListPicture(1), images.Picture("step-cur"));
  EXPECT_GT(PixelsOf(marker), 20);
  ASSERT_TRUE(w.EditList->SetListPicture(1, images.Picture("step-mt")));
  EXPECT_EQ(PixelsOf(marker), 0);
  EXPECT_FALSE(w.EditList->SetListPicture(2, images.Picture("step-cur")));
  EXPECT_FALSE(w.EditList->SetListPicture(-1, images.Picture("step-cur")));

  w.EditList->Clear();
  EXPECT_EQ(w.EditList->ListCount(), 0);
}

TEST_F(EditListTest, TheControlIsReleasedWithTheWindow) {
  Make();
  void* handle = dlopen(GoodLibrary().c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  auto canUnload = reinterpret_cast<TivolenDllCanUnloadNow>(dlsym(handle, "DllCanUnloadNow"));
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), tivolen::kSFalse);
  win.reset();
  EXPECT_EQ(canUnload(), tivolen::kSOk);
  dlclose(handle);
}

TEST_F(EditListTest, EveryStepImageIsThere) {
  StepImageList images;
  EXPECT_EQ(images.Keys(), (std::vector<std::string>{"off", "on", "step-bad", "step-cur", "step-mt"}));
  for (const std::string& key : images.Keys()) {
    ASSERT_NE(images.Picture(key), nullptr) << key;
    EXPECT_EQ(images.Picture(key)->image.size(), QSize(16, 16)) << key;
  }
  EXPECT_EQ(images.Picture("step"), nullptr);
}

// Where the control's library is wrong, the program says where and why, and
// runs on with the plain list.
TEST_F(EditListTest, ALibraryThatWillNotLoadLeavesThePlainList) {
  const std::string gone = (dir.path() + "/gone/libtivole32.so").toStdString();
  const std::string broken = NotALibrary(), good = GoodLibrary();
  struct Case {
    const char* name;
    std::string registered;  // "" = none
    std::string candidate;
    const char* reason;  // nullptr = the control loads
  };
  const Case cases[] = {
      {"missing", "", gone, "the file does not exist"},
      {"not a library", "", broken, ""},
      {"registered one gone", gone, good, nullptr},
      {"registered one broken", broken, good, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(RegistryPath());
    if (!c.registered.empty()) WriteRegistry(c.registered);
    const std::string blamed = c.registered.empty() ? c.candidate : c.registered;
    if (c.reason)
      prompter.ExpectMessageContaining("could not be loaded from " + blamed + ": " + c.reason, Answer::Ok);
    MainWin& w = Make(c.candidate);
    EXPECT_TRUE(prompter.AllShown());
    if (!c.reason) {
      EXPECT_NE(w.EditList->Control(), nullptr);
      EXPECT_TRUE(Registry().contains(QString::fromStdString("Library=" + GoodLibrary())));
      win.reset();
      continue;
    }
    EXPECT_EQ(w.EditList->Control(), nullptr);
    ASSERT_NE(qobject_cast<QListWidget*>(w.EditList->Surface()), nullptr);
    ASSERT_TRUE(w.Form_Load("talvero"));
    EXPECT_EQ(w.Sys->Children("!SY"), std::vector<std::string>{"#1"});
    w.EditList->AddItem("0\tSTART", w.StepImages.Picture("on"));
    EXPECT_EQ(w.EditList->ListCount(), 1);
    EXPECT_EQ(w.EditList->ItemText(0), "\t0\tSTART");
    EXPECT_TRUE(w.EditList->SetListPicture(0, w.StepImages.Picture("step-bad")));
    EXPECT_EQ(w.EditList->ListPicture(0), w.StepImages.Picture("step-bad"));
    EXPECT_FALSE(w.EditList->SetListPicture(1, w.StepImages.Picture("step-bad")));
    win.reset();
  }
}

// The list's events reach the window's handlers, from the control and from
// the plain list alike.
class EditListEventsTest : public EditListTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EditListEventsTest, ClicksAndKeysReachTheWindow) {
  const bool control = GetParam();
  if (!control) prompter.ExpectMessageContaining("could not be loaded from", Answer::Ok);
  MainWin& w = Make(control ? GoodLibrary() : dir.path().toStdString() + "/none.so");
  ASSERT_EQ(w.EditList->Control() != nullptr, control);
  for (int i = 0; i < 3; ++i) w.EditList->AddItem(std::to_string(i) + "\tSTEP");

  std::vector<std::string> log;
  w.EditListHooks.Click = [&] { log.push_back("Click"); };
  w.EditListHooks.DblClick = [&] { log.push_back("DblClick"); };
  w.EditListHooks.KeyDown = [&](int16_t& k, int16_t s) { log.push_back("KeyDown " + std::to_string(k) + "/" + std::to_string(s)); };
  w.EditListHooks.KeyUp = [&](int16_t& k, int16_t s) { log.push_back("KeyUp " + std::to_string(k) + "/" + std::to_string(s)); };
  w.EditListHooks.MouseDown = [&](int16_t b, int16_t, int32_t, int32_t) { log.push_back("MouseDown " + std::to_string(b)); };
  w.EditListHooks.MouseUp = [&](int16_t b, int16_t, int32_t, int32_t) { log.push_back("MouseUp " + std::to_string(b)); };

  QAbstractScrollArea* area = Area();
  ASSERT_NE(area, nullptr);
  const QPoint row0(30, 4);
  auto count = [&](const std::string& e) { return std::count(log.begin(), log.end(), e); };
  struct Case {
    const char* name;
    std::function<void()> act;
    std::vector<std::pair<std::string, int>> expected;
  };
  const Case cases[] = {
      {"click", [&] { QTest::mouseClick(area->viewport(), Qt::LeftButton, {}, row0); },
       {{"MouseDown 1", 1}, {"MouseUp 1", 1}, {"Click", 1}, {"DblClick", 0}}},
      {"right click", [&] { QTest::mouseClick(area->viewport(), Qt::RightButton, {}, row0); },
       {{"MouseDown 2", 1}, {"MouseUp 2", 1}, {"Click", 0}}},
      // As the system delivers one: press, release, double-click, release.
      {"double-click",
       [&] {
         QTest::mouseClick(area->viewport(), Qt::LeftButton, {}, row0);
         QTest::mouseDClick(area->viewport(), Qt::LeftButton, {}, row0);
         QTest::mouseRelease(area->viewport(), Qt::LeftButton, {}, row0);
       },
       {{"DblClick", 1}}},
      {"space", [&] { QTest::keyClick(area, Qt::Key_Space); }, {{"DblClick", 1}, {"KeyDown 32/0", 1}}},
      {"letter", [&] { QTest::keyClick(area, Qt::Key_A); }, {{"DblClick", 0}, {"KeyDown 65/0", 1}}},
      {"shift+insert", [&] { QTest::keyClick(area, Qt::Key_Insert, Qt::ShiftModifier); },
       {{"KeyDown 45/1", 1}, {"KeyUp 45/1", 1}, {"DblClick", 0}}},
      {"delete", [&] { QTest::keyClick(area, Qt::Key_Delete); }, {{"KeyDown 46/0", 1}, {"KeyUp 46/0", 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    c.act();
    for (const auto& [event, n] : c.expected) EXPECT_EQ(count(event), n) << event;
  }
}

INSTANTIATE_TEST_SUITE_P(ControlAndPlain, EditListEventsTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Control" : "Plain"; });

}  // namespace

namespace {

// Rows, columns, selection and font read back alike from the control and
// from the plain list.
class EditListViewTest : public EditListTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EditListViewTest, RowsColumnsAndSelectionReadBack) {
  const bool control = GetParam();
  if (!control) prompter.ExpectMessageContaining("could not be loaded from", Answer::Ok);
  MainWin& w = Make(control ? GoodLibrary() : dir.path().toStdString() + "/none.so");
  EditListView& list = *w.EditList;
  EXPECT_EQ(list.NewIndex(), -1);
  for (int i = 0; i < 3; ++i) list.AddItem("Row " + std::to_string(i) + "\tvalue");
  EXPECT_EQ(list.NewIndex(), 2);

  list.SetItemData(1, 77);
  EXPECT_EQ(list.ItemData(1), 77);
  list.SetListFontItalic(2, true);
  EXPECT_TRUE(list.ListFontItalic(2));
  EXPECT_FALSE(list.ListFontItalic(0));
  list.SetList(1, "Changed\t5");
  EXPECT_EQ(list.ItemText(1), "\tChanged\t5");
  EXPECT_EQ(list.ItemData(1), 77);  // the row keeps its data

  list.SetSelected(0, true);
  list.SetSelected(2, true);
  EXPECT_EQ(list.SelCount(), 2);
  EXPECT_TRUE(list.Selected(2));
  EXPECT_FALSE(list.Selected(1));
  list.SetSelected(0, false);
  EXPECT_EQ(list.SelCount(), 1);

  // Widths and heights in twips, whole pixels apart at most.
  const double pixel = 1440.0 / 96.0 * 1.5;
  list.SetTabWidth(0, 240);
  list.SetTabWidth(1, 2880);
  EXPECT_NEAR(list.TabWidth(0), 240, pixel);
  EXPECT_NEAR(list.TabWidth(1), 2880, pixel);
  list.SetDefHeight(249);
  EXPECT_EQ(list.DefHeight(), 249);
  for (int i = 0; i < 3; ++i) list.SetListHeight(i, 480);
  EXPECT_NEAR(list.ListHeight(1), 480, pixel);
  list.SetFontSize(10);
  EXPECT_DOUBLE_EQ(list.FontSize(), 10);
  EXPECT_EQ(list.TopIndex(), 0);

  // Rows of 480 twips: the middle of the second row is row 1.
  const int rowPixels = int(480 * w.logicalDpiY() / 1440.0);
  EXPECT_EQ(list.ItemFromPoint(30, rowPixels + rowPixels / 2), 1);
  EXPECT_EQ(list.ItemFromPoint(30, rowPixels / 2), 0);

  // Rows that do not exist are left alone.
  list.SetItemData(9, 1);
  list.SetList(9, "none");
  EXPECT_EQ(list.ItemData(9), 0);
  EXPECT_FALSE(list.Selected(9));
  EXPECT_FALSE(list.ListFontItalic(-1));
  EXPECT_EQ(list.ListCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(ControlAndPlain, EditListViewTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Control" : "Plain"; });

}  // namespace
