#include "wizards/tune.h"

#include <QCheckBox>
#include <QEvent>
#include <QShowEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QWindow>

#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "runtime/cstr.h"
#include "runtime/format.h"
#include "runtime/val.h"
#include "wizards/axis_setup.h"
#include "wizards/install.h"

namespace wizards {

namespace {

struct Busy {
  explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
  ~Busy() { flag_ = false; }
  bool& flag_;
};

QSlider* MakeSlider(QWidget* parent, const char* name, int min, int max, int tick) {
  auto* s = new QSlider(Qt::Horizontal, parent);
  s->setObjectName(name);
  s->setRange(min, max);
  s->setTickInterval(tick);
  s->setTickPosition(QSlider::TicksBelow);
  return s;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Tune::Tune(MainWin& win, QWidget* parent) : QWidget(parent, Qt::Tool), win_(win) {
  setObjectName("Tune");
  setWindowTitle("Tuning Wizard");
  Build();
  // The operator went to another window: a later activation is a return.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
    if (w && w != windowHandle()) skipActivation_ = false;
  });
}

void Tune::Build() {
  Damping = MakeSlider(this, "Damping", kDampingMin, kDampingMax, 2);
  Response = MakeSlider(this, "Response", kResponseMin, 300, 4);
  FeedForward = MakeSlider(this, "FeedForward", 0, 100, 2);
  XI = MakeSlider(this, "XI", 0, kInertiaClassMax, 1);
  XI->setPageStep(1);
  Label_D = MakeLabel(this, "Label_D", "Damping");
  Label_R = MakeLabel(this, "Label_R", "Response");
  Label_FF = MakeLabel(this, "Label_FF", "Feedforward Gain");
  XI_T = MakeLabel(this, "XI_T", "External Inertia");
  XI_L = MakeLabel(this, "XI_L", "Low");
  XI_H = MakeLabel(this, "XI_H", "High");
  Label_PPG = MakeLabel(this, "Label_PPG", "Position Loop Gain");
  PosGain = new QLineEdit("2.0", this);
  PosGain->setObjectName("PosGain");
  PosGain->setMaximumWidth(PosGain->fontMetrics().horizontalAdvance("0000.0000") + 12);
  SimuPL = new QCheckBox("Position Loop", this);
  SimuPL->setObjectName("SimuPL");
  Revert = new QPushButton("Revert", this);
  Def = new QPushButton("Default", this);
  Set = new QPushButton("Change", this);
  Revert->setObjectName("Revert");
  Def->setObjectName("Def");
  Set->setObjectName("Set");

  auto* grid = new QGridLayout(this);
  grid->setVerticalSpacing(4);
  int row = 0;
  for (auto [label, slider] : {std::pair{Label_D, Damping}, {Label_R, Response}, {Label_FF, FeedForward}}) {
    grid->addWidget(label, row++, 0, 1, 3);
    grid->addWidget(slider, row++, 0, 1, 3);
    grid->setRowMinimumHeight(row++, 6);
  }
  grid->addWidget(XI_T, row++, 0, 1, 3);
  grid->addWidget(XI, row++, 0, 1, 3);
  grid->addWidget(XI_L, row, 0, Qt::AlignLeft);
  grid->addWidget(XI_H, row++, 2, Qt::AlignRight);
  grid->setRowMinimumHeight(row++, 6);
  auto* gain = new QHBoxLayout;
  gain->setSpacing(8);
  gain->addWidget(Label_PPG);
  gain->addWidget(PosGain);
  gain->addStretch(1);
  gain->addWidget(SimuPL);
  grid->addLayout(gain, row++, 0, 1, 3);
  grid->setRowMinimumHeight(row++, 6);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  for (QPushButton* b : {Revert, Def, Set}) buttons->addWidget(b);
  grid->addLayout(buttons, row++, 0, 1, 3);
  setMinimumWidth(420);

  auto operatorMoved = [this](QSlider* s, void (Tune::*handler)()) {
    connect(s, &QSlider::valueChanged, this, [this, handler]() {
      if (!quiet_) (this->*handler)();
    });
  };
  operatorMoved(Damping, &Tune::Damping_Change);
  operatorMoved(Response, &Tune::Response_Change);
  operatorMoved(FeedForward, &Tune::FeedForward_Change);
  operatorMoved(XI, &Tune::XI_Change);
  connect(PosGain, &QLineEdit::textChanged, this, [this]() { ComputeGains(); });
  connect(SimuPL, &QCheckBox::stateChanged, this, [this]() { ComputeGains(); });
  connect(Revert, &QPushButton::clicked, this, [this]() { Revert_Click(); });
  connect(Def, &QPushButton::clicked, this, [this]() { Def_Click(); });
  connect(Set, &QPushButton::clicked, this, [this]() { Set_Click(); });
}

ParamAccess& Tune::Access() { return TheAxisSetup()->Access(); }

bool Tune::ServoAxis() const { return win_.AxisSelected && !win_.AxisTypeMatch("PSI", win_.CurNode); }

bool Tune::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && isVisible()) {
    if (skipActivation_)
      skipActivation_ = false;
    else
      Form_Activate();
  }
  return QWidget::event(e);
}

