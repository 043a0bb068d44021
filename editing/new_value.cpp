#include "editing/new_value.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/prompter.h"
#include "store/syntax.h"

namespace editing {

NewValue::NewValue(QWidget* parent) : QDialog(parent) {
  setObjectName("NewValue");
  setWindowTitle("Change...");
  setModal(true);
  What = new QLabel("New value for...", this);
  What->setObjectName("What");
  VList = new QComboBox(this);
  VList->setObjectName("VList");
  VList->setMinimumWidth(220);
  NewVal = new QLineEdit(this);
  NewVal->setObjectName("NewVal");
  NewVal->setMinimumWidth(220);
  units = new QLabel(this);
  units->setObjectName("units");
  ChangeOK = new QPushButton("Change", this);
  ChangeOK->setObjectName("ChangeOK");
  ChangeOK->setDefault(true);
  ChangeCancel = new QPushButton("Cancel", this);
  ChangeCancel->setObjectName("ChangeCancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(What, 0, 0, 1, 2);
  grid->addWidget(VList, 1, 0);
  grid->addWidget(NewVal, 1, 0);
  grid->addWidget(units, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ChangeOK);
  buttons->addWidget(ChangeCancel);
  grid->addLayout(buttons, 2, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  connect(ChangeOK, &QPushButton::clicked, this, &NewValue::ChangeOK_Click);
  connect(ChangeCancel, &QPushButton::clicked, this, &NewValue::ChangeCancel_Click);
  // A value that names no entry selects none: "Change" waits for a choice.
  connect(VList, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (ListShown()) ChangeOK->setEnabled(i >= 0);
  });
  ShowList(false);
}

void NewValue::ShowList(bool list) {
  VList->setVisible(list);
  NewVal->setVisible(!list);
  ChangeOK->setEnabled(!list || VList->currentIndex() >= 0);
}

bool NewValue::ListShown() const { return !VList->isHidden(); }

void NewValue::ChangeOK_Click() {
  if (!ListShown() && !Syntax::IsValidExpression(NewVal->text().toStdString())) {
    talvero::ThePrompter().Critical("A valid expression (without any spaces) is required.");
    return;
  }
  Result = 1;
  done(QDialog::Accepted);
}

void NewValue::ChangeCancel_Click() {
  Result = 0;
  done(QDialog::Rejected);
}

void NewValue::Form_Activate() {
  if (NewVal->isEnabled() && !NewVal->isHidden()) {
    NewVal->setSelection(0, int(NewVal->text().size()));
    NewVal->setFocus();
  }
}

void NewValue::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Form_Activate();
}

void NewValue::closeEvent(QCloseEvent* e) {
  Result = 0;
  QDialog::closeEvent(e);
}

// Escape and the close box.
void NewValue::reject() {
  Result = 0;
  QDialog::reject();
}

}  // namespace editing
