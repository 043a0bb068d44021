// The launchers of the main window and its layout at several sizes.
#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "mainwin/edit_list_box.h"
#include "mainwin/stat_strip.h"
#include "mainwin/tests/tree_window_fixture.h"
#include "platform/ui/qt/window_factory.h"

namespace {

using talvero::Answer;

// What the stand-in windows saw; they live longer than one test's window.
std::vector<std::string>& Opened() {
  static std::vector<std::string> opened;
  return opened;
}

// A modal stand-in that notes its name and closes at once.
class StandInDialog : public QDialog {
 public:
  StandInDialog(QWidget* parent, std::string name) : QDialog(parent), name_(std::move(name)) {}

 protected:
  void showEvent(QShowEvent* e) override {
    QDialog::showEvent(e);
    Opened().push_back(name_ + " modal");
    QTimer::singleShot(0, this, &QDialog::accept);
  }

 private:
  std::string name_;
};

class LaunchersTest : public TreeWindowTest {
 protected:
  void SetUp() override {
    TreeWindowTest::SetUp();
    Opened().clear();
    talvero::WindowFactory& wf = talvero::TheWindowFactory();
    for (const char* name : {"AxisSetup", "StepperSetup", "IOConfig", "PrintApp"})
      wf.Register(name, [name](QWidget* p) { return new StandInDialog(p, name); });
    for (const char* name : {"Tune", "Scope"})
      wf.Register(name, [name](QWidget* p) {
        auto* w = new QWidget(p, Qt::Tool);
        w->setObjectName(name);
        return w;
      });
  }
};

TEST_F(LaunchersTest, WizardsScopeStepNumbersAndPrinting) {
  MainWin& w = Start({{"cell", {{"S1", "PSI"}, {"R1", "RHO"}}, {}}});
  std::vector<std::string> hooks;
  w.IOConfigLoadHook = [&]() { hooks.push_back("Load_IOCW"); };
  w.TuneFormStartHook = [&]() { hooks.push_back("Form_Start"); };
  w.ScopeNodeHook = [&](int node) { hooks.push_back("Scope.Node " + std::to_string(node)); };
  w.ShowStatusHook = [&]() { hooks.push_back("ShowStatus"); };

  const std::pair<const char*, const char*> axes[] = {
      {"#31", "StepperSetup modal"}, {"#4", "AxisSetup modal"},
      {"AX-1,1", "StepperSetup modal"}, {"AX-2,1", "AxisSetup modal"}};
  for (const auto& [key, wizard] : axes) {
    Opened().clear();
    Click(key);
    w.SetupWiz_Axis->trigger();
    EXPECT_EQ(Opened(), std::vector<std::string>{wizard}) << key;
  }
  Opened().clear();
  w.SetupWiz_IO->trigger();
  w.SetupWiz_T->trigger();
  EXPECT_EQ(Opened(), std::vector<std::string>{"IOConfig modal"});
  EXPECT_EQ(hooks, (std::vector<std::string>{"Load_IOCW", "Form_Start"}));
  EXPECT_TRUE(talvero::TheWindowFactory().IsVisible("Tune"));
  EXPECT_TRUE(w.isEnabled()) << "tuning runs beside the main window";
  // Nothing opens without an axis selected.
  Click("AP1");
  Opened().clear();
  w.SetupWiz_Axis_Click();
  w.SetupWiz_IO_Click();
  EXPECT_TRUE(Opened().empty());

  // One scope window, for the node selected when it opened.
  hooks.clear();
  Click("#4");
  w.ShowScope->click();
  QWidget* scope = talvero::TheWindowFactory().Existing("Scope");
  ASSERT_NE(scope, nullptr);
  EXPECT_TRUE(scope->isVisible());
  Click("#1");
  w.ShowScope->click();
  EXPECT_EQ(talvero::TheWindowFactory().Existing("Scope"), scope);
  EXPECT_EQ(hooks, std::vector<std::string>{"Scope.Node 4"});
  scope->close();
  w.ScopeOpen = false;  // as the scope window does when it closes
  w.ShowScope->click();
  EXPECT_EQ(hooks, (std::vector<std::string>{"Scope.Node 4", "Scope.Node 1"}));
  EXPECT_TRUE(w.ScopeOpen);

  // Step numbers rebuild the program view at once.
  Click("PP1");
  fills.clear();
  w.SpStepNumbers->trigger();
  EXPECT_TRUE(w.StepNumbers);
  EXPECT_TRUE(w.SpStepNumbers->isChecked());
  EXPECT_EQ(fills, std::vector<std::string>{"pgm PP1"});
  w.SpStepNumbers->trigger();
  EXPECT_FALSE(w.StepNumbers);
  EXPECT_FALSE(w.SpStepNumbers->isChecked());

  // The status text refreshes on a click.
  Click("SS1");
  hooks.clear();
  w.show();
  QTest::mouseClick(w.StatStrip->GS_stat, Qt::LeftButton);
  EXPECT_EQ(hooks, std::vector<std::string>{"ShowStatus"});

  // Printing: the report window for an application; the printer set-up box.
  Click("AP1");
  ASSERT_TRUE(w.File_Print->isEnabled());
  Opened().clear();
  w.File_Print->trigger();
  EXPECT_EQ(Opened(), std::vector<std::string>{"PrintApp modal"});
  prompter.ExpectPrinterSetup(false);
  w.File_PrintSetup->trigger();
  Click("PR-1");
  EXPECT_FALSE(w.File_Print->isEnabled());
}

// Pixels at the window's DPI, from twips.
int Px(double twips, double dpi) { return int(std::lround(twips * dpi / 1440.0)); }

TEST_F(LaunchersTest, LayoutFollowsTheWindowSize) {
  line.drives.erase(31);  // two drives
  line.running = {{1, false}, {4, true}};
  MainWin& w = Start({{"line one", {{"X1", "RHO"}, {"Z1", "TAU"}}, {"HOME", "PICK"}},
                      {"line two", {{"Y1", "PSI"}}, {"CUT"}}});
  w.show();
  const double dpi = w.screen()->logicalDotsPerInchX();
  const QSize min = w.minimumSize();
  EXPECT_GE((min.width() + w.frameGeometry().width() - w.width()) * 1440.0 / dpi, 7305 - 15);
  // Smaller than allowed: held at the minimum.
  w.resize(200, 150);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.size(), min);

