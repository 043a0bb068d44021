#include "wizards/axis_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"
#include "wizards/model/motor_library.h"
#include "wizards/model/servo_setup.h"
#include "wizards/wizard_layout.h"

namespace wizards {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }
}  // namespace

AxisSetup::AxisSetup(MainWin& win, QWidget* parent) : WizardDialog(win, "Axis Setup Wizard", parent) {
  Build();
  Form_Load();
}

void AxisSetup::Build() {
  // The application frame: each use with the inputs it makes live.
  Frame3 = new QGroupBox("Application", this);
  auto* app = new QVBoxLayout(Frame3);
  static const char* kUses[] = {
      "Application requires positioning under program control...",
      "Drive will receive an Analog/Digital Velocity Command...",
      "Drive will act as a Slave, and accept a Master Encoder Input...",
      "Drive receives an Analog/Digital Current Command"};
  static const char* kLabels[] = {"Required Positioning Accuracy in parts of a motor revolution",
                                  "Maximum Differential Input Voltage",
                                  "Required Velocity Command at that Voltage",
                                  "Maximum Required Velocity Change (in RPM)",
                                  "In What Time ? (seconds)"};
  static const char* kInitial[] = {"0.001", "10.0", "5000", "5000", "1.0", "1.0", "1.0"};
  for (int i = 0; i < 4; ++i) ASet[i] = new QCheckBox(kUses[i], Frame3);
  for (int i = 0; i < 7; ++i) ASI[i] = TextBox(Frame3, kInitial[i]);
  for (int i = 0; i < 5; ++i) {
    ASL[i] = new QLabel(kLabels[i], Frame3);
    ASL[i]->setWordWrap(true);
  }
  Label1[0] = new QLabel("<-- Ratio -->", Frame3);
  Label1[1] = new QLabel("Master", Frame3);
  Label1[2] = new QLabel("Slave", Frame3);
  for (QLabel* l : Label1) l->setAlignment(Qt::AlignCenter);
  DA = new QCheckBox("Digital Command Mode", Frame3);

  app->addWidget(ASet[0]);
  app->addLayout(Indented(LabelledRows({{ASL[0], ASI[0]}})));
  app->addWidget(ASet[1]);
  app->addLayout(Indented(LabelledRows({{ASL[1], ASI[1]}, {ASL[2], ASI[2]}, {ASL[3], ASI[3]},
                                        {ASL[4], ASI[4]}})));
  app->addWidget(ASet[2]);
  auto* ratio = new QGridLayout;
  ratio->addWidget(ASI[5], 0, 0);
  ratio->addWidget(Label1[0], 0, 1);
  ratio->addWidget(ASI[6], 0, 2);
  ratio->addWidget(Label1[1], 1, 0);
  ratio->addWidget(Label1[2], 1, 2);
  ratio->setColumnStretch(3, 1);
  app->addLayout(Indented(ratio));
  app->addWidget(ASet[3]);
  app->addSpacing(8);
  app->addWidget(DA);
  app->addStretch(1);

  // The motor frame and the feedback frame.
  Frame1 = new QGroupBox("Motor", this);
  auto* motor = new QVBoxLayout(Frame1);
  MtrType = new QLabel(Frame1);
  const MotorPage design = DesignMotorPage();
  for (int i = 0; i < 9; ++i) {
    MP[i] = TextBox(this, "");
    MPL[i] = new QLabel(Q(design.caption[i]), this);
  }
  motor->addWidget(MtrSelection);
  motor->addWidget(MtrType);
  std::vector<std::pair<QWidget*, QWidget*>> rows;
  for (int i = 0; i < 8; ++i) rows.push_back({MPL[i], MP[i]});
  motor->addLayout(LabelledRows(rows));
  motor->addStretch(1);

  Frame2 = new QGroupBox("Feedback", this);
  auto* feedback = new QVBoxLayout(Frame2);
  auto* options = new QHBoxLayout;
  static const char* kFeeds[] = {"Encoder", "Resolver", "Tachometer"};
  for (int i = 0; i < 3; ++i) {
    FeedT[i] = new QRadioButton(kFeeds[i], Frame2);
    options->addWidget(FeedT[i]);
  }
  options->addStretch(1);
  CTK = new QCheckBox(Q(design.ctkCaption), Frame2);
  feedback->addLayout(options);
  feedback->addWidget(CTK);
  feedback->addLayout(LabelledRows({{MPL[8], MP[8]}}));

  auto* right = new QVBoxLayout;
  right->addWidget(Frame1, 1);
  right->addWidget(Frame2);
  auto* frames = new QHBoxLayout;
  frames->addWidget(Frame3, 1);
  frames->addLayout(right);
  auto* root = new QVBoxLayout(this);
  root->addLayout(frames);
  root->addWidget(Notice);
  root->addLayout(ButtonRow(ASW_OK, ASW_Cancel));
  root->setSizeConstraint(QLayout::SetFixedSize);
  parts_ = {Frame1, Frame2, Frame3};

  for (int i = 0; i < 4; ++i)
    connect(ASet[i], &QCheckBox::toggled, this, [this, i]() { ASet_Click(i); });
  for (int i = 0; i < 3; ++i)
    connect(FeedT[i], &QRadioButton::clicked, this, [this, i]() {
      if (i != shownFeed_) FeedT_Click(i);  // a choice only when it changes
    });
  Connect();
}

void AxisSetup::Form_Load() { LoadMotorList(ServoFixedRows(), false); }

