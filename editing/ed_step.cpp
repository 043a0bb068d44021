#include "editing/ed_step.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "editing/model/step_fields.h"
#include "editing/over_tree.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/dao/recordset.h"
#include "platform/help/help_sys.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "runtime/cp1252.h"
#include "store/program.h"

namespace editing {

namespace {

QWidget* W(QWidget* w) { return w; }

}  // namespace

EdStep::EdStep(MainWin& win) : OverTreeDialog(win, accepted_) {
  setObjectName("EdStep");
  setWindowTitle("Edit Program Step...");
  setModal(true);
  Typ = new QListWidget(this);
  Typ->setObjectName("Typ");
  Typ->setMinimumSize(130, 170);
  Step = new QListWidget(this);
  Step->setObjectName("Step");
  Step->setMinimumSize(280, 170);
  MakeOperands();
  for (QLineEdit* t : {Text1, Text2}) t->setMinimumWidth(260);
  Prev = new QPushButton("Prev", this);
  Prev->setObjectName("Prev");
  OK = new QPushButton("Next", this);
  OK->setObjectName("OK");
  OK->setDefault(true);
  Cancel = new QPushButton("Cancel", this);
  Cancel->setObjectName("Cancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(Typ, 0, 0);
  grid->addWidget(Step, 0, 1);
  PlaceOperands(grid);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Prev);
  buttons->addWidget(OK);
  buttons->addWidget(Cancel);
  grid->addLayout(buttons, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(0, 1);
  // The same size whichever fields a step shows.
  for (QWidget* w : {W(Step), W(Des1), W(Text1), W(Des2), W(Text2)}) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
  }

  connect(Typ, &QListWidget::itemClicked, this, [this] { Typ_Click(); });
  connect(Typ, &QListWidget::currentRowChanged, this, [this] { Typ_Click(); });
  connect(Step, &QListWidget::itemClicked, this, [this] { Step_Click(); });
  connect(Step, &QListWidget::currentRowChanged, this, [this] { Step_Click(); });
  connect(Prev, &QPushButton::clicked, this, &EdStep::Prev_Click);
  connect(OK, &QPushButton::clicked, this, &EdStep::OK_Click);
  connect(Cancel, &QPushButton::clicked, this, &EdStep::Cancel_Click);
  Step->viewport()->installEventFilter(this);
}

void EdStep::EditStepInit() {
  filling_ = true;
  Typ->clear();
  Typ->addItem("<empty>");
  Typ->addItem("<IML>");
  Step->hide();
  if (talvero::dao::Recordset* rs = win_.StepsRS)
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
      const QString kind = QString::fromStdString(rs->Text("Typ"));
      if (!kind.isEmpty() && Typ->findItems(kind, Qt::MatchExactly).isEmpty()) Typ->addItem(kind);
    }
  filling_ = false;
}

bool EdStep::SeekStep(int op) {
  talvero::dao::Recordset* rs = win_.StepsRS;
  return op > 0 && rs && rs->Seek("id", int64_t(op)).ok() && !rs->NoMatch();
}

void EdStep::Select_Based_on_OP() {
  filling_ = true;
  Step->clear();
  Typ->setCurrentRow(-1);
  Typ->clearSelection();
  // The kind whose types fill Step: none until a step type is listed.
  if (op_ <= 0) kindIndex_ = -2;
  if (op_ < 0) {
    Typ->setCurrentRow(0);
  } else if (op_ == 0) {
    Typ->setCurrentRow(1);
  } else if (SeekStep(op_)) {
    talvero::dao::Recordset* rs = win_.StepsRS;
    const std::string kind = rs->Text("Typ");
    const auto found = Typ->findItems(QString::fromStdString(kind), Qt::MatchExactly);
    if (!found.isEmpty()) {
      Typ->setCurrentItem(found.front());
      kindIndex_ = Typ->row(found.front());
    }
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
      if (rs->Text("Typ") != kind) continue;
      const int id = int(rs->Field("id").Long());
      auto* it = new QListWidgetItem(QString::fromStdString(rs->Text("des")), Step);
      it->setData(Qt::UserRole, id);
      if (id == op_) Step->setCurrentItem(it);
    }
  }
  filling_ = false;
}

