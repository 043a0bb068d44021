// The "IO" tab on the real window: which lamps show, their colours from the
// simulated drive, the lamp menu and tip, forcing and the input toggle.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "mainwin/qhelp.h"
#include "mainwin/stat_strip.h"
#include "online/tests/online_fixture.h"
#include "sim/fault_plan.h"

using talvero::sim::Family;
using talvero::sim::FaultRule;
using Strings = std::vector<std::string>;
using namespace std::string_literals;

class IOTest : public OnlineTest {
 protected:
  // RHO 1, TAU 4, PHI "KZ" 5, PHI "KV" 6, PSI 7.
  void StartFiveDrives() {
    AddDrive(1, Family::RHO, "KV110c", "Feed");
    AddDrive(4, Family::TAU, "KV110i/d", "Lift");
    AddDrive(5, Family::PHI, "KZ120i/d", "Clamp");
    AddDrive(6, Family::PHI, "KV120i/d", "Press");
    AddDrive(7, Family::PSI, "KS130i/d", "Table");
    ASSERT_TRUE(StartOnLine());
    win->TStat->stop();
  }
  // The status node of a drive with the "IO" tab shown, the log empty.
  void ShowIOTab(int node) {
    Click("SS" + std::to_string(node));
    if (strip().currentIndex() != 2) strip().setCurrentIndex(2);
    else panel->StatStrip_Click(2);
    sim.ClearLog();
  }
  StatStrip& strip() { return *win->StatStrip; }
  static int Shown(const auto& lamps) {
    int n = 0;
    for (size_t k = 0; k < lamps.size(); ++k)
      if (!lamps[k]->isHidden()) {
        EXPECT_EQ(int(k), n) << "lamps are shown from 0 up";
        ++n;
      }
    return n;
  }
  QColor Swatch(const char* name) const { return static_cast<Lamp*>(win->StatStrip->Control(name))->Colour(); }
  void Press(QWidget* w, Qt::MouseButton b, QPoint p) { QTest::mousePress(w, b, {}, p); }
  void Move(QWidget* w, QPoint p) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
  // QHelp sets every tip off by one blank each side.
  static std::string Boxed(const std::string& tip) { return " " + tip + " "; }
  std::string TipText() const { return win->Tip()->Helptxt->text().toStdString(); }
};

TEST_F(IOTest, LampsShownPerFamilyAndModelAndPlacedForTheirCount) {
  StartFiveDrives();
  win->NodeTables.at(6).driveText = "kv" + win->NodeTables.at(6).driveText.substr(2);
  struct Case {
    int node;
    std::string family;  // "" keeps the drive's own
    int inputs, outputs;
  };
  const Case cases[] = {{1, "", 8, 12}, {4, "", 7, 4}, {5, "", 7, 3}, {7, "", 9, 4},
                        {6, "", 0, 0},   // PHI whose prefix is not upper case
                        {6, "PHI", 0, 0}, {4, "XYZ", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.node);
    if (!c.family.empty()) win->NodeTables.at(c.node).family = c.family;
    ShowIOTab(c.node);
    for (QGroupBox* f : {strip().LegendFrame, strip().InputsFrame, strip().OutputsFrame})
      EXPECT_FALSE(f->isHidden());
    EXPECT_EQ(Shown(strip().IN), c.inputs);
    EXPECT_EQ(Shown(strip().OUT), c.outputs);
  }
  win->NodeTables.at(6).driveText = "KV" + win->NodeTables.at(6).driveText.substr(2);
  win->NodeTables.at(6).family = "PHI";
  ShowIOTab(6);
  EXPECT_EQ(Shown(strip().IN), 9);
  EXPECT_EQ(Shown(strip().OUT), 4);

  // RHO, then TAU: the lamps move to the places of 7 and 4 at once.
  ShowIOTab(1);
  const QRect rhoIn0 = strip().IN[0]->geometry(), rhoOut0 = strip().OUT[0]->geometry();
  win->NodeTables.at(4).family = "TAU";
  ShowIOTab(4);
  const QRect tauIn0 = strip().IN[0]->geometry(), tauOut0 = strip().OUT[0]->geometry();
  EXPECT_NE(tauIn0, rhoIn0);
  EXPECT_NE(tauOut0, rhoOut0);
  win->Form_Resize();
  EXPECT_EQ(strip().IN[0]->geometry(), tauIn0);
  EXPECT_EQ(strip().OUT[0]->geometry(), tauOut0);
}

