#include "wizards/wizard_dialog.h"

#include <QComboBox>
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
