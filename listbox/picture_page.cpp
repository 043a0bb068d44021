// The picture page: pick a picture property, then load a file into it or
// clear it; a preview shows what the control will get.
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "listbox/stock_pages.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {
namespace {

const PageProperty kPictureProperties[] = {{"DefPicture", kDispDefPicture}, {"MouseIcon", kDispMouseIcon}};

// Far more than any picture a list row shows: a larger file is refused unread.
constexpr qint64 kMaxPictureBytes = 16 << 20;

QString KindText(const PicturePtr& p) {
  if (!p || p->type == Picture::Type::Empty) return "(None)";
  const QString size = QString("%1 x %2").arg(p->image.width()).arg(p->image.height());
  switch (p->type) {
    case Picture::Type::Icon: return "Icon, " + size;
    case Picture::Type::Metafile: return "Metafile, " + size;
    default: return "Bitmap, " + size;
  }
}

}  // namespace

PicturePropPage::PicturePropPage(TivolenCtrl* control, QWidget* parent)
    : PropertyPage(control, kHelpContext, parent) {
  setWindowTitle("Pictures");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  property_ = new QComboBox;
  for (const PageProperty& p : kPictureProperties) property_->addItem(p.name, p.dispId);
  form->addRow("&Property Name:", property_);
  layout->addLayout(form);
  auto* row = new QHBoxLayout;
  preview_ = new QLabel;
  preview_->setFrameShape(QFrame::Box);
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setMinimumSize(120, 120);
  row->addWidget(preview_, 1);
  auto* buttons = new QVBoxLayout;
  auto* browse = new QPushButton("&Browse...");
  auto* clear = new QPushButton("&Clear");
  buttons->addWidget(browse);
  buttons->addWidget(clear);
  buttons->addStretch();
  row->addLayout(buttons);
  layout->addLayout(row, 1);
  kind_ = new QLabel;
  layout->addWidget(kind_);
  AddPageButtons(layout);
  connect(property_, &QComboBox::currentIndexChanged, this, [this] { ShowProperty(); });
  connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
  connect(clear, &QPushButton::clicked, this, [this] { ClearPicture(); });
  LoadFromControl();
}

void PicturePropPage::LoadFromControl() {
  pending_.clear();
  changed_.clear();
  for (const PageProperty& p : kPictureProperties)
    pending_[p.dispId] = control_->GetProperty(p.dispId).value.value<PicturePtr>();
  ShowProperty();
  SetStatus(QString());
  SetPageModified(false);
}

PicturePtr PicturePropPage::Chosen() const { return pending_.value(property_->currentData().toInt()); }

void PicturePropPage::ShowProperty() {
  const PicturePtr p = Chosen();
  kind_->setText(KindText(p));
  if (!p || p->image.isNull()) {
    preview_->setPixmap(QPixmap());
    preview_->setText("(None)");
    return;
  }
  QPixmap pm = QPixmap::fromImage(p->image);
  const QSize room = preview_->contentsRect().size() - QSize(8, 8);
  if (pm.width() > room.width() || pm.height() > room.height())
    pm = pm.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  preview_->setPixmap(pm);
}

void PicturePropPage::Browse() {
  const QString path = QFileDialog::getOpenFileName(
      this, "Select Picture", QString(),
      "All Picture Files (*.bmp *.dib *.ico *.cur *.png *.gif *.jpg *.jpeg);;Bitmaps (*.bmp *.dib);;"
      "Icons (*.ico *.cur);;All Files (*)");
  if (!path.isEmpty()) LoadFile(path);
}

bool PicturePropPage::LoadFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile()) {
    SetStatus("Cannot load " + path + ": it is not a file.");
    return false;
  }
  if (info.size() > kMaxPictureBytes) {
    SetStatus("Cannot load " + path + ": it is too large for a picture.");
    return false;
  }
  QImageReader reader(path);
  const QImage image = reader.read();
  if (image.isNull()) {
    SetStatus("Cannot load " + path + ": " + reader.errorString() + ".");
    return false;
  }
  const QString suffix = info.suffix().toLower();
  const bool icon = suffix == "ico" || suffix == "cur" || reader.format() == "ico" || reader.format() == "cur";
  const int id = property_->currentData().toInt();
  pending_[id] = icon ? Picture::Icon(image) : Picture::Bitmap(image);
  changed_[id] = true;
  SetStatus(QString());
  ShowProperty();
  SetPageModified(true);
  return true;
}

void PicturePropPage::ClearPicture() {
  const int id = property_->currentData().toInt();
  pending_[id] = Picture::None();
  changed_[id] = true;
  ShowProperty();
  SetPageModified(true);
}

bool PicturePropPage::Apply() {
  return WriteChanged(kPictureProperties, changed_, property_,
                      [this](int id) { return QVariant::fromValue(pending_[id]); });
}

}  // namespace tivolen
