#include "wizards/wizard_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"

namespace wizards {

WizardDialog::WizardDialog(MainWin& win, const QString& title, QWidget* parent)
    : QDialog(parent), win_(win), access_(win) {
  setWindowTitle(title);
  setModal(true);
  MtrSelection = new QComboBox(this);
  MtrSelection->setMinimumContentsLength(34);
  ASW_OK = new QPushButton("OK", this);
  ASW_Cancel = new QPushButton("Cancel", this);
  ASW_OK->setDefault(true);
  Notice = new QLabel(this);
  Notice->setObjectName("Notice");
  Notice->hide();
}

void WizardDialog::Connect() {
  connect(MtrSelection, &QComboBox::activated, this, [this]() { MtrSelection_Click(); });
  connect(ASW_OK, &QPushButton::clicked, this, [this]() { ASW_OK_Click(); });
  connect(ASW_Cancel, &QPushButton::clicked, this, [this]() { ASW_Cancel_Click(); });
}

void WizardDialog::MtrSelection_Click() { FillData(MtrSelection->currentIndex() < 1); }

void WizardDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) Form_Activate();
}

void WizardDialog::closeEvent(QCloseEvent* e) {
  if (access_.Reading()) e->ignore();
  else QDialog::closeEvent(e);
}

void WizardDialog::ShowUnread(const ParamAccess::PageRead& read) {
  unread_ = true;
  ClearPage();
  for (QWidget* w : parts_) w->setEnabled(false);
  ASW_OK->setEnabled(false);
  Notice->setText(QString::fromStdString(read.NotAnswering()));
  Notice->show();
  win_.AwaitAnswer(read.Node(), [d = QPointer<WizardDialog>(this)]() {
    if (d && d->isVisible()) d->Form_Activate();
  });
}

void WizardDialog::ShowRead() {
  unread_ = false;
  for (QWidget* w : parts_) w->setEnabled(true);
  ASW_OK->setEnabled(true);
  Notice->hide();
}

void WizardDialog::LoadMotorList(std::span<const std::string> fixedRows, bool steppers) {
  MtrSelection->clear();
  for (const std::string& row : fixedRows) MtrSelection->addItem(QString::fromStdString(row));
  if (win_.MotorsRS)
    for (const std::string& apn : MotorNames(*win_.MotorsRS, steppers))
      MtrSelection->addItem(QString::fromStdString(apn));
  MtrSelection->setCurrentIndex(-1);
}

std::optional<MotorRecord> WizardDialog::ChosenMotor() {
  const std::string apn = MtrSelection->currentText().toStdString();
  std::optional<MotorRecord> motor;
  if (win_.MotorsRS) motor = FindMotor(*win_.MotorsRS, apn);
  if (!motor) {
    talvero::ThePrompter().Plain(MotorMissingText(apn));
    FillData(true);
  }
  return motor;
}

}  // namespace wizards
