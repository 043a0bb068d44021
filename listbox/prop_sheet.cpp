#include "listbox/prop_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "listbox/prop_page.h"
#include "listbox/stock_pages.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {

PropertyPage* MakePropertyPage(const char* classId, TivolenCtrl* control, QWidget* parent) {
  const QString id = QString::fromLatin1(classId);
  auto is = [&](const char* progId, const char* clsid) {
    return id.compare(progId, Qt::CaseInsensitive) == 0 || id.compare(clsid, Qt::CaseInsensitive) == 0;
  };
  if (is(kPropPageProgId, kPropPageClsid)) return new TivolenPropPage(control, parent);
  if (is(kFontPageProgId, kFontPageClsid)) return new FontPropPage(control, parent);
  if (is(kColorPageProgId, kColorPageClsid)) return new ColorPropPage(control, parent);
  if (is(kPicturePageProgId, kPicturePageClsid)) return new PicturePropPage(control, parent);
  return nullptr;
}

PropertySheet::PropertySheet(TivolenCtrl* control, QWidget* parent) : QDialog(parent) {
  const QString name = control->GetProperty(kDispCaption).value.toString();
  setWindowTitle((name.isEmpty() ? QString("Tivolen") : name) + " Properties");
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget;
  layout->addWidget(tabs_);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply |
                                   QDialogButtonBox::Help);
  layout->addWidget(box);
  apply_ = box->button(QDialogButtonBox::Apply);
  apply_->setEnabled(false);
  for (const QString& progId : control->PropertyPages()) {
    PropertyPage* page = MakePropertyPage(progId.toLatin1().constData(), control, nullptr);
    if (!page) continue;
    page->PlaceInSheet();
    pages_.push_back(page);
    tabs_->addTab(page, page->windowTitle());
    connect(page, &PropertyPage::Modified, this, [this] { apply_->setEnabled(true); });
  }
  connect(box, &QDialogButtonBox::accepted, this, [this] {
    if (Apply()) accept();
  });
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
  connect(box, &QDialogButtonBox::helpRequested, this, [this] {
    if (auto* page = qobject_cast<PropertyPage*>(tabs_->currentWidget())) page->ShowHelp();
  });
}

bool PropertySheet::Apply() {
  for (PropertyPage* page : pages_) {
    if (!page->HasPendingChanges()) continue;
    if (!page->Apply()) {
      tabs_->setCurrentWidget(page);
      return false;
    }
  }
  apply_->setEnabled(false);
  return true;
}

QStringList TivolenCtrl::PropertyPages() const {
  QStringList ids;
  for (const PageClass& page : kPropertyPages) ids << page.progId;
  return ids;
}

bool TivolenCtrl::ShowPropertySheet(QWidget* parent) {
  PropertySheet sheet(this, parent ? parent : window());
  return sheet.exec() == QDialog::Accepted;
}

}  // namespace tivolen
