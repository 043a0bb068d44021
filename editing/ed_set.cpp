#include "editing/ed_set.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "editing/editor.h"
#include "editing/model/program_settings.h"
#include "editing/model/value_rules.h"
#include "editing/view_read.h"
#include "mainwin/main_win.h"
#include "mainwin/model/units_list.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_place.h"
#include "runtime/cstr.h"
#include "runtime/text.h"
#include "store/applic.h"

namespace editing {

EdSet::EdSet(MainWin& win) : QDialog(&win), win_(win) {
  setObjectName("EdSet");
  setWindowTitle("Edit Settings...");
  setModal(true);
  Label1 = new QLabel("Units of measure for position: ", this);
  Label1->setObjectName("Label1");
  sel = new QComboBox(this);
  sel->setObjectName("sel");
  for (std::string_view u : talvero::UnitsList) sel->addItem(QString::fromUtf8(u.data(), int(u.size())));
  trans = new QLineEdit(this);
  trans->setObjectName("trans");
  Label2 = new QLabel("motor revolution(s) per", this);
  Label2->setObjectName("Label2");
  Label3 = new QLabel("Internal Description for this program:", this);
  Label3->setObjectName("Label3");
  des = new QLineEdit(this);
  des->setObjectName("des");
  des->setMinimumWidth(320);
  ok = new QPushButton("OK", this);
  ok->setObjectName("ok");
  ok->setDefault(true);
  cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("cancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(sel, 0, 1);
  grid->addWidget(trans, 1, 0, Qt::AlignRight);
  grid->addWidget(Label2, 1, 1);
  grid->addWidget(Label3, 2, 0, 1, 2);
  grid->addWidget(des, 3, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 4, 0, 1, 2);

  connect(sel, &QComboBox::activated, this, [this] { sel_Click(); });
  connect(ok, &QPushButton::clicked, this, &EdSet::ok_Click);
  connect(cancel, &QPushButton::clicked, this, &EdSet::cancel_Click);
}

int EdSet::FindUU(const std::string& name) { return talvero::FindUU(name); }

void EdSet::SetLabel2(const std::string& units) {
  const std::string caption = Label2->text().toStdString();
  const size_t per = caption.find("per");
  const std::string head = per == std::string::npos ? caption : caption.substr(0, per + 3);
  Label2->setText(QString::fromStdString(head + " " + units));
}

void EdSet::Form_Activate() {
  des->setText(QString::fromStdString(win_.PgmDescription));
  trans->setText(QString::fromStdString(rt::CStrSingle(win_.Transmission)));
  // A drive keeps no description: only an application program's is edited.
  des->setEnabled(win_.AppSelected);
  const int i = sel->findText(QString::fromStdString(win_.UnitsName), Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (i >= 0) sel->setCurrentIndex(i);
  SetLabel2(win_.UnitsName);
}

void EdSet::sel_Click() { SetLabel2(sel->currentText().toStdString()); }

void EdSet::ok_Click() {
  OKPressed = true;
  const std::string ratio = rt::Trim(trans->text().toStdString());
  if (!talvero::TransmissionRatio(ratio)) {
    talvero::ThePrompter().Critical("The transmission ratio must be a positive number.");
    return;
  }
  if (win_.AppSelected) {
    Editor* ed = Editor::Of(win_);
    Applic* app = ed ? ed->SelectedApp() : win_.CurApplic;
    if (!app) return;
    const auto stored = app->UpdateSettings(int16_t(win_.CurPgm), des->text().toStdString(), ratio,
                                            sel->currentText().toStdString());
    if (!stored) {
      talvero::ThePrompter().Critical(stored.error);
      return;
    }
  } else {
    // Its buttons wait while window events run between a request's tries.
    setEnabled(false);
    bool stored = false;
    {
      ViewRead read(win_, win_.CurNode);
      stored = talvero::WriteProgramSettings(win_.Link, win_.CurNode, win_.CurPgmName, ratio, sel->currentIndex(),
                                             [&](const std::function<void()>& r) { return read.Ask(r); });
    }
    setEnabled(true);
    if (!stored) {
      talvero::ThePrompter().Critical("Node " + std::to_string(win_.CurNode) +
                                      " did not answer; the settings were not stored.");
      return;
    }
  }
  done(QDialog::Accepted);
}

void EdSet::cancel_Click() {
  OKPressed = false;
  done(QDialog::Rejected);
}

// Escape and the close box count as Cancel: nothing is written.
void EdSet::reject() {
  OKPressed = false;
  QDialog::reject();
}

void EdSet::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!placed_) {
    placed_ = true;
    talvero::CentreOnScreen(*this);
  }
  Form_Activate();
}

}  // namespace editing
