#include "wizards/stepper_setup.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "mainwin/main_win.h"
#include "wizards/model/motor_library.h"
#include "wizards/wizard_layout.h"

namespace wizards {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

StepperSetup::StepperSetup(MainWin& win, QWidget* parent)
    : WizardDialog(win, "Stepper Axis Setup Wizard", parent), page_(DesignStepperPage()) {
  Build();
  Form_Load();
}

void StepperSetup::Build() {
  static const char* kCaptions[] = {"Motor Resolution (steps/rev)",
                                    "Inertia (kg-m\xC2\xB2)",
                                    "Midband Compensation Start Vel (RPM)",
                                    "Current Loop P Gain",
                                    "Current Loop I Gain",
                                    "Current Loop Midband Comp Gain",
                                    "Torque Constant [Kt] Nm/A",
                                    "Rated Current (A RMS)",
                                    "Pulses/Rev",
                                    "3rd Harmonic Compensation"};
  for (int i = 0; i < 10; ++i) {
    MP[i] = TextBox(this, "");
    MPL[i] = new QLabel(kCaptions[i], this);
  }
  for (int hidden : {1, 4, 6}) {
    MP[hidden]->hide();
    MPL[hidden]->hide();
  }

  Frame1 = new QGroupBox("Motor", this);
  auto* motor = new QVBoxLayout(Frame1);
  motor->addWidget(MtrSelection);
  std::vector<std::pair<QWidget*, QWidget*>> rows;
  for (int i = 0; i < 8; ++i) rows.push_back({MPL[i], MP[i]});
  rows.push_back({MPL[9], MP[8]});
  motor->addLayout(LabelledRows(rows));

  Frame2 = new QGroupBox("Feedback", this);
  auto* feedback = new QVBoxLayout(Frame2);
  auto* options = new QHBoxLayout;
  FeedT[0] = new QRadioButton("Encoder", Frame2);
  FeedT[1] = new QRadioButton("None", Frame2);
  for (QRadioButton* b : FeedT) options->addWidget(b);
  options->addStretch(1);
  feedback->addLayout(options);
  feedback->addLayout(LabelledRows({{MPL[8], MP[9]}}));

  auto* root = new QVBoxLayout(this);
  root->addWidget(Frame1);
  root->addWidget(Frame2);
  root->addWidget(Notice);
  root->addLayout(ButtonRow(ASW_OK, ASW_Cancel));
  root->setSizeConstraint(QLayout::SetFixedSize);
  parts_ = {Frame1, Frame2};

  for (int i = 0; i < 2; ++i)
    connect(FeedT[i], &QRadioButton::clicked, this, [this, i]() {
      if ((i == 0) != page_.encoder) FeedT_Click(i);  // a choice only when it changes
    });
  Connect();
}

void StepperSetup::Form_Load() {
  LoadMotorList(StepperFixedRows(), true);
  page_.FromLibrary = false;
}

void StepperSetup::Form_Activate() { FillData(true); }

StepperPage StepperSetup::Page() const {
  StepperPage p = page_;
  for (int i = 0; i < 10; ++i) p.box[i].text = MP[i]->text().toStdString();
  p.encoder = FeedT[0]->isChecked();
  return p;
}

void StepperSetup::Show(const StepperPage& p) {
  page_ = p;
  for (int i = 0; i < 10; ++i) {
    if (!p.box[i].visible) continue;
    MP[i]->setEnabled(p.box[i].enabled);
    MP[i]->setText(Q(p.box[i].text));
  }
  MPL[8]->setEnabled(p.mp9CaptionEnabled);
  FeedT[p.encoder ? 0 : 1]->setChecked(true);
  for (int i = 0; i < 2; ++i) FeedT[i]->setEnabled(p.feedEnabled[i]);
}

void StepperSetup::ClearPage() {
  for (QLineEdit* box : MP) box->clear();
  for (QRadioButton* b : FeedT) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
}

void StepperSetup::FillData(bool UseCurrent) {
  ParamAccess::PageRead read(access_, this);
  StepperPage page = Page();
  std::optional<MotorRecord> motor;
  if (UseCurrent) {
    MtrSelection->setCurrentIndex(0);  // from code: no second fill
  } else if (MtrSelection->currentIndex() >= 2) {
    motor = ChosenMotor();
    if (!motor) return;
  }
  StepperFill(page, UseCurrent, motor ? &*motor : nullptr, access_);
  if (read.Failed()) {
    ShowUnread(read);
    return;
  }
  if (UseCurrent) ShowRead();
  Show(page);
}

void StepperSetup::FeedT_Click(int Index) {
  StepperPage page = Page();
  StepperFeedTClick(page, Index);
  Show(page);
}

void StepperSetup::ASW_OK_Click() {
  if (unread_) return;  // never write what was not read
  const std::vector<ParamWrite> writes = StepperWrites(Page());
  accept();
  access_.BeginRun();
  for (const ParamWrite& w : writes) ChP(w.name, w.value);
  access_.WarnUnwritten();
}

}  // namespace wizards