  struct Size {
    int width, height;
    int treePoints, listPoints;
    const char* shot;
  };
  const QSize atMin = min;
  const Size sizes[] = {{atMin.width(), atMin.height(), 6, 6, "min"},
                        {1024, 768, 12, 12, "1024x768"},
                        {1920, 1080, 24, 14, "1920x1080"}};
  // A loaded machine may let the 250 ms timer run out before the checks below.
  int finished = 0;
  QObject::connect(w.ResizeFin, &QTimer::timeout, [&finished]() { ++finished; });
  for (const Size& s : sizes) {
    finished = 0;
    w.resize(s.width, s.height);
    QCoreApplication::processEvents();
    ASSERT_EQ(w.size(), QSize(s.width, s.height));
    const int W = w.frameGeometry().width();  // outer width, the rule's W
    const QRect sys = w.Sys->geometry(), list = w.EditList->geometry(), prog = w.Prog->geometry();
    const QRect watch = w.Watch->geometry(), run = w.BtnRS->geometry();
    EXPECT_EQ(w.Sys->font().pointSize(), s.treePoints) << s.shot;
    EXPECT_EQ(w.Watch->font().pointSize(), s.treePoints) << s.shot;
    EXPECT_EQ(w.EditList->font().pointSize(), s.listPoints) << s.shot;
    EXPECT_EQ(sys.topLeft(), QPoint(Px(120, dpi), Px(120, dpi))) << s.shot;
    EXPECT_NEAR(sys.width(), (W * 1440.0 / dpi - 585) * 0.4 * dpi / 1440, 1) << s.shot;
    EXPECT_NEAR(list.left() - (sys.left() + sys.width()), Px(465, dpi), 1) << s.shot;
    EXPECT_NEAR(W - (list.left() + list.width()), Px(240, dpi), 1) << s.shot;
    EXPECT_NEAR(run.left() - (sys.left() + sys.width()), Px(45, dpi), 1) << s.shot;
    EXPECT_EQ(w.StatStrip->geometry(), list) << s.shot;
    EXPECT_EQ(prog.left(), list.left());
    EXPECT_NEAR(prog.top() - (list.top() + list.height()), Px(45, dpi), 1) << s.shot;
    EXPECT_EQ(watch.width(), sys.width());
    EXPECT_NEAR(watch.top() - (sys.top() + sys.height()), Px(45, dpi), 1) << s.shot;
    // Everything stays above the status bar.
    for (QWidget* c : {static_cast<QWidget*>(w.Watch), static_cast<QWidget*>(w.Prog),
                       static_cast<QWidget*>(w.EditList)})
      EXPECT_LE(c->geometry().bottom(), w.centralWidget()->height()) << s.shot;
    EXPECT_TRUE(w.ResizeFin->isActive() || finished > 0);

    if (const char* shots = std::getenv("TALVERO_SHOTS")) {
      w.Sys->expandAll();
      w.grab().save(QString("%1/mainwin-%2.png").arg(shots).arg(s.shot));
    }
  }