TEST_F(IOTest, NoDriveSelectedShowsEmptyFramesAndSendsNothing) {
  StartFiveDrives();
  ShowIOTab(1);
  win->AppSelected = true;
  panel->SetupIOTab();
  EXPECT_FALSE(strip().InputsFrame->isHidden());
  EXPECT_EQ(Shown(strip().IN), 0);
  EXPECT_EQ(Shown(strip().OUT), 0);
  EXPECT_EQ(panel->INname(0), "");
  EXPECT_EQ(panel->OUTname(0), "");
  panel->ShowIO();
  panel->IO_ForceON_Click();
  prompter.ExpectMessage("Cannot setup input toggle for a 'd' series drive", talvero::Answer::Ok);
  panel->Toggle_MouseDown(Qt::RightButton);
  panel->ToggleDefined = true;
  prompter.ExpectMessage("Cannot toggle an input on a 'd' series drive", talvero::Answer::Ok);
  panel->Toggle_Click();
  EXPECT_EQ(Sent(), Strings{});
}

TEST_F(IOTest, LampColoursFromStateAndForcing) {
  StartFiveDrives();
  talvero::sim::SimDrive& d = sim.Drive(1);
  // Inputs, bit by bit: 0 off, 1 on, 2 on + forced off, 3 off + forced on,
  // 4 forced both ways, 8 on (its lamp hidden on RHO); bits 9 up ignored.
  d.SetValue("IN", std::to_string(0x2 | 0x4 | 0x100 | 0xFE00));
  d.SetValue("IN0", std::to_string(0x4 | 0x10 | 0x200));
  d.SetValue("IN1", std::to_string(0x8 | 0x10 | 0x400));
  // Outputs: 11 on, 10 forced on, 9 forced off; bits 12 up ignored.
  d.SetValue("OUT", std::to_string(0x800 | 0xF000));
  d.SetValue("OUT0", std::to_string(0x200 | 0x1000));
  d.SetValue("OUT1", std::to_string(0x400 | 0x2000));
  ShowIOTab(1);
  const QColor off = Swatch("isoff"), on = Swatch("ison"), fOff = Swatch("isforcedoff"),
               fOn = Swatch("isforcedon");
  EXPECT_EQ(off, QColor(0, 0, 0));
  EXPECT_EQ(on, QColor(255, 0, 0));
  EXPECT_EQ(fOff, QColor(128, 128, 128));
  EXPECT_EQ(fOn, QColor(224, 224, 224));
  const std::vector<QColor> in = {off, on, fOff, fOn, fOff, off, off, off, on};
  for (size_t k = 0; k < in.size(); ++k) EXPECT_EQ(strip().IN[k]->Colour(), in[k]) << "IN " << k;
  EXPECT_TRUE(strip().IN[8]->isHidden());
  for (size_t k = 0; k < 9; ++k) EXPECT_EQ(strip().OUT[k]->Colour(), off) << "OUT " << k;
  EXPECT_EQ(strip().OUT[9]->Colour(), fOff);
  EXPECT_EQ(strip().OUT[10]->Colour(), fOn);
  EXPECT_EQ(strip().OUT[11]->Colour(), on);

  // One refresh: six reads in order.
  panel->ShowIO();
  EXPECT_EQ(Sent(), (Strings{"1:=IN", "1:=IN0", "1:=IN1", "1:=OUT", "1:=OUT0", "1:=OUT1"}));

  // A refresh with nothing changed repaints no lamp; a change repaints its lamp.
  win->show();
  QApplication::processEvents();
  int paints = 0;
  struct Counter : QObject {
    int* n;
    explicit Counter(int* c) : n(c) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::UpdateRequest || e->type() == QEvent::Paint) ++*n;
      return false;
    }
  } counter(&paints);
  for (Lamp* l : strip().IN) l->installEventFilter(&counter);
  for (Lamp* l : strip().OUT) l->installEventFilter(&counter);
  panel->ShowIO();
  QApplication::processEvents();
  EXPECT_EQ(paints, 0);
  d.SetValue("IN0", "0");
  panel->ShowIO();
  QApplication::processEvents();
  EXPECT_EQ(strip().IN[2]->Colour(), on);
  EXPECT_EQ(strip().IN[4]->Colour(), fOn);
  EXPECT_EQ(paints, 2);

  // Nothing is asked while the lamp menu is open.
  sim.ClearLog();
  win->IOMenu->popup(QPoint(0, 0));
  panel->ShowIO();
  panel->UpdateState();
  win->IOMenu->hide();
  EXPECT_EQ(Sent(), Strings{});
}

