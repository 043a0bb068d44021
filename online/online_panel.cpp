// The panel's wiring, the status tick and the drive state it shows.
#include "online/online_panel.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

#include "link/failure_watch.h"
#include "mainwin/main_win.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/qhelp.h"
#include "mainwin/stat_strip.h"
#include "online/model/status_panels.h"
#include "online/model/watch_line.h"
#include "platform/clock/clock.h"

namespace {
const char* const kState = "State";
}

OnlinePanel::OnlinePanel(MainWin& win) : QObject(&win), win_(win) {
  PopUp = [](QMenu* menu, const QPoint& pos) { menu->exec(pos); };
  win_.TStatTickHook = [this]() { TStat_Timer(); };
  win_.UpdateStateHook = [this]() { UpdateState(); };
  win_.ShowStatusHook = [this]() { ShowStatus(); };
  win_.StatStripClickHook = [this](int previousTab) { StatStrip_Click(previousTab); };
  // Face 1 on both: run and pause, as for a drive with no program running.
  SetState(win_.BtnRS, 1);
  SetState(win_.BtnPause, 1);
  ConnectControls();
  SetupTips();
  ConnectIO();
}

void OnlinePanel::ConnectControls() {
  connect(win_.BtnRS, &QToolButton::clicked, this, [this]() { BtnRS_Click(); });
  connect(win_.BtnPause, &QToolButton::clicked, this, [this]() { BtnPause_Click(); });
  connect(win_.Btn1, &QToolButton::clicked, this, [this]() { Btn1_Click(); });
  connect(win_.SWE_ON, &QToolButton::clicked, this, [this]() { SWE_ON_Click(); });
  connect(win_.SWE_OFF, &QToolButton::clicked, this, [this]() { SWE_OFF_Click(); });
  connect(win_.BrakeAll, &QToolButton::clicked, this, [this]() { BrakeAll_Click(); });
  StatStrip& strip = *win_.StatStrip;
  connect(strip.DriveReset, &QPushButton::clicked, this, [this]() { DriveReset_Click(); });
  connect(strip.AddUV, &QPushButton::clicked, this, [this]() { AddUV_Click(); });
  connect(strip.DeleteUV, &QPushButton::clicked, this, [this]() { DeleteUV_Click(); });
  connect(strip.UV_Change, &QPushButton::clicked, this, [this]() { UV_Change_Click(); });
  connect(strip.UV_Select, &QListWidget::itemSelectionChanged, this, [this]() { UV_Select_Click(); });
  connect(strip.FaultList, &QListWidget::itemDoubleClicked, this, [this]() { FaultList_DblClick(); });
  connect(win_.Watch, &QListWidget::itemDoubleClicked, this, [this]() { Watch_DblClick(); });

  connect(win_.Item("WA_Clear"), &QAction::triggered, this, [this]() { WA_Clear_Click(); });
  connect(win_.Item("WA_Arb"), &QAction::triggered, this, [this]() { WA_Arb_Click(); });
  for (const talvero::online::WatchItem& w : talvero::online::PredefinedWatchItems()) {
    const std::string item = w.item;
    connect(win_.Item(item), &QAction::triggered, this, [this, item]() { SetWatchItem(item); });
  }

  win_.Watch->installEventFilter(this);
  strip.FaultList->installEventFilter(this);
  win_.statusBar()->installEventFilter(this);
  for (QLabel* panel : win_.Mon1) panel->installEventFilter(this);
}