  // The status tabs: only the shown tab's contents are arranged, by the rule.
  w.resize(1024, 768);
  QCoreApplication::processEvents();
  Click("SS1");
  StatStrip& strip = *w.StatStrip;
  const int SW = strip.width();
  strip.setCurrentIndex(0);  // "General"
  EXPECT_NEAR(strip.GS_stat->width(), SW * 0.9, 1);
  EXPECT_NEAR(strip.DriveReset->x() + strip.DriveReset->width() / 2, SW / 2, 2);
  EXPECT_GT(strip.DriveReset->y(), strip.GS_stat->y() + strip.GS_stat->height());
  strip.setCurrentIndex(2);  // "IO"
  QCoreApplication::processEvents();
  EXPECT_NEAR(strip.LegendFrame->width(), SW / 1.2, 1);
  EXPECT_EQ(strip.InputsFrame->width(), strip.LegendFrame->width());
  EXPECT_GT(strip.IN[0]->x(), strip.IN[8]->x()) << "the highest input stands leftmost";
  EXPECT_EQ(strip.IN[3]->width(), strip.IN[3]->height());
  // Square swatches, each label to the right of its own, level with it.
  EXPECT_EQ(strip.ison->width(), strip.ison->height());
  EXPECT_GT(strip.Label2->x(), strip.ison->x() + strip.ison->width());
  EXPECT_NEAR(strip.Label2->geometry().center().y(), strip.ison->geometry().center().y(), 2);
  EXPECT_LE(strip.Label3->x() + strip.Label3->width(), strip.LegendFrame->width());
  EXPECT_LE(QFontMetrics(strip.Label3->font()).horizontalAdvance(strip.Label3->text()), strip.Label3->width());
  EXPECT_GE(strip.Label1->font().pointSize(), 2);
  EXPECT_LE(QFontMetrics(strip.Label1->font()).height(), strip.Label1->height() + 1);
  strip.setCurrentIndex(3);  // "Variables"
  QCoreApplication::processEvents();
  EXPECT_EQ(strip.DeleteUV->x() + strip.DeleteUV->width(), strip.UV_Select->x() + strip.UV_Select->width());
  EXPECT_EQ(strip.AddUV->x(), strip.UV_Select->x());
  EXPECT_GT(strip.Frame2->y(), strip.Frame1->y() + strip.Frame1->height());
  if (const char* shots = std::getenv("TALVERO_SHOTS"))
    for (int tab = 0; tab < strip.count(); ++tab) {
      strip.setCurrentIndex(tab);
      QCoreApplication::processEvents();
      w.grab().save(QString("%1/status-%2.png").arg(shots).arg(tab));
    }

  // Once the resizing settles, a parameter view is built again for its new fonts.
  w.EditParametersHook = [&](const std::string& key) {
    fills.push_back("par " + key);
    win->ParameterViewShown = true;
  };
  Click("SM4");
  fills.clear();
  w.ResizeFin_Timer();
  EXPECT_EQ(fills, std::vector<std::string>{"par SM4"});
  EXPECT_FALSE(w.ForceNodeClick);
  EXPECT_FALSE(w.ResizeFin->isActive());
  Click("PP1");  // a program view is left alone
  fills.clear();
  w.ResizeFin_Timer();
  EXPECT_TRUE(fills.empty());

  if (const char* shots = std::getenv("TALVERO_SHOTS")) {
    w.resize(1024, 768);
    QCoreApplication::processEvents();
    w.Sys->expandAll();
    Click("PR-1,1");
    QCursor::setPos(w.Sys->viewport()->mapToGlobal(QPoint(40, 40)));  // the menu opens there
    w.Sys_KeyPress(32);
    QMenu* menu = w.ShownContextMenu();
    ASSERT_NE(menu, nullptr);
    QMenu* sub = menu->findChild<QMenu*>("PR_Copy");
    sub->popup(menu->mapToGlobal(QPoint(menu->width(), 0)));
    QCoreApplication::processEvents();
    // The pop-ups are windows of their own: draw them onto the window's picture.
    QPixmap shot = w.grab();
    QPainter p(&shot);
    const QPoint at = w.mapFromGlobal(menu->pos()) - QPoint(0, w.menuBar()->height());
    p.drawPixmap(at + QPoint(0, w.menuBar()->height()), menu->grab());
    p.drawPixmap(at + QPoint(menu->width(), w.menuBar()->height()), sub->grab());
    p.end();
    shot.save(QString("%1/context-menu.png").arg(shots));
    sub->hide();
    menu->hide();
  }
}

}  // namespace
