// The font page: face, size, bold, italic, underline and strikethrough of
// each font property, with a sample of the result.
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "listbox/legacy_faces.h"
#include "listbox/stock_pages.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {
namespace {

const PageProperty kFontProperties[] = {{"Font", kDispFont}};

QString SizeText(double points) { return QString::number(points, 'g', 6); }

}  // namespace

FontPropPage::FontPropPage(TivolenCtrl* control, QWidget* parent) : PropertyPage(control, kHelpContext, parent) {
  setWindowTitle("Fonts");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  property_ = new QComboBox;
  for (const PageProperty& p : kFontProperties) property_->addItem(p.name, p.dispId);
  form->addRow("&Property Name:", property_);
  face_ = new QComboBox;
  face_->setEditable(true);
  // The old face names a stored control may ask for come first, then what is installed.
  QStringList faces;
  for (const auto& [face, twin] : kLegacyFaces) faces << face;
  for (const QString& f : QFontDatabase::families())
    if (!faces.contains(f, Qt::CaseInsensitive)) faces << f;
  face_->addItems(faces);
  form->addRow("&Font:", face_);
  size_ = new QComboBox;
  size_->setEditable(true);
  for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) size_->addItem(QString::number(s));
  form->addRow("&Size:", size_);
  layout->addLayout(form);
  auto* effects = new QGroupBox("Effects");
  auto* grid = new QHBoxLayout(effects);
  bold_ = new QCheckBox("&Bold");
  italic_ = new QCheckBox("&Italic");
  underline_ = new QCheckBox("&Underline");
  strike_ = new QCheckBox("Stri&keout");
  for (QCheckBox* c : {bold_, italic_, underline_, strike_}) {
    grid->addWidget(c);
    connect(c, &QCheckBox::toggled, this, [this] { FieldsChanged(); });
  }
  layout->addWidget(effects);
  auto* sampleBox = new QGroupBox("Sample");
  auto* sampleLayout = new QVBoxLayout(sampleBox);
  sample_ = new QLabel("AaBbYyZz 0123");
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setMinimumHeight(48);
  sampleLayout->addWidget(sample_);
  layout->addWidget(sampleBox, 1);
  AddPageButtons(layout);
  connect(property_, &QComboBox::currentIndexChanged, this, [this] { ShowProperty(); });
  connect(face_, &QComboBox::currentTextChanged, this, [this] { FieldsChanged(); });
  connect(size_, &QComboBox::currentTextChanged, this, [this] { FieldsChanged(); });
  LoadFromControl();
}

void FontPropPage::LoadFromControl() {
  pending_.clear();
  changed_.clear();
  for (const PageProperty& p : kFontProperties) pending_[p.dispId] = control_->GetProperty(p.dispId).value.value<QFont>();
  ShowProperty();
  SetStatus(QString());
  SetPageModified(false);
}

void FontPropPage::ShowProperty() {
  const QFont f = pending_.value(property_->currentData().toInt());
  loading_ = true;
  face_->setCurrentText(f.family());
  size_->setCurrentText(SizeText(f.pointSizeF()));
  bold_->setChecked(f.bold());
  italic_->setChecked(f.italic());
  underline_->setChecked(f.underline());
  strike_->setChecked(f.strikeOut());
  loading_ = false;
  sample_->setFont(f);
}

QFont FontPropPage::Chosen() const {
  QFont f = pending_.value(property_->currentData().toInt());
  f.setFamily(face_->currentText().trimmed());
  bool ok = false;
  const double size = size_->currentText().trimmed().toDouble(&ok);
  if (ok && size > 0) f.setPointSizeF(size);
  f.setBold(bold_->isChecked());
  f.setItalic(italic_->isChecked());
  f.setUnderline(underline_->isChecked());
  f.setStrikeOut(strike_->isChecked());
  return f;
}

void FontPropPage::FieldsChanged() {
  if (loading_) return;
  const int id = property_->currentData().toInt();
  pending_[id] = Chosen();
  changed_[id] = true;
  sample_->setFont(pending_[id]);
  SetPageModified(true);
}

bool FontPropPage::Apply() {
  bool ok = false;
  const double size = size_->currentText().trimmed().toDouble(&ok);
  if (!ok || size <= 0 || size > 1638) {
    SetStatus("Enter a font size between 1 and 1638 points.");
    size_->setFocus();
    return false;
  }
  if (face_->currentText().trimmed().isEmpty()) {
    SetStatus("Enter a font name.");
    face_->setFocus();
    return false;
  }
  return WriteChanged(kFontProperties, changed_, property_,
                      [this](int id) { return QVariant(pending_[id]); });
}

}  // namespace tivolen
