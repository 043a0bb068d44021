#include "listbox/property_page.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "listbox/defaults_store.h"
#include "listbox/help_topic.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {

PropertyPage::PropertyPage(TivolenCtrl* control, int helpContext, QWidget* parent)
    : QDialog(parent), control_(control), helpContext_(helpContext) {}

void PropertyPage::AddPageButtons(QVBoxLayout* layout) {
  status_ = new QLabel;
  status_->setWordWrap(true);
  layout->addWidget(status_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply |
                                  QDialogButtonBox::Help);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::helpRequested, this, [this] { ShowHelp(); });
  connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
    if (Apply()) accept();
  });
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { Apply(); });
}

void PropertyPage::PlaceInSheet() {
  inSheet_ = true;
  if (buttons_) buttons_->hide();
}

QString PropertyPage::Status() const { return status_ ? status_->text() : QString(); }

void PropertyPage::SetStatus(const QString& text) {
  if (status_) status_->setText(text);
}

void PropertyPage::SetPageModified(bool modified) {
  pageModified_ = modified;
  if (modified) emit Modified();
}

// A page shown again (a tab chosen anew) keeps what the user has typed.
void PropertyPage::showEvent(QShowEvent* e) {
  if (!HasPendingChanges()) LoadFromControl();
  QDialog::showEvent(e);
}

void PropertyPage::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    ShowHelp();
    return;
  }
  // In a sheet, Escape and Enter are the sheet's Cancel and OK.
  if (inSheet_) {
    QWidget::keyPressEvent(e);
    return;
  }
  QDialog::keyPressEvent(e);
}

bool PropertyPage::WriteChanged(std::span<const PageProperty> properties, QMap<int, bool>& changed,
                                QComboBox* chooser, const std::function<QVariant(int)>& value) {
  for (const PageProperty& p : properties) {
    if (!changed.value(p.dispId)) continue;
    const DispResult r = control_->PutProperty(p.dispId, value(p.dispId));
    if (!r.ok()) {
      chooser->setCurrentIndex(chooser->findData(p.dispId));
      SetStatus(p.name + QString(": ") + r.error->message);
      return false;
    }
    changed.remove(p.dispId);
  }
  SetStatus(QString());
  SetPageModified(false);
  return true;
}

bool PropertyPage::ShowHelp() {
  const HelpLookup found = ReadHelpTopic(Module().helpFile, helpContext_);
  if (!found.topic) {
    SetStatus(found.error);
    return false;
  }
  if (!help_) help_ = new HelpWindow(this);
  help_->Show(*found.topic);
  return true;
}

}  // namespace tivolen
