#include "mainwin/qt_edit_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace {

constexpr int kTextRole = Qt::UserRole;
constexpr int kPictureRole = Qt::UserRole + 1;

int16_t ShiftMask(Qt::KeyboardModifiers m) {
  return int16_t(((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
                 ((m & Qt::AltModifier) ? 4 : 0));
}

int16_t ButtonMask(Qt::MouseButtons b) {
  return int16_t(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
                 ((b & Qt::MiddleButton) ? 4 : 0));
}

// The key codes the window's handlers test; letters and digits are their own.
int16_t KeyCode(int key) {
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
  }
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return int16_t(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return int16_t(112 + (key - Qt::Key_F1));
  return 0;
}

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
  if (events_.MouseDown) events_.MouseDown(ButtonMask(e->button()), ShiftMask(e->modifiers()), p.x(), p.y());
}

void QtEditList::mouseReleaseEvent(QMouseEvent* e) {
  QListWidget::mouseReleaseEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseUp) events_.MouseUp(ButtonMask(e->button()), ShiftMask(e->modifiers()), p.x(), p.y());
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
  if (events_.MouseMove) events_.MouseMove(ButtonMask(e->buttons()), ShiftMask(e->modifiers()), p.x(), p.y());
}

void QtEditList::keyPressEvent(QKeyEvent* e) {
  int16_t code = KeyCode(e->key());
  if (events_.KeyDown) events_.KeyDown(code, ShiftMask(e->modifiers()));
  const QString text = e->text();
  if (!text.isEmpty() && text[0].unicode() < 256 && events_.KeyPress) {
    int16_t ascii = int16_t(text[0].unicode());
    events_.KeyPress(ascii);
    if (ascii == 0) return;  // the handler swallowed it
  }
  if (code != 0 || KeyCode(e->key()) == 0) QListWidget::keyPressEvent(e);
}

void QtEditList::keyReleaseEvent(QKeyEvent* e) {
  int16_t code = KeyCode(e->key());
  if (events_.KeyUp) events_.KeyUp(code, ShiftMask(e->modifiers()));
  QListWidget::keyReleaseEvent(e);
}