void OnlinePanel::SetupTips() {
  StatStrip& strip = *win_.StatStrip;
  tips_ = {{win_.BrakeAll, "E-Stop - All Axes"},
           {win_.Btn1, "Single Step the program"},
           {win_.BtnPause, "Pauses execution"},
           {win_.BtnRS, "Run/Stop execution"},
           {strip.DriveReset, "Resets the drive to clear existing faults"},
           {win_.SWE_OFF, "Sets SWE=OFF"},
           {win_.SWE_ON, "Sets SWE=ON"},
           {strip.AddUV, "Adds a new Variable"},
           {strip.DeleteUV, "Deletes the selected Variable"},
           {strip.UV_Change, "Changes the selected Variable"},
           {&strip, ""},
           {strip.tabBar(), ""}};
  for (auto& [w, text] : tips_) {
    w->setToolTip("");  // the window's own tips show instead
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
}

bool OnlinePanel::eventFilter(QObject* watched, QEvent* e) {
  if (IOEvent(watched, e)) return true;
  switch (e->type()) {
    case QEvent::MouseMove:
      for (const auto& [w, text] : tips_)
        if (watched == w) {
          win_.Tip()->TT(text);
          return true;  // not on to the background, which would hide the tip again
        }
      break;
    case QEvent::KeyPress: {
      const auto* k = static_cast<QKeyEvent*>(e);
      if (k->key() != Qt::Key_Space) break;
      if (watched == win_.Watch) {
        Watch_KeyPress(32);
        return true;
      }
      if (watched == win_.StatStrip->FaultList) {
        FaultList_KeyPress(32);
        return true;
      }
      break;
    }
    case QEvent::MouseButtonRelease:
      if (watched == win_.statusBar() || watched == win_.Mon1[0] || watched == win_.Mon1[1] ||
          watched == win_.Mon1[2]) {
        Mon1_Click();
        return true;
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, e);
}

bool OnlinePanel::PopUpShowing() const {
  if (win_.IOMenu->isVisible() || win_.WAMenu->isVisible()) return true;
  // The scope's chart menu counts only while it shows; no scope window is needed.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMenu*>(w); m && m->objectName() == "ASPlot" && m->isVisible())
      return true;
  return false;
}

bool OnlinePanel::DriveSelected() const {
  return win_.AxisSelected && !win_.AppSelected && win_.CurNode >= 0;
}

int OnlinePanel::State(const QToolButton* b) { return b->property(kState).toInt(); }

void OnlinePanel::SetState(QToolButton* b, int state) {
  const QVariant now = b->property(kState);
  if (now.isValid() && now.toInt() == state) return;
  b->setProperty(kState, state);
  QStyle::StandardPixmap face;
  if (b == win_.BtnRS) face = state ? QStyle::SP_MediaPlay : QStyle::SP_MediaStop;
  else face = state ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay;
  b->setIcon(b->style()->standardIcon(face));
}

void OnlinePanel::SetShown(QWidget* w, bool shown) {
  if (w->isHidden() == !shown) return;
  w->setVisible(shown);
}

void OnlinePanel::SetPanel(int i, const std::string& text) {
  const QString t = QString::fromStdString(text);
  if (win_.Mon1[size_t(i)]->text() != t) win_.Mon1[size_t(i)]->setText(t);
}

OnlinePanel::Pass::Pass(OnlinePanel& p) : p_(p) {
  if (p_.passDepth_++ > 0) return;
  if (!p_.win_.Answers.PassHeld()) p_.win_.Answers.BeginPass();
  p_.passGivenUp_ = false;
  p_.asked_ = 0;
}

OnlinePanel::Pass::~Pass() {
  if (--p_.passDepth_ == 0) p_.passGivenUp_ = false;
}

OnlinePanel::View OnlinePanel::CurrentView() const {
  return {win_.CurNode,      win_.CurApp,        win_.StatStrip->currentIndex(), watchChanges_,
          win_.AxisSelected, win_.AppSelected,   win_.ActiveProgramShown,       win_.Link.theHandle()};
}

void OnlinePanel::Yield() {
  const View before = CurrentView();
  ++yieldDepth_;
  talvero::TheClock().ProcessEvents();
  --yieldDepth_;
  if (CurrentView() != before) passGivenUp_ = true;
}

bool OnlinePanel::Ask(int node, const std::function<void()>& request) {
  if (passGivenUp_ || win_.Answers.FailedThisPass(node)) return false;
  // Only the tick's own requests yield; a handler running inside its yield
  // asks as it would anywhere else.
  const bool yields = inTick_ && yieldDepth_ == 0;
  if (yields && (asked_++ > 0 || tickInRequest_)) {
    Yield();
    if (passGivenUp_) return false;
  }
  ISP& link = win_.Link;
  std::function<bool(int)> saved = link.BeforeRetry;
  const int depth = yieldDepth_;
  // Requests of handlers that run between the tries fail on their own account.
  uint64_t othersFailed = 0;
  link.BeforeRetry = [this, yields, depth, &othersFailed](int n) {
    if (yieldDepth_ != depth) return true;  // a request of a handler inside the yield
    if (win_.Answers.Silent(n)) return false;   // a silent drive costs one try
    const uint64_t before = win_.Link.FailedOperations;
    if (yields) Yield();
    else talvero::TheClock().ProcessEvents();  // a click's read keeps the window live too
    othersFailed += win_.Link.FailedOperations - before;
    if (yields && passGivenUp_) return false;
    return !win_.Answers.Silent(n);
  };
  const FailureWatch watch(link);
  request();
  link.BeforeRetry = std::move(saved);
  const bool failed = watch.Failures() > othersFailed;
  // A request cut short because the pass was given up says nothing of the drive.
  if (passGivenUp_) return !failed;
  if (failed) win_.Answers.Failed(node);
  else win_.Answers.Answered(node);
  // A failed request took a whole time-out: events run before anyone's next packet.
  if (failed && yields) Yield();
  return !failed;
}

void OnlinePanel::TStat_Timer() {
  // A tick never starts inside its own yield.
  if (inTick_ || PopUpShowing()) return;
  inTick_ = true;
  // A tick that starts between the tries of another request lets the events
  // that came with it run before its first packet too: else two tries pass
  // with no event between them.
  tickInRequest_ = bool(win_.Link.BeforeRetry);
  Pass pass(*this);
  if (win_.Timeouts->isVisible()) {
    const QString caption = QString::fromStdString(talvero::online::TimeoutsCaption(win_.Link.ErrorCount));
    if (win_.Timeouts->text() != caption) win_.Timeouts->setText(caption);
  }
  const bool wasAnswering = Answering(win_.CurNode);
  WatchPass();
  if (!passGivenUp_) StatusBarPass(wasAnswering);
  inTick_ = false;
}

void OnlinePanel::StatusBarPass(bool wasAnswering) {
  if (!win_.AxisSelected || win_.CurNode < 0) {
    SetPanel(1, "");
    SetPanel(2, "");
    return;
  }
  const int node = win_.CurNode;
  UpdateState();
  if (passGivenUp_) return;
  const bool answered = Ask(node, [&]() { win_.Link.Status2(node); });
  if (passGivenUp_) return;
  win_.Status2Bits = win_.Link.Status2Bits;
  if (answered && win_.AxisStatusNode == node) {
    SetPanel(1, talvero::online::StatusPanel2(win_.AxisStatus, win_.Status2Bits));
    SetPanel(2, talvero::online::StatusPanel3(win_.Status2Bits));
  } else {
    SetPanel(1, talvero::online::NotAnswering(node));
    SetPanel(2, "");
  }
  if (wasAnswering != Answering(node)) FollowAnswering(wasAnswering);
  if (!wasAnswering && Answering(node)) win_.DriveAnswered(node);
}

void OnlinePanel::UpdateState() {
  if (PopUpShowing()) return;
  if (!DriveSelected()) {
    for (QWidget* b : {win_.BtnRS, win_.BtnPause, win_.Btn1, win_.SWE_ON, win_.SWE_OFF,
                       win_.ShowScope, win_.Toggle})
      SetShown(b, false);
    win_.StepMarkerRow = -1;
    return;
  }
  Pass pass(*this);
  const int node = win_.CurNode;
  if (!win_.StatStrip->isHidden() && win_.StatStrip->CurrentCaption() == "IO") ShowIO();
  if (passGivenUp_) return;
  uint16_t status = 0;
  const bool answered = Ask(node, [&]() { status = win_.Link.Status(node); });
  if (passGivenUp_) return;
  win_.AxisStatus = status;
  win_.AxisStatusNode = answered ? node : -1;
  if (!answered) {
    // Nothing to run or step on a drive that does not answer.
    for (QWidget* b : {win_.BtnRS, win_.BtnPause, win_.Btn1, win_.SWE_ON, win_.SWE_OFF,
                       win_.ShowScope, win_.Toggle})
      SetShown(b, false);
    if (win_.ActiveProgramShown) MoveStepMarkerTo(-1);
    return;
  }
  for (QWidget* b : {win_.BtnRS, win_.BtnPause, win_.SWE_ON, win_.SWE_OFF, win_.ShowScope, win_.Toggle})
    SetShown(b, true);
  SetState(win_.BtnRS, ISP::IsRunning(status) ? 0 : 1);
  SetState(win_.BtnPause, ISP::IsPaused(status) ? 0 : 1);
  SetShown(win_.Btn1, ISP::IsRunning(status) && ISP::IsPaused(status));
  if (win_.ActiveProgramShown) MoveStepMarker();
}

void OnlinePanel::MoveStepMarker() {
  const int node = win_.CurNode;
  int step = -1;
  Ask(node, [&]() { step = win_.Link.WhatStep(node); });
  if (passGivenUp_) return;
  MoveStepMarkerTo(step);
}

void OnlinePanel::MoveStepMarkerTo(int step) {
  const bool fault = ISP::RunFault(win_.AxisStatus);
  if (step == win_.StepMarkerRow && fault == win_.LastStepFaulted) return;
  EditListView& list = *win_.EditList;
  auto put = [&](int row, const char* key) {
    if (row >= 0 && row < list.ListCount()) list.SetListPicture(row, win_.StepImages.Picture(key));
  };
  if (win_.StepMarkerRow >= 0) put(win_.StepMarkerRow, "step-mt");
  if (step >= 0) put(step, fault ? "step-bad" : "step-cur");
  win_.StepMarkerRow = step;
  win_.LastStepFaulted = fault;
}

bool OnlinePanel::Answering(int node) const { return !win_.Answers.Silent(node); }