TEST_F(IOTest, LampMenuOnALeftPressOnAShownLampEdgesIncluded) {
  StartFiveDrives();
  ShowIOTab(1);
  win->show();
  QApplication::processEvents();
  QGroupBox* in = strip().InputsFrame;
  const QRect g = strip().IN[3]->geometry();
  Press(in, Qt::LeftButton, g.topLeft());
  EXPECT_EQ(popups, Strings{"IOMenu"});
  EXPECT_EQ(panel->IOKind, "IN");
  EXPECT_EQ(panel->IOPoint, 3);
  Press(in, Qt::LeftButton, QPoint(g.x() + g.width(), g.y() + g.height()));  // the far edge
  EXPECT_EQ(popups.size(), 2u);
  panel->IOPoint = -1;
  Press(in, Qt::RightButton, g.center());
  Press(in, Qt::LeftButton, QPoint(g.x() - 1, g.y()));
  Press(in, Qt::LeftButton, QPoint(g.x(), g.y() + g.height() + 1));
  Press(in, Qt::LeftButton, strip().IN[8]->geometry().center());  // hidden on RHO
  EXPECT_EQ(popups.size(), 2u);
  EXPECT_EQ(panel->IOPoint, -1);

  // The chosen item acts inside the pop-up: output 11 forced on.
  panel->PopUp = [this](QMenu* m, const QPoint&) {
    EXPECT_EQ(m, win->IOMenu);
    win->Item("IO_ForceON")->trigger();
  };
  sim.Drive(1).SetValue("OUT0", std::to_string(2048 | 5));
  sim.Drive(1).SetValue("OUT1", "6");
  sim.ClearLog();
  Press(strip().OutputsFrame, Qt::LeftButton, strip().OUT[11]->geometry().center());
  EXPECT_EQ(panel->IOKind, "OUT");
  EXPECT_EQ(panel->IOPoint, 11);
  EXPECT_EQ(Sent(), (Strings{"1:=OUT0", "1:=OUT1", "1::!OUT0=5", "1::!OUT1=2054"}));
}

TEST_F(IOTest, HoverTipNamesThePointUnderThePointer) {
  StartFiveDrives();
  win->Help_Tips->setChecked(true);
  ShowIOTab(1);
  Move(strip().InputsFrame, strip().IN[0]->geometry().center());
  EXPECT_EQ(TipText(), Boxed(" Input 1 (J1-1) "));
  Move(strip().OutputsFrame, strip().OUT[11]->geometry().center());
  EXPECT_EQ(TipText(), Boxed(" Output 12 (J1-24) "));
  Move(strip().OutputsFrame, QPoint(1, 1));  // no lamp there: the tip stays
  EXPECT_EQ(TipText(), Boxed(" Output 12 (J1-24) "));
  EXPECT_TRUE(win->Tip()->isVisible());
  ShowIOTab(5);
  Move(strip().OutputsFrame, strip().OUT[2]->geometry().center());
  EXPECT_EQ(TipText(), Boxed(" Output 3 (J1-19,20) "));
  Move(win->Toggle, QPoint(2, 2));
  EXPECT_EQ(TipText(), " Toggles (0->1->0) a specified input ");
}

