// The scope window: its menus and panels, capture through its keys, clicks
// and timer, closing, layout, the cursor read-out and the plot colours.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "runtime/cstr.h"

#include "scope/tests/scope_fixture.h"
#include "wizards/tests/silent_drive_fixture.h"

namespace {

using scope::CaptureState;

QStringList Captions(QMenu* m) {
  QStringList out;
  for (QAction* a : m->actions()) out << a->objectName() + "=" + a->text();
  return out;
}

TEST_F(ScopeTest, OpensWithTheMenuTreeAndDesignState) {
  EXPECT_TRUE(s->isVisible());
  EXPECT_TRUE(win->ScopeOpen);
  EXPECT_EQ(s->Node, 1);
  EXPECT_EQ(s->Caption(), "KOVscope (Node 1)");
  // 800 by 600 where the screen has room, and wholly on it.
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(area.contains(s->frameGeometry()));
  EXPECT_EQ(s->height(), 600);
  EXPECT_LE(s->width(), 800);
  EXPECT_GE(s->width(), 800 - 16) << "narrowed no more than a frame needs";
  EXPECT_EQ(s->ASPlot->objectName(), "ASPlot");
  EXPECT_EQ(Captions(s->ASPlot), (QStringList{"=Plot Options", "=Settings", "Scope_CTM=Hide this Menu"}));
  EXPECT_EQ(s->ASPlot->actions()[0]->menu(), s->PlotOpt);
  EXPECT_EQ(Captions(s->POC), (QStringList{"ColorFG=Foreground...", "ColorBG=Background...", "ColorData=Data...",
                                           "ColorGrid=Grid...", "ColorMarker=Marker..."}));
  EXPECT_EQ(Captions(s->POP), (QStringList{"Print2File=to File...", "Print2Printer=to Printer..."}));
  EXPECT_EQ(s->UPlot->title(), "Upper Plot");
  EXPECT_EQ(s->LPlot->title(), "Lower Plot");
  EXPECT_EQ(s->TBMenu->title(), "Timebase (sec)");
  ASSERT_EQ(s->TB.size(), 15u);
  ASSERT_EQ(s->UPD.size(), 15u);
  EXPECT_EQ(s->TB[14]->text(), "25.0");
  EXPECT_EQ(s->UPD[0]->text(), "Analog Command");
  EXPECT_EQ(s->LPD[14]->text(), "GRF2");
  for (auto* items : {&s->TB, &s->UPD, &s->LPD}) {
    EXPECT_TRUE((*items)[0]->isChecked());
    for (size_t i = 1; i < items->size(); ++i) EXPECT_FALSE((*items)[i]->isChecked());
  }
  EXPECT_EQ(Panel(4), "Capture");
  EXPECT_EQ(Panel(5), "Free Run");
  EXPECT_EQ(Panel(6), "1-Shot");
  // The menu is a pop-up only: nothing of it sits in a menu bar.
  EXPECT_TRUE(s->findChildren<QMenuBar*>().isEmpty());
}

TEST_F(ScopeTest, OneCheckedItemPerArray) {
  s->TB[3]->trigger();
  s->TB[3]->trigger();  // choosing it again keeps it
  s->UPD_Click(5);
  s->LPD_Click(2);
  for (auto [items, want] : {std::pair{&s->TB, 3}, {&s->UPD, 5}, {&s->LPD, 2}})
    for (size_t i = 0; i < items->size(); ++i) EXPECT_EQ((*items)[i]->isChecked(), int(i) == want) << i;
}

TEST_F(ScopeTest, EnterCapturesWithTheMenusAndDisablesTheSettingsMeanwhile) {
  s->UPD_Click(5);
  s->LPD_Click(9);
  s->TB_Click(2);
  s->SB_PanelClick(5);
  EXPECT_EQ(Panel(5), "Triggered");
  QTest::keyClick(s, Qt::Key_Return);
  EXPECT_EQ(Panel(4), "Cancel");
  EXPECT_EQ(s->GoCapIt->interval(), 100);
  EXPECT_TRUE(s->GoCapIt->isSingleShot());
  EXPECT_EQ(s->GoCapIt->timerType(), Qt::PreciseTimer);
  s->Tick();
  EXPECT_FALSE(s->ScopeSettings->isEnabled());
  s->SB_PanelClick(5);
  s->SB_PanelClick(6);
  EXPECT_EQ(Panel(5), "Triggered") << "panels 5 and 6 are locked during a capture";
  EXPECT_EQ(Panel(6), "1-Shot");
  RunTicks();
  EXPECT_EQ(Panel(4), "Capture");
  EXPECT_TRUE(s->ScopeSettings->isEnabled());
  EXPECT_EQ(s->graph->Title(), "Feedback Velocity (system-rev/sec)");
  EXPECT_EQ(s->graph2->Title(), "PID Reference");
  EXPECT_EQ(s->graph->Model().Count(), 250);
  const auto r = sim.Requests(1);
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(r.front(), std::string("\x18\x03\x05\x09", 4));
}

TEST_F(ScopeTest, PanelFourAndTheMiddleButtonStartAndCancel) {
  s->SB_PanelClick(4);
  EXPECT_EQ(Panel(4), "Cancel");
  s->SB_PanelClick(4);  // "Cancel" = Esc: disarmed, nothing sent
  EXPECT_EQ(Panel(4), "Capture");
  EXPECT_FALSE(s->GoCapIt->isActive());
  QTest::mouseClick(s->graph2, Qt::MiddleButton);
  EXPECT_EQ(Panel(4), "Cancel");
  s->Tick();
  s->Tick();  // the start request is out: polling
  EXPECT_EQ(s->Machine().State(), CaptureState::Polling);
  QTest::keyClick(s->graph, Qt::Key_Escape);
  EXPECT_EQ(Panel(4), "Aborting");
  s->SB_PanelClick(4);  // nothing while aborting
  RunTicks();
  EXPECT_EQ(Panel(4), "Capture");
  EXPECT_EQ(sim.Requests(1).back(), "\x0E");
}

TEST_F(ScopeTest, ARepeatSeriesTakesASettingsChangeThenStopsOnOneShot) {
  s->SB_PanelClick(6);
  EXPECT_EQ(Panel(6), "Repeat");
  s->HandleCaptureKey(13);
  ASSERT_TRUE(TickTo(CaptureState::RepeatWait));
  EXPECT_TRUE(s->ScopeSettings->isEnabled());
  s->UPD_Click(7);
  s->Tick();
  ASSERT_TRUE(TickTo(CaptureState::RepeatWait));
  EXPECT_EQ(s->graph->Title(), "Current Reference (amps)");
  s->SB_PanelClick(6);
  RunTicks();
  EXPECT_EQ(Panel(4), "Capture");
  int starts = 0;
  for (const auto& r : sim.Requests(1)) starts += r[0] == '\x0B';
  EXPECT_EQ(starts, 3);
}

TEST_F(ScopeTest, AShortBlockLeavesBothChartsAsTheyWere) {
  Capture();
  const std::vector<double> before = s->graph->Model().Y();
  const QString title = s->graph->Title();
  s->UPD_Click(3);
  sim.AddFault(talvero::sim::FaultRule::Kind(talvero::sim::FaultKind::ShortReply, 1, std::string("\x0D\x01", 2)));
  prompter.ExpectMessage("Unable to properly acquire data...plot data may be invalid.", talvero::Answer::Ok,
                         "KOVscope");
  Capture();
  EXPECT_EQ(s->graph->Model().Y(), before);
  EXPECT_EQ(s->graph->Title(), title);
  EXPECT_TRUE(s->ScopeSettings->isEnabled());
}

// A capture on a drive that does not answer, at the program's tries and
// time-outs on the fake clock: the start request's retry cycle (one try for
// a drive known to be silent) with the window running between tries, then
// nothing more, and the charts keep what they showed.
class SilentScopeTest : public SilentDriveTest<ScopeTest> {};

TEST_F(SilentScopeTest, ACaptureOnASilentDriveEndsAtItsFirstFailedRequest) {
  Capture();
  const std::vector<double> before = s->graph->Model().Y();
  for (const bool known : {false, true}) {
    const std::string what = known ? "known silent" : "silent for the first time";
    prompter.ExpectMessage("Node 1 does not answer...capture stopped.", talvero::Answer::Ok, "KOVscope");
    const Cost cost = Silent(1, known, [] {}, [&] {
      s->HandleCaptureKey(13);
      RunTicks();
    });
    ExpectOneFailedRequest(cost, known, std::string("\x0B\x01\x00\x00", 4), what);
    EXPECT_EQ(Panel(4), "Capture") << what;
    EXPECT_TRUE(s->ScopeSettings->isEnabled()) << what;
    EXPECT_EQ(s->graph->Model().Y(), before) << what;
  }
}

TEST_F(ScopeTest, ClosingIsRefusedWhileBusyAndReopensForAnotherNode) {
  s->SB_PanelClick(5);  // Triggered survives the closing
  s->HandleCaptureKey(13);
  EXPECT_FALSE(s->close()) << "armed";
  s->Tick();
  s->Tick();
  EXPECT_FALSE(s->close()) << "polling";
  EXPECT_TRUE(s->isVisible());
  EXPECT_TRUE(win->ScopeOpen);
  RunTicks();
  s->SB_PanelClick(6);
  EXPECT_TRUE(s->close());
  EXPECT_FALSE(s->isVisible());
  EXPECT_FALSE(win->ScopeOpen);
  EXPECT_EQ(Panel(6), "1-Shot");
  EXPECT_EQ(Panel(5), "Triggered");
  EXPECT_EQ(s->graph->Model().Count(), 250) << "the traces survive";
  scope::Scope* first = s;
  Open(2);
  EXPECT_EQ(s, first);
  EXPECT_EQ(s->Node, 2);
  EXPECT_EQ(s->Caption(), "KOVscope (Node 2)");
  EXPECT_EQ(s->windowTitle(), "KOVscope (Node 2)");
  sim.ClearLog();
  Capture();
  EXPECT_FALSE(sim.Requests(2).empty());
  EXPECT_TRUE(sim.Requests(1).empty());
}

TEST_F(ScopeTest, HiddenByTheProgramWhileCapturingStopsWithoutABox) {
  s->HandleCaptureKey(13);
  s->Tick();
  s->Tick();
  ASSERT_EQ(s->Machine().State(), CaptureState::Polling);
  sim.ClearLog();
  talvero::TheWindowFactory().Hide("Scope");
  EXPECT_EQ(s->Machine().State(), CaptureState::Idle);
  EXPECT_FALSE(s->GoCapIt->isActive());
  EXPECT_EQ(sim.Requests(1), std::vector<std::string>{"\x0E"});
}

TEST_F(ScopeTest, LayoutFollowsTheWindowDownToATinyOne) {
  const int sb = s->SB->height();
  for (QSize size : {QSize(1024, 768), QSize(300, 2 * sb + 1), QSize(120, sb)}) {
    s->resize(size);
    const int h = std::max(0, s->frameGeometry().height() - 2 * sb);
    EXPECT_EQ(s->graph->geometry(), QRect(0, 0, s->width(), h / 2)) << size.height();
    EXPECT_EQ(s->graph2->geometry(), QRect(0, h / 2, s->width(), h / 2));
    EXPECT_EQ(s->SB->geometry().bottom(), s->height() - 1);
  }
}

TEST_F(ScopeTest, CursorReadOut) {
  s->UPD_Click(5);
  s->LPD_Click(7);
  s->TB_Click(14);  // 25 s: 0.1 s a sample
  auto plot = [&](scope::ScopeChart* c) { return c->Model().Plot(); };
  auto at = [&](scope::ScopeChart* c, double x) {
    const auto& p = plot(c);
    return QPoint(int(std::lround(c->Model().XToPixel(x))), p.top + p.height / 2);
  };
  // No data yet: the markers move, the panels stay empty.
  s->Chart_MouseMove(s->graph, Qt::NoButton, at(s->graph, 0.05));
  EXPECT_EQ(Panel(1), "");
  ASSERT_TRUE(s->graph2->Model().Marker());
  Capture();
  const auto& uy = s->graph->Model().Y();
  const auto& ly = s->graph2->Model().Y();
  auto text = [](double v, const char* suffix) { return QString::fromStdString(rt::CStrSingle(float(v)) + suffix); };
  const QString u3 = text(uy[3], " (system-rev/sec)"), l3 = text(ly[3], " (amps)");
  struct Case {
    const char* what;
    scope::ScopeChart* chart;
    double x;
    Qt::MouseButtons buttons;
    bool menuOpen;
    QString p1, p2, p3;
    bool markerMoves;
  } cases[] = {
      {"upper", s->graph, 12.5, Qt::NoButton, false, "12.5", text(uy[125], " (system-rev/sec)"),
       text(ly[125], " (amps)"), true},
      {"lower", s->graph2, 0.3, Qt::NoButton, false, "0.3", u3, l3, true},
      {"button held", s->graph, 20.0, Qt::RightButton, false, "0.3", u3, l3, false},
      {"menu open", s->graph2, 20.0, Qt::NoButton, true, "0.3", u3, l3, false},
      {"outside", s->graph, -50, Qt::NoButton, false, "", "", "", false},
  };
  for (const Case& c : cases) {
    const double marker = *s->graph->Model().Marker();
    s->MenuOpen = c.menuOpen;
    s->Chart_MouseMove(c.chart, c.buttons, at(c.chart, c.x));
    s->MenuOpen = false;
    EXPECT_EQ(Panel(1), c.p1) << c.what;
    EXPECT_EQ(Panel(2), c.p2) << c.what;
    EXPECT_EQ(Panel(3), c.p3) << c.what;
    const double now = *s->graph->Model().Marker();
    EXPECT_EQ(now != marker, c.markerMoves) << c.what;
    EXPECT_EQ(*s->graph2->Model().Marker(), now) << c.what << ": both charts show the cursor";
  }
}

TEST_F(ScopeTest, TheLeftButtonShowsThePopUpWhereTheMouseIsWithTheMenuFlagSet) {
  for (scope::ScopeChart* chart : {s->graph, s->graph2}) {
    bool sawMenu = false, sawFlag = false, sawGlobal = false;
    QPoint at;
    QTimer::singleShot(0, [&]() {
      sawMenu = s->ASPlotVisible();
      sawGlobal = scope::ASPlotVisible();
      sawFlag = s->MenuOpen;
      at = s->ASPlot->pos();
      s->ASPlot->close();
    });
    const QPoint click(100, 50);
    QTest::mouseClick(chart, Qt::LeftButton, {}, click);
    EXPECT_TRUE(sawMenu);
    EXPECT_TRUE(sawGlobal);
    EXPECT_TRUE(sawFlag);
    EXPECT_EQ(at, chart->mapToGlobal(click)) << chart->objectName().toStdString();
    EXPECT_FALSE(s->MenuOpen);
    EXPECT_FALSE(scope::ASPlotVisible());
  }
  s->close();
  EXPECT_FALSE(scope::ASPlotVisible());
}

TEST_F(ScopeTest, ColoursChosenOrCancelledAreSavedAndSurviveARestart) {
  EXPECT_EQ(s->graph->Colour(scope::kData), 0x00FFFFu) << "yellow trace by default";
  EXPECT_EQ(s->graph2->Colour(scope::kBackground), 0u);
  prompter.ExpectColour(0x0000FFu);  // red data
  s->Color_Click(scope::kData);
  EXPECT_EQ(s->graph->Colour(scope::kData), 0x0000FFu);
  EXPECT_EQ(s->graph2->Colour(scope::kData), 0x0000FFu);
  EXPECT_EQ(win->PCol(4), 0x0000FF);
  EXPECT_EQ(settings.values["Plot/4"], "255");
  settings.values["Plot/3"] = "";
  prompter.ExpectColour(std::nullopt);  // cancelled: the grid keeps its colour, saved again
  s->Color_Click(scope::kGrid);
  EXPECT_EQ(s->graph2->Colour(scope::kGrid), 0xBEBEBEu);
  EXPECT_EQ(settings.values["Plot/3"], std::to_string(0xBEBEBE));
  // The program again, with the same settings.
  talvero::TheWindowFactory().Destroy("Scope");
  win.reset();
  ASSERT_TRUE(StartOnLine());
  Open(1);
  EXPECT_EQ(s->graph->Colour(scope::kData), 0x0000FFu);
  EXPECT_EQ(s->graph2->Colour(scope::kData), 0x0000FFu);
}

}  // namespace

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

TEST_F(ScopeTest, TheRightButtonZoomsToABoxAndADoubleClickResets) {
  s->TB_Click(14);
  Capture();
  scope::ScopeChart* c = s->graph;
  const scope::Range full = c->Model().XRange();
  const auto& p = c->Model().Plot();
  const QPoint from(p.left + p.width / 4, p.top + 10), to(p.left + p.width / 2, p.top + p.height - 10);
  const QString before = Panel(1);
  Send(c, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
  Send(c, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
  EXPECT_EQ(Panel(1), before) << "no read-out while the button is held";
  Send(c, QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
  ASSERT_TRUE(c->Model().Zoomed());
  EXPECT_NEAR(c->Model().XRange().lo, 25.0 / 4, 0.1);
  EXPECT_NEAR(c->Model().XRange().hi, 25.0 / 2, 0.1);
  EXPECT_FALSE(s->graph2->Model().Zoomed()) << "each chart zooms on its own";
  Send(c, QEvent::MouseButtonDblClick, to, Qt::RightButton, Qt::RightButton);
  EXPECT_FALSE(c->Model().Zoomed());
  EXPECT_EQ(c->Model().XRange(), full);
}

}  // namespace