void EdStep::Fill_in() {
  for (QWidget* w : {W(Text1), W(Des1), W(Text2), W(Des2)}) w->hide();
  if (op_ == -1) {
    Step->hide();
    return;
  }
  if (op_ == 0) {
    Text1->setText(op_ == oldOp_ ? QString::fromStdString(oldP1_) : QString());
    Des1->setText("IML Command");
    Text1->show();
    Des1->show();
    Step->hide();
    return;
  }
  if (op_ < 1 || op_ > 9999) return;
  Step->show();
  if (!SeekStep(op_)) return;
  talvero::dao::Recordset* rs = win_.StepsRS;
  const std::string d1 = rs->Text("P1"), d2 = rs->Text("P2");
  auto operand = [this](const std::string& d, QLabel* des, QLineEdit* text, const std::string& own) {
    if (d.empty()) return;
    text->setText(op_ == oldOp_ ? QString::fromStdString(own) : QString());
    des->setText(QString::fromStdString(talvero::UnitsCaption(d, win_.UnitsName)));
    text->show();
    des->show();
  };
  operand(d1, Des1, Text1, oldP1_);
  operand(d2, Des2, Text2, oldP2_);
}

void EdStep::Typ_Click() {
  if (filling_) return;
  const int row = Typ->currentRow();
  if (row < 0) return;
  if (row <= 1) {
    op_ = row == 0 ? -1 : 0;
  } else {
    Step->show();
    if (row == kindIndex_) return;
    const std::string kind = Typ->item(row)->text().toStdString();
    talvero::dao::Recordset* rs = win_.StepsRS;
    if (!rs) return;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
      if (rs->Text("Typ") == kind) {
        op_ = int(rs->Field("id").Long());
        break;
      }
  }
  Select_Based_on_OP();
  Fill_in();
}

void EdStep::Step_Click() {
  if (filling_) return;
  QListWidgetItem* it = Step->currentItem();
  if (!it) return;
  op_ = it->data(Qt::UserRole).toInt();
  Fill_in();
}

std::string EdStep::EditaStep(Program& pgm, int line) {
  kindIndex_ = -2;
  op_ = pgm.Get_Op(line);
  oldOp_ = op_;
  oldP1_ = pgm.Get_p1(line);
  oldP2_ = pgm.Get_p2(line);
  Select_Based_on_OP();
  Fill_in();
  for (;;) {
    accepted_ = false;
    talvero::TheWindowFactory().ShowModal("EdStep");
    if (!accepted_) {
      EditDone = true;
      return pgm.Decomp(line);
    }
    // A code the library does not know keeps its step as it was.
    if (op_ > 0 && !SeekStep(op_)) {
      EditDone = false;
      return pgm.Decomp(line);
    }
    if (op_ < 0) {
      pgm.MakeEmpty(line);
    } else {
      pgm.Set_Op(int16_t(op_), line);
      pgm.Set_p1(Text1->text().toStdString(), line);
      pgm.Set_p2(Text2->text().toStdString(), line);
    }
    // The drive gets one byte for each character of the line.
    if (rt::CharCount(pgm.Encode(line)) < 64) {
      EditDone = false;
      return pgm.Decomp(line);
    }
    // The step keeps its old value; the typed text stays for another try.
    pgm.Set_Op(int16_t(oldOp_), line);
    pgm.Set_p1(oldP1_, line);
    pgm.Set_p2(oldP2_, line);
    talvero::ThePrompter().Message({"Step too complex. Reduce the number of characters used"});
  }
}

bool EdStep::FieldOk(int operand, const QLabel* des, QLineEdit* text) {
  if (text->isHidden()) return true;
  const talvero::FieldCheck check =
      talvero::CheckStepField(operand, des->text().toStdString(), text->text().toStdString());
  if (!check.ok) {
    talvero::ThePrompter().Critical(check.message);
    return false;
  }
  text->setText(QString::fromStdString(check.text));
  return true;
}

void EdStep::Accept(int direction) {
  if (!FieldOk(1, Des1, Text1) || !FieldOk(2, Des2, Text2)) return;
  accepted_ = true;
  EditDirection = direction;
  done(QDialog::Accepted);
}

const QListWidget* EdStep::HelpList() const { return Step; }

void EdStep::ShowTypeHelp() {
  if (QListWidgetItem* it = Step->currentItem())
    HelpSys::ShowHelpPopup(int16_t(1000 + it->data(Qt::UserRole).toInt()));
}

}  // namespace editing