void Tune::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Showing reads the axis; the activation that comes with it need not.
  // Some window systems send none when the window was the last active one.
  if (e->spontaneous()) return;
  Form_Activate();
  if (isVisible()) skipActivation_ = true;
}

void Tune::hideEvent(QHideEvent* e) {
  skipActivation_ = false;
  QWidget::hideEvent(e);
}

void Tune::Boxed(const std::function<void()>& show) {
  const QWindow* before = QGuiApplication::focusWindow();
  show();
  if (QGuiApplication::focusWindow() != before) skipActivation_ = true;
}

void Tune::Box(const std::string& text) {
  Boxed([&text]() { talvero::ThePrompter().Plain(text); });
}

void Tune::SetSlider(QSlider* s, int value) {
  const bool was = quiet_;
  quiet_ = true;
  s->setValue(value);
  quiet_ = was;
}

void Tune::SetRange(int inertiaClass) {
  const bool was = quiet_;
  quiet_ = true;
  Response->setMaximum(ResponseMax(inertiaClass));
  Response->setTickInterval(ResponseTick(inertiaClass));
  quiet_ = was;
}

void Tune::EnableInputs(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{Damping, Response, FeedForward, XI, PosGain, Revert,
                                                    Def, Set})
    w->setEnabled(on);
}

void Tune::Form_Activate() {
  if (busy_) return;  // a box of ours, or events let through during a read
  Busy busy(busy_);
  if (!ServoAxis()) {
    setWindowTitle("Tuning Wizard (No Servo Axis)");
    EnableInputs(false);
    return;
  }
  EnableInputs(true);
  setWindowTitle(win_.CurNode < 0 ? "Tuning Wizard (Offline App)"
                                  : QString("Tuning Wizard (Node %1)").arg(win_.CurNode));
  LoadValues();
  if (unread_) return;
  Refreshes();
  saved_ = {PosGain->text(), SimuPL->checkState() == Qt::Checked ? 1 : 0, Damping->value(),
            FeedForward->value(), Response->value()};
}

void Tune::Refreshes() {
  FeedForward_Change();
  Damping_Change();
  Response_Change();
}

