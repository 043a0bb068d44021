// The "IO" tab: which lamps a drive shows, their colours, forcing a point
// from its lamp's menu, and the button that pulses one input.
#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

#include "mainwin/drive_read.h"
#include "mainwin/main_win.h"
#include "mainwin/qhelp.h"
#include "mainwin/stat_strip.h"
#include "online/model/io_names.h"
#include "online/model/status_panels.h"
#include "online/online_panel.h"
#include "platform/ui/prompter.h"

using namespace talvero::online;

namespace {

const char* const kTitle = "Talvero";

void Tell(const std::string& text) {
  talvero::ThePrompter().Message({text, kTitle, talvero::Buttons::Ok, talvero::Icon::None, 0});
}

template <size_t N>
void SetLampsShown(std::array<Lamp*, N>& lamps, int shown) {
  for (size_t k = 0; k < N; ++k) lamps[k]->setVisible(int(k) < shown);
}

}  // namespace

void OnlinePanel::ConnectIO() {
  StatStrip& s = *win_.StatStrip;
  for (Lamp* l : s.IN) l->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (Lamp* l : s.OUT) l->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (QGroupBox* f : {s.InputsFrame, s.OutputsFrame}) {
    f->setMouseTracking(true);
    f->installEventFilter(this);
  }
  connect(win_.Item("IO_NoForce"), &QAction::triggered, this, [this]() { IO_NoForce_Click(); });
  connect(win_.Item("IO_ForceON"), &QAction::triggered, this, [this]() { IO_ForceON_Click(); });
  connect(win_.Item("IO_ForceOFF"), &QAction::triggered, this, [this]() { IO_ForceOFF_Click(); });
  // The press alone pulses or sets up; the button's own click and context
  // menu would act a second time.
  win_.Toggle->setToolTip("");
  win_.Toggle->setContextMenuPolicy(Qt::PreventContextMenu);
  win_.Toggle->setMouseTracking(true);
  win_.Toggle->installEventFilter(this);
}

bool OnlinePanel::IOEvent(QObject* watched, QEvent* e) {
  // Only the mouse is looked at, and the window not before: while it is being
  // destroyed, its children still get other events.
  const QEvent::Type type = e->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
    return false;
  StatStrip& s = *win_.StatStrip;
  const bool frame = watched == s.InputsFrame || watched == s.OutputsFrame;
  if (!frame && watched != win_.Toggle) return false;
  const bool outputs = watched == s.OutputsFrame;
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto* m = static_cast<QMouseEvent*>(e);
      if (frame) {
        const QPoint p = m->position().toPoint();
        FrameMouseDown(outputs, m->button(), p.x(), p.y());
      } else if (win_.Toggle->isEnabled()) {
        Toggle_MouseDown(m->button());
      }
      return true;
    }
    case QEvent::MouseButtonRelease:
      return !frame;  // no click of the button's own
    case QEvent::MouseMove: {
      if (!frame) {
        Toggle_MouseMove();
        return true;
      }
      const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
      FrameMouseMove(outputs, p.x(), p.y());
      return true;  // not on to the background, which would hide the tip
    }
    default:
      return false;
  }
}

std::string OnlinePanel::Family() const {
  if (!DriveSelected() || win_.CurNode > 31) return "";
  return win_.NodeTables.FamilyOf(win_.CurNode);
}

std::string OnlinePanel::Prefix() const {
  if (!DriveSelected() || win_.CurNode > 31) return "";
  return win_.NodeTables.at(win_.CurNode).driveText.substr(0, 2);
}

std::string OnlinePanel::INname(int n) const { return talvero::online::INname(Family(), Prefix(), n); }
std::string OnlinePanel::OUTname(int n) const { return talvero::online::OUTname(Family(), Prefix(), n); }

void OnlinePanel::SetupIOTab() {
  StatStrip& s = *win_.StatStrip;
  for (QGroupBox* f : {s.LegendFrame, s.InputsFrame, s.OutputsFrame}) f->setVisible(true);
  for (Lamp* l : s.IN) l->setVisible(true);
  for (Lamp* l : s.OUT) l->setVisible(true);
  const std::string family = Family();
  if (family == "RHO") {
    s.IN[8]->setVisible(false);
  } else {
    const IOCount c = IOCounts(family, Prefix());
    SetLampsShown(s.IN, c.inputs);
    SetLampsShown(s.OUT, c.outputs);
  }
  // The lamps take the places of this drive's count.
  win_.Form_Resize();
}

void OnlinePanel::ShowIO() {
  if (PopUpShowing()) return;
  if (!DriveSelected() || win_.CurNode > 31) return;
  Pass pass(*this);
  ISP& link = win_.Link;
  const int node = win_.CurNode;
  StatStrip& s = *win_.StatStrip;
  const Lamp* swatch[4] = {s.isoff, s.ison, s.isforcedoff, s.isforcedon};
  auto read = [&](const std::string& name, int32_t& word) {
    return Ask(node, [&]() { word = ReadWord(link.ValueOf(node, name)); });
  };
  auto paint = [&](auto& lamps, const std::string& kind, int32_t mask) {
    int32_t state = 0, off = 0, on = 0;
    if (!read(kind, state) || !read(kind + "0", off) || !read(kind + "1", on)) return false;
    for (size_t k = 0; k < lamps.size(); ++k) {
      const QColor c = swatch[int(SwatchFor(state & mask, off & mask, on & mask, int(k)))]->Colour();
      if (lamps[k]->Colour() != c) lamps[k]->SetColour(c);
    }
    return true;
  };
  if (!paint(s.IN, "IN", 0x1FF) || !paint(s.OUT, "OUT", 0xFFF)) {
    if (!passGivenUp_) ShowIONotAnswering(node);
    return;
  }
  for (auto [frame, title] : {std::pair{s.InputsFrame, "Inputs"}, std::pair{s.OutputsFrame, "Outputs"}})
    if (frame->title() != title) frame->setTitle(title);
}