MotorPage AxisSetup::Page() const {
  MotorPage p;
  p.type = S(MtrType->text());
  for (int i = 0; i < 9; ++i) {
    p.caption[i] = S(MPL[i]->text());
    p.box[i] = {!MP[i]->isHidden(), MP[i]->isEnabled(), S(MP[i]->text())};
  }
  p.feed = -1;
  for (int i = 0; i < 3; ++i) {
    if (FeedT[i]->isChecked()) p.feed = i;
    p.feedEnabled[i] = FeedT[i]->isEnabled();
  }
  p.ctkCaption = S(CTK->text());
  p.ctkEnabled = CTK->isEnabled();
  p.ctk = CTK->isChecked();
  p.coff = CoffValue;
  p.ikpq = IkpqValue;
  return p;
}

void AxisSetup::Show(const MotorPage& p) {
  MtrType->setText(Q(p.type));
  for (int i = 0; i < 9; ++i) {
    MPL[i]->setText(Q(p.caption[i]));
    MPL[i]->setVisible(p.box[i].visible || i == 1 || i == 7);
    MP[i]->setVisible(p.box[i].visible);
    MP[i]->setEnabled(p.box[i].enabled);
    MP[i]->setText(Q(p.box[i].text));
  }
  for (int i = 0; i < 3; ++i) {
    FeedT[i]->setEnabled(p.feedEnabled[i]);
    if (i == p.feed) FeedT[i]->setChecked(true);
  }
  shownFeed_ = p.feed;
  CTK->setText(Q(p.ctkCaption));
  CTK->setEnabled(p.ctkEnabled);
  CTK->setChecked(p.ctk);
  CoffValue = p.coff;
  IkpqValue = p.ikpq;
}

void AxisSetup::ClearPage() {
  MtrType->clear();
  for (QLineEdit* box : MP) box->clear();
  for (QLineEdit* box : ASI) box->clear();
  for (QRadioButton* b : FeedT) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
  shownFeed_ = -1;
  for (QCheckBox* box : ASet) {
    const QSignalBlocker quiet(box);
    box->setChecked(false);
  }
  CTK->setChecked(false);
  DA->setChecked(false);
}

void AxisSetup::FillData(bool UseCurrent) {
  ParamAccess::PageRead read(access_, this);
  MotorPage page = Page();
  if (UseCurrent) {
    MtrSelection->setCurrentIndex(0);  // from code: no second fill
    FillFromCurrent(page, access_);
  } else if (int row = MtrSelection->currentIndex(); row <= 5) {
    FillGeneric(page, row, access_);
  } else {
    const std::optional<MotorRecord> motor = ChosenMotor();
    if (!motor) return;
    FillLibrary(page, *motor, access_);
  }
  if (read.Failed()) {
    ShowUnread(read);
    return;
  }
  Show(page);
}

void AxisSetup::FeedT_Click(int Index) {
  MotorPage page = Page();
  FeedTClick(page, Index);
  Show(page);
}

void AxisSetup::ASet_Click(int) {
  int first = -1;
  for (int i = 0; i < 4 && first < 0; ++i)
    if (ASet[i]->isChecked()) first = i;
  const UseState s = UseRule(first);
  for (int i = 0; i < 7; ++i) ASI[i]->setEnabled(s.asi[i]);
  for (int i = 0; i < 5; ++i) ASL[i]->setEnabled(s.asi[i]);
  for (int i = 0; i < 3; ++i) Label1[i]->setEnabled(s.label1[i]);
  for (int i = 0; i < 4; ++i) ASet[i]->setEnabled(s.aset[i]);
  ASW_OK->setEnabled(s.ok && !unread_);
  DA->setEnabled(s.daEnabled);
  if (!s.daFromDcm) {
    DA->setChecked(true);
    return;
  }
  ParamAccess::PageRead read(access_, this);
  const int dcm = access_.Code("DCM");
  if (read.Failed()) ShowUnread(read);
  else DA->setChecked(dcm != 0);
}

void AxisSetup::Form_Activate() {
  ParamAccess::PageRead read(access_, this);
  FillData(true);
  if (read.Failed()) return;  // shown unread
  ShowRead();
  for (QCheckBox* box : ASet) {
    box->setEnabled(false);
    box->setChecked(false);
  }
  ASW_OK->setEnabled(true);
  const ServoInputs in = PrefillInputs(Page(), access_);
  if (read.Failed()) {
    ShowUnread(read);
    return;
  }
  DA->setEnabled(true);
  DA->setChecked(in.da);
  for (int i = 0; i < 7; ++i) ASI[i]->setText(Q(in.asi[i]));
  if (in.use >= 0) {
    ASet[in.use]->setEnabled(true);
    ASet[in.use]->setChecked(true);
  } else {
    for (QCheckBox* box : ASet) box->setEnabled(true);
    ASW_OK->setEnabled(false);
  }
}

void AxisSetup::ASW_OK_Click() {
  if (unread_) return;  // never write what was not read
  ServoForm form;
  form.page = Page();
  for (int i = 0; i < 4; ++i) form.aset[i] = ASet[i]->isChecked();
  for (int i = 0; i < 7; ++i) form.asi[i] = S(ASI[i]->text());
  form.da = DA->isChecked();
  form.tauOrPhi = access_.TauOrPhi();
  const ServoWrites set = ServoSetupWrites(form);
  if (!set.error.empty()) {
    talvero::ThePrompter().Critical(set.error);
    return;
  }
  access_.BeginRun();
  for (const ParamWrite& w : set.writes) ChP(w.name, w.value);
  accept();
  access_.WarnUnwritten();
}

}  // namespace wizards
