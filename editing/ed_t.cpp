#include "editing/ed_t.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "editing/model/value_rules.h"
#include "editing/over_tree.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/dao/recordset.h"
#include "platform/help/help_sys.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "runtime/text.h"
#include "store/syntax.h"

namespace editing {

EdT::EdT(MainWin& win) : OverTreeDialog(win, OKPressed) {
  setObjectName("EdT");
  setWindowTitle("Edit an Event...");
  setModal(true);
  Step = new QListWidget(this);
  Step->setObjectName("Step");
  Step->setMinimumSize(300, 160);
  MakeOperands();
  ThED = new QCheckBox("Enabled", this);
  ThED->setObjectName("ThED");
  OK = new QPushButton("OK", this);
  OK->setObjectName("OK");
  OK->setDefault(true);
  Cancel = new QPushButton("Cancel", this);
  Cancel->setObjectName("Cancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(Step, 0, 0, 1, 2);
  PlaceOperands(grid);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ThED);
  buttons->addStretch();
  buttons->addWidget(OK);
  buttons->addWidget(Cancel);
  grid->addLayout(buttons, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  connect(Step, &QListWidget::itemClicked, this, [this] { Step_Click(); });
  connect(Step, &QListWidget::currentRowChanged, this, [this] { Step_Click(); });
  connect(OK, &QPushButton::clicked, this, &EdT::OK_Click);
  connect(Cancel, &QPushButton::clicked, this, &EdT::Cancel_Click);
  Step->viewport()->installEventFilter(this);
}

ThreadsMod::EventEdit EdT::DoEdit(const ThreadsMod::EventEdit& start) {
  EventOp = start.op;
  EventP1 = start.p1;
  EventP2 = start.p2;
  ThED->setChecked(start.enabled);
  ThED->setEnabled(start.enableAllowed);
  DoEdit();
  ThreadsMod::EventEdit done = start;
  done.op = int16_t(ChosenOp);
  done.p1 = Text1->text().toStdString();
  done.p2 = Text2->text().toStdString();
  done.enabled = ThED->isChecked();
  done.cancelled = Cancelled;
  return done;
}

void EdT::DoEdit() {
  ChosenOp = EventOp;
  Select_Based_on_OP();
  Fill_in();
  talvero::TheWindowFactory().ShowModal("EdT");
  Cancelled = !OKPressed;
}

void EdT::Select_Based_on_OP() {
  filling_ = true;
  Step->clear();
  auto add = [this](const QString& text, int id) {
    auto* it = new QListWidgetItem(text, Step);
    it->setData(Qt::UserRole, id);
    if (id == ChosenOp || (id < 0 && ChosenOp < 0)) Step->setCurrentItem(it);
  };
  add("<empty>", -1);
  if (talvero::dao::Recordset* rs = win_.ThreadsRS)
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
      add(QString::fromStdString(rs->Text("des")), int(rs->Field("id").Long()));
  filling_ = false;
}

void EdT::Fill_in() {
  for (QWidget* w : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Des1),
                     static_cast<QWidget*>(Text2), static_cast<QWidget*>(Des2)})
    w->hide();
  talvero::dao::Recordset* rs = win_.ThreadsRS;
  const bool found = ChosenOp >= 0 && rs && rs->Seek("id", int64_t(ChosenOp)).ok() && !rs->NoMatch();
  auto operand = [&](const char* field, QLabel* des, QLineEdit* text, const std::string& own) {
    const std::string descriptor = found ? rs->Text(field) : std::string();
    if (descriptor.empty()) return;
    des->setText(QString::fromStdString(descriptor));
    text->setText(ChosenOp == EventOp ? QString::fromStdString(own) : QString());
    des->show();
    text->show();
  };
  operand("P1", Des1, Text1, EventP1);
  operand("P2", Des2, Text2, EventP2);
}

void EdT::Step_Click() {
  if (filling_) return;
  QListWidgetItem* it = Step->currentItem();
  if (!it) return;
  ChosenOp = it->data(Qt::UserRole).toInt();
  Fill_in();
}

bool EdT::OperandOk(const QLabel* label, const QLineEdit* text) {
  if (text->isHidden()) return true;
  const std::string caption = label->text().toStdString();
  const std::string typed = text->text().toStdString();
  if (rt::Trim(typed).empty()) {
    talvero::ThePrompter().Critical("A valid expression is required for " + caption);
    return false;
  }
  if (talvero::OperandIsExpression(caption) && !Syntax::IsValidExpression(typed)) {
    talvero::ThePrompter().Critical("A valid expression (without any spaces) is required for " + caption);
    return false;
  }
  return true;
}

void EdT::OK_Click() {
  if (!OperandOk(Des1, Text1) || !OperandOk(Des2, Text2)) return;
  OKPressed = true;
  done(QDialog::Accepted);
}

const QListWidget* EdT::HelpList() const { return Step; }

void EdT::ShowTypeHelp() { HelpSys::ShowHelpPopup(int16_t(1400 + ChosenOp)); }

}  // namespace editing