void OnlinePanel::ShowIONotAnswering(int node) {
  StatStrip& s = *win_.StatStrip;
  const QString why = QString::fromStdString(": " + NotAnswering(node));
  for (auto [frame, title] : {std::pair{s.InputsFrame, "Inputs"}, std::pair{s.OutputsFrame, "Outputs"}})
    if (frame->title() != title + why) frame->setTitle(title + why);
  const QColor unknown = Lamp::Unlit();
  for (Lamp* l : s.IN)
    if (l->Colour() != unknown) l->SetColour(unknown);
  for (Lamp* l : s.OUT)
    if (l->Colour() != unknown) l->SetColour(unknown);
}

int OnlinePanel::LampAt(bool outputs, int x, int y, int from) const {
  StatStrip& s = *win_.StatStrip;
  auto find = [&](const auto& lamps) {
    for (size_t k = size_t(std::max(0, from)); k < lamps.size(); ++k) {
      const QRect g = lamps[k]->geometry();
      if (!lamps[k]->isHidden() && x >= g.x() && x <= g.x() + g.width() && y >= g.y() &&
          y <= g.y() + g.height())
        return int(k);
    }
    return -1;
  };
  return outputs ? find(s.OUT) : find(s.IN);
}

void OnlinePanel::FrameMouseDown(bool outputs, Qt::MouseButton button, int x, int y) {
  if (button != Qt::LeftButton) return;
  QWidget* frame = outputs ? static_cast<QWidget*>(win_.StatStrip->OutputsFrame) : win_.StatStrip->InputsFrame;
  for (int k = LampAt(outputs, x, y); k >= 0; k = LampAt(outputs, x, y, k + 1)) {
    IOKind = outputs ? "OUT" : "IN";
    IOPoint = k;
    PopUp(win_.IOMenu, frame->mapToGlobal(QPoint(x, y)));
  }
}

void OnlinePanel::FrameMouseMove(bool outputs, int x, int y) {
  const int k = LampAt(outputs, x, y);
  if (k < 0) return;
  const std::string number = std::to_string(win_.IONumberBase + k);
  win_.Tip()->TT(outputs ? " Output " + number + " (" + OUTname(k) + ") "
                         : " Input " + number + " (" + INname(k) + ") ");
}

bool OnlinePanel::ForcePoint(int how, mainwin::DriveRead& read) {
  if (!DriveSelected() || win_.CurNode > 31) return false;
  if (IOPoint < 0 || IOPoint > 31) return false;
  ISP& link = win_.Link;
  const int node = read.Node();
  // A mask that could not be read is not written back as 0: that would
  // release every other forced point of the word.
  int32_t a0 = 0, a1 = 0;
  if (!read.Ask([&]() { a0 = ReadWord(link.ValueOf(node, IOKind + "0")); }) ||
      !read.Ask([&]() { a1 = ReadWord(link.ValueOf(node, IOKind + "1")); }))
    return false;
  const ForceMasks m = ApplyForce(Force(how), a0, a1, IOPoint);
  return read.Ask([&]() { link.Exec(node, "!" + IOKind + "0=" + std::to_string(m.forcedOff)); }) &&
         read.Ask([&]() { link.Exec(node, "!" + IOKind + "1=" + std::to_string(m.forcedOn)); });
}

void OnlinePanel::ForceFromMenu(int how) {
  mainwin::DriveRead read(win_, win_.CurNode);
  if (!ForcePoint(how, read) && read.Failed()) ShowIONotAnswering(read.Node());
}

void OnlinePanel::IO_ForceOFF_Click() { ForceFromMenu(int(Force::Off)); }
void OnlinePanel::IO_ForceON_Click() { ForceFromMenu(int(Force::On)); }
void OnlinePanel::IO_NoForce_Click() { ForceFromMenu(int(Force::None)); }

void OnlinePanel::Toggle_MouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) {
    Toggle_Click();
    return;
  }
  const int n = ToggleInputs(Family());
  if (n == 0) {
    Tell("Cannot setup input toggle for a 'd' series drive");
    return;
  }
  const auto answer =
      talvero::ThePrompter().Input("Input number to toggle", kTitle, std::to_string(ToggleIn + 1));
  if (!answer || answer->find_first_not_of(" \t") == std::string::npos) return;
  if (const auto v = ToggleAnswer(*answer, n)) {
    ToggleIn = *v - 1;
    ToggleDefined = true;
  } else {
    Tell("Input number out of range!");
  }
}

void OnlinePanel::Toggle_Click() {
  if (!ToggleDefined) {
    Tell("Right Click on the toggle button to setup its function.");
    return;
  }
  const int n = ToggleInputs(Family());
  if (n == 0) {
    Tell("Cannot toggle an input on a 'd' series drive");
    return;
  }
  if (ToggleIn < 0 || ToggleIn >= n) {
    Tell("Toggle function not valid for this axis: right click to setup");
    return;
  }
  win_.Toggle->setEnabled(false);
  IOPoint = ToggleIn;
  IOKind = "IN";
  // Each step is a read of its own: after a failed one the drive known silent
  // gets one try of the next, so the release still goes out if it answers.
  IO_ForceON_Click();
  IO_ForceOFF_Click();
  IO_NoForce_Click();
  win_.Toggle->setEnabled(true);
}

void OnlinePanel::Toggle_MouseMove() { win_.Tip()->TT("Toggles (0->1->0) a specified input"); }
