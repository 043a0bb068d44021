#include "mainwin/qt_edit_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include "listbox/key_codes.h"

namespace {

constexpr int kTextRole = Qt::UserRole;
constexpr int kPictureRole = Qt::UserRole + 1;

QIcon Icon(const tivolen::PicturePtr& picture) {
  if (!picture || picture->image.isNull()) return {};
  QPixmap pm = QPixmap::fromImage(picture->image);
  pm.setMask(pm.createMaskFromColor(Qt::white));  // the control's transparent colour
  return QIcon(pm);
}

}  // namespace

QtEditList::QtEditList(QWidget* parent) : QListWidget(parent) {
  setObjectName("EditList");
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAlternatingRowColors(true);
  setMouseTracking(true);
}

void QtEditList::Clear() { clear(); }

void QtEditList::AddItem(const std::string& text, const tivolen::PicturePtr& picture) {
  QString t = QString::fromStdString(text);
  // Kept as the control keeps it: the picture column first.
  auto* it = new QListWidgetItem(QString(t).replace(QLatin1Char('\t'), QLatin1String("    ")));
  it->setData(kTextRole, t.isEmpty() ? t : QLatin1Char('\t') + t);
  if (picture) {
    it->setData(kPictureRole, QVariant::fromValue(picture));
    it->setIcon(Icon(picture));
  }
  addItem(it);
}

int QtEditList::ListCount() const { return count(); }

std::string QtEditList::ItemText(int row) const {
  QListWidgetItem* it = item(row);
  return it ? it->data(kTextRole).toString().toStdString() : std::string();
}

void QtEditList::SetNoRedraw(bool on) { setUpdatesEnabled(!on); }

bool QtEditList::SetListPicture(int row, const tivolen::PicturePtr& picture) {
  QListWidgetItem* it = item(row);
  if (!it) return false;
  it->setData(kPictureRole, QVariant::fromValue(picture));
  it->setIcon(Icon(picture));
  return true;
}

tivolen::PicturePtr QtEditList::ListPicture(int row) const {
  QListWidgetItem* it = item(row);
  return it ? it->data(kPictureRole).value<tivolen::PicturePtr>() : nullptr;
}

void QtEditList::mousePressEvent(QMouseEvent* e) {
  QListWidget::mousePressEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseDown) events_.MouseDown(tivolen::ButtonMask(e->button()), tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
}

void QtEditList::mouseReleaseEvent(QMouseEvent* e) {
  QListWidget::mouseReleaseEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseUp) events_.MouseUp(tivolen::ButtonMask(e->button()), tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
  if (e->button() != Qt::LeftButton) return;
  const bool dbl = dblClickPending_;
  dblClickPending_ = false;
  if (dbl && events_.DblClick) events_.DblClick();
  else if (!dbl && events_.Click) events_.Click();
}

void QtEditList::mouseDoubleClickEvent(QMouseEvent* e) {
  QListWidget::mouseDoubleClickEvent(e);
  if (e->button() == Qt::LeftButton) dblClickPending_ = true;
}

void QtEditList::mouseMoveEvent(QMouseEvent* e) {
  QListWidget::mouseMoveEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseMove) events_.MouseMove(tivolen::ButtonMask(e->buttons()), tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
}

void QtEditList::keyPressEvent(QKeyEvent* e) {
  int16_t code = tivolen::VirtualKeyCode(e->key());
  if (events_.KeyDown) events_.KeyDown(code, tivolen::ShiftMask(e->modifiers()));
  const QString text = e->text();
  if (!text.isEmpty() && text[0].unicode() < 256 && events_.KeyPress) {
    int16_t ascii = int16_t(text[0].unicode());
    events_.KeyPress(ascii);
    if (ascii == 0) return;  // the handler swallowed it
  }
  if (code != 0 || tivolen::VirtualKeyCode(e->key()) == 0) QListWidget::keyPressEvent(e);
}

void QtEditList::keyReleaseEvent(QKeyEvent* e) {
  int16_t code = tivolen::VirtualKeyCode(e->key());
  if (events_.KeyUp) events_.KeyUp(code, tivolen::ShiftMask(e->modifiers()));
  QListWidget::keyReleaseEvent(e);
}