TEST_F(IOTest, ForcingRewritesBothMasksKeepingTheOtherBits) {
  StartFiveDrives();
  ShowIOTab(1);
  struct Case {
    const char* name;
    void (OnlinePanel::*click)();
    const char *off, *on;
  };
  const Case cases[] = {{"force on", &OnlinePanel::IO_ForceON_Click, "5", "2054"},
                        {"force off", &OnlinePanel::IO_ForceOFF_Click, "2053", "6"},
                        {"no force", &OnlinePanel::IO_NoForce_Click, "5", "6"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.Drive(1).SetValue("OUT0", "2053");
    sim.Drive(1).SetValue("OUT1", "2054");
    sim.ClearLog();
    panel->IOKind = "OUT";
    panel->IOPoint = 11;
    std::invoke(c.click, *panel);
    EXPECT_EQ(Sent(), (Strings{"1:=OUT0", "1:=OUT1", "1::!OUT0="s + c.off, "1::!OUT1="s + c.on}));
    EXPECT_EQ(sim.Drive(1).Value("OUT0"), c.off);
    EXPECT_EQ(sim.Drive(1).Value("OUT1"), c.on);
  }
  // A mask that could not be read is not written back as 0.
  for (const char* word : {"=IN0", "=IN1"}) {
    SCOPED_TRACE(word);
    sim.Drive(1).SetValue("IN0", "3");
    sim.Drive(1).SetValue("IN1", "4");
    sim.ClearFaults();
    sim.AddFault(FaultRule::Missing(1, word, -1));
    sim.ClearLog();
    panel->IOKind = "IN";
    panel->IOPoint = 5;
    panel->IO_ForceON_Click();
    for (const std::string& s : Sent()) EXPECT_EQ(s.find('!'), std::string::npos) << s;
    EXPECT_EQ(sim.Drive(1).Value("IN0"), "3");
    EXPECT_EQ(sim.Drive(1).Value("IN1"), "4");
  }
}

TEST_F(IOTest, ToggleAcceptsTheFamilysInputNumbers) {
  StartFiveDrives();
  struct Case {
    int node, count;
  };
  for (const Case& c : {Case{1, 8}, Case{4, 7}, Case{5, 7}, Case{7, 9}}) {
    SCOPED_TRACE(c.node);
    ShowIOTab(c.node);
    panel->ToggleDefined = false;
    panel->ToggleIn = 0;
    prompter.ExpectInput("Input number to toggle", std::to_string(c.count + 1))
        .ExpectMessage("Input number out of range!", talvero::Answer::Ok);
    panel->Toggle_MouseDown(Qt::RightButton);
    EXPECT_FALSE(panel->ToggleDefined);
    prompter.ExpectInput("Input number to toggle", std::to_string(c.count));
    panel->Toggle_MouseDown(Qt::RightButton);
    EXPECT_TRUE(panel->ToggleDefined);
    EXPECT_EQ(panel->ToggleIn, c.count - 1);
  }
  // Answers read by their leading number; blank and Cancel keep the setting.
  const std::pair<const char*, int> answers[] = {{" 3 ", 2}, {"2.5", 1}, {"3.5", 3}, {"", 3}, {"  ", 3}};
  for (const auto& [text, in] : answers) {
    prompter.ExpectInput("Input number to toggle", std::string(text));
    panel->Toggle_MouseDown(Qt::RightButton);
    EXPECT_EQ(panel->ToggleIn, in) << text;
  }
  prompter.ExpectInput("Input number to toggle", std::nullopt);
  panel->Toggle_MouseDown(Qt::RightButton);
  EXPECT_EQ(panel->ToggleIn, 3);
  for (const char* bad : {"abc", "0", "99999999999", "-2"}) {
    prompter.ExpectInput("Input number to toggle", std::string(bad))
        .ExpectMessage("Input number out of range!", talvero::Answer::Ok);
    panel->Toggle_MouseDown(Qt::RightButton);
    EXPECT_EQ(panel->ToggleIn, 3) << bad;
  }
  EXPECT_EQ(Sent(), Strings{});
}

TEST_F(IOTest, TogglePulsesOnceOrTellsWhyNot) {
  StartFiveDrives();
  ShowIOTab(7);
  win->show();
  QApplication::processEvents();
  // Before any set-up: the hint, not a pulse.
  prompter.ExpectMessage("Right Click on the toggle button to setup its function.", talvero::Answer::Ok);
  QTest::mouseClick(win->Toggle, Qt::LeftButton);
  EXPECT_EQ(Sent(), Strings{});

  // Input 9 on the PSI drive, set up by a real right press.
  prompter.ExpectInput("Input number to toggle", std::string("9"));
  QTest::mouseClick(win->Toggle, Qt::RightButton);
  EXPECT_EQ(panel->ToggleIn, 8);
  EXPECT_EQ(win->Toggle->contextMenuPolicy(), Qt::PreventContextMenu);
  sim.Drive(7).SetValue("IN0", "1");
  sim.Drive(7).SetValue("IN1", "2");
  sim.ClearLog();
  QTest::mouseClick(win->Toggle, Qt::LeftButton);  // press and release: one pulse
  EXPECT_EQ(Sent(), (Strings{"7:=IN0", "7:=IN1", "7::!IN0=1", "7::!IN1=258",    // on
                             "7:=IN0", "7:=IN1", "7::!IN0=257", "7::!IN1=2",    // off
                             "7:=IN0", "7:=IN1", "7::!IN0=1", "7::!IN1=2"}));   // released
  EXPECT_TRUE(win->Toggle->isEnabled());
  EXPECT_EQ(panel->IOKind, "IN");
  EXPECT_EQ(panel->IOPoint, 8);

  // A step whose read fails writes nothing; the next steps run.
  sim.AddFault(FaultRule::Missing(7, "=IN0", win->Link.Retries));
  sim.ClearLog();
  panel->Toggle_Click();
  Strings writes;
  for (const std::string& s : Sent())
    if (s.find('!') != std::string::npos) writes.push_back(s);
  EXPECT_EQ(writes, (Strings{"7::!IN0=257", "7::!IN1=2", "7::!IN0=1", "7::!IN1=2"}));
  sim.ClearFaults();

  // Input 9 does not exist on the TAU drive; no family, no toggle.
  ShowIOTab(4);
  prompter.ExpectMessage("Toggle function not valid for this axis: right click to setup", talvero::Answer::Ok);
  panel->Toggle_Click();
  win->NodeTables.at(4).family = "XYZ";
  prompter.ExpectMessage("Cannot toggle an input on a 'd' series drive", talvero::Answer::Ok);
  panel->Toggle_Click();
  EXPECT_EQ(Sent(), Strings{});
}