void Tune::LoadValues() {
  ParamAccess& a = Access();
  ParamAccess::PageRead read(a, this);
  const double ppg = a.Number("PPG");
  a.Read("CM");
  const float iner = float(a.Number("INER"));
  const float kf = float(a.Number("KF"));
  const float kp = float(a.Number("KP"));
  const float ki = float(a.Number("KI"));
  if (read.Failed()) {
    ShowUnread(read.NotAnswering(), read.Node());
    return;
  }
  unread_ = false;
  PosGain->setText(Q(rt::Format(ppg, "##0.000")));
  INER = iner;
  SetSlider(FeedForward, FeedForwardFromKF(kf));
  KP = kp;
  KI = ki;
  PPG = float(rt::Val(PosGain->text().toStdString()));
  if (!(INER > 0)) {
    Box("Bad inertia value loaded in the axis.\nPlease set the inertia to a valid value.");
    hide();
    return;
  }
  const TuneSliders s = SlidersFromGains(INER, KP, KI, kf);
  SetSlider(XI, s.inertiaClass);
  SetRange(s.inertiaClass);
  SetSlider(Damping, s.damping);
  SetSlider(Response, s.response);
  if (!s.recognised) {
    Def_Click();
    Box("Could not recoconize tuning values from the axis.\nDefaults loaded.");
  }
}

void Tune::ShowUnread(const std::string& notAnswering, int node) {
  unread_ = true;
  setWindowTitle(QString("Tuning Wizard (%1)").arg(Q(notAnswering)));
  EnableInputs(false);
  PosGain->clear();
  Label_D->setText("Damping");
  Label_R->setText("Response");
  Label_FF->setText("Feedforward Gain");
  win_.AwaitAnswer(node, [t = QPointer<Tune>(this)]() {
    if (t && t->isVisible()) t->Form_Activate();
  });
}

void Tune::ComputeGains() {
  const TuneGains g = wizards::ComputeGains(INER, Damping->value(), Response->value(), FeedForward->value(),
                                            rt::Val(PosGain->text().toStdString()));
  KP = g.KP;
  KI = g.KI;
  KF = g.KF;
  PPG = g.PPG;
}

void Tune::Damping_Change() {
  ComputeGains();
  Label_D->setText(Q(DampingLabel(Damping->value())));
}

void Tune::Response_Change() {
  ComputeGains();
  Label_R->setText(Q(ResponseLabel(Response->value())));
}

void Tune::FeedForward_Change() {
  ComputeGains();
  Label_FF->setText(Q(FeedForwardLabel(FeedForward->value())));
}

void Tune::SetInertiaRange(float R) {
  const int x = InertiaClass(R);
  SetSlider(XI, x);
  SetRange(x);
}

void Tune::XI_Change() {
  SetRange(XI->value());
  if (Response->maximum() <= Response->value()) Response_Change();
}

void Tune::Def_Click() {
  SetSlider(FeedForward, 80);
  SetSlider(Damping, 70);
  SetSlider(Response, 150);
  PosGain->setText(Q(rt::Format(5, "##0.000")));
  Refreshes();
  SetInertiaRange(float(Response->value()));
  Response_Change();
}

void Tune::Revert_Click() {
  PosGain->setText(saved_.posGain);
  SimuPL->setCheckState(saved_.simuPL ? Qt::Checked : Qt::Unchecked);
  SetSlider(Damping, saved_.damping);
  SetSlider(FeedForward, saved_.feedForward);
  SetInertiaRange(float(saved_.response));
  SetSlider(Response, saved_.response);
  Refreshes();
}

void Tune::Set_Click() {
  // A second click while the writes go out; or no gains read to change.
  if (busy_ || unread_) return;
  Busy busy(busy_);
  // The tree may have moved on since the last read.
  if (!ServoAxis()) {
    setWindowTitle("Tuning Wizard (No Servo Axis)");
    EnableInputs(false);
    return;
  }
  ParamAccess& a = Access();
  a.BeginRun();
  a.ChP("KP", rt::CStrSingle(KP));
  a.ChP("KI", rt::CStrSingle(KI));
  a.ChP("KF", rt::CStrSingle(KF));
  a.ChP("PPG", rt::CStrSingle(PPG));
  PosGain->setText(Q(rt::Format(rt::Val(PosGain->text().toStdString()), "##0.000")));
  Boxed([&a]() { a.WarnUnwritten(); });
}

bool TuneVisible() { return talvero::TheWindowFactory().IsVisible("Tune"); }

}  // namespace wizards
