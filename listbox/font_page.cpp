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
#include <optional>

#include "listbox/legacy_faces.h"
#include "listbox/stock_pages.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {
namespace {

const PageProperty kFontProperties[] = {{"Font", kDispFont}};

constexpr double kMinPoints = 1, kMaxPoints = 1638;

QString SizeText(double points) { return QString::number(points, 'g', 6); }

// The one rule for a typed size; nothing when the text breaks it.
std::optional<double> PointSize(const QString& text) {
  bool ok = false;
  const double size = text.trimmed().toDouble(&ok);
  if (!ok || size < kMinPoints || size > kMaxPoints) return std::nullopt;
  return size;
}

QString SizeRule() {
  return QString("Enter a font size between %1 and %2 points.").arg(kMinPoints).arg(kMaxPoints);
}

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
    connect(c, &QCheckBox::toggled, this, [this, c] { FieldChanged(c); });
  }
  layout->addWidget(effects);
  auto* sampleBox = new QGroupBox("Sample");
  auto* sampleLayout = new QVBoxLayout(sampleBox);
  sample_ = new QLabel("AaBbYyZz 0123");
  sample_->setAlignment(Qt::AlignCenter);
  sample_->setMinimumHeight(48);
  // A sample of 1638 points is cut to its box rather than widen the sheet past the screen.
  sample_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  sampleLayout->addWidget(sample_);
  layout->addWidget(sampleBox, 1);
  AddPageButtons(layout);
  connect(property_, &QComboBox::currentIndexChanged, this, [this] { ShowProperty(); });
  connect(face_, &QComboBox::currentTextChanged, this, [this] { FieldChanged(face_); });
  connect(size_, &QComboBox::currentTextChanged, this, [this] { FieldChanged(size_); });
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
  // A host's font may be sized in pixels: the page shows points at the screen's resolution.
  const double points = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 72.0 / control_->Units().DpiY();
  loading_ = true;
  face_->setCurrentText(f.family());
  size_->setCurrentText(SizeText(points));
  bold_->setChecked(f.bold());
  italic_->setChecked(f.italic());
  underline_->setChecked(f.underline());
  strike_->setChecked(f.strikeOut());
  loading_ = false;
  faceTyped_ = sizeTyped_ = false;
  sample_->setFont(f);
}

QFont FontPropPage::Chosen() const { return pending_.value(property_->currentData().toInt()); }

// Only the field the user changed goes into the font: the others keep the
// host's values, a size in pixels among them.
void FontPropPage::FieldChanged(QWidget* field) {
  if (loading_) return;
  const int id = property_->currentData().toInt();
  QFont& f = pending_[id];
  if (field == face_) {
    faceTyped_ = true;
    if (const QString face = face_->currentText().trimmed(); !face.isEmpty()) f.setFamily(face);
  } else if (field == size_) {
    sizeTyped_ = true;
    if (const auto size = PointSize(size_->currentText())) f.setPointSizeF(*size);
  } else if (field == bold_) {
    f.setBold(bold_->isChecked());
  } else if (field == italic_) {
    f.setItalic(italic_->isChecked());
  } else if (field == underline_) {
    f.setUnderline(underline_->isChecked());
  } else if (field == strike_) {
    f.setStrikeOut(strike_->isChecked());
  }
  changed_[id] = true;
  sample_->setFont(f);
  SetPageModified(true);
}

bool FontPropPage::Apply() {
  if (sizeTyped_ && !PointSize(size_->currentText())) {
    SetStatus(SizeRule());
    size_->setFocus();
    return false;
  }
  if (faceTyped_ && face_->currentText().trimmed().isEmpty()) {
    SetStatus("Enter a font name.");
    face_->setFocus();
    return false;
  }
  return WriteChanged(kFontProperties, changed_, property_,
                      [this](int id) { return QVariant(pending_[id]); });
}

}  // namespace tivolen
