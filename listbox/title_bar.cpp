// The control's own title bar: painting, mouse, roll-up, drag, system menu,
// and the hover tooltip and cursor of the item area.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "listbox/key_codes.h"
#include "listbox/tivolen_ctrl.h"
#include "listbox/tooltip_box.h"

namespace tivolen {

namespace {
const QColor kFace(192, 192, 192), kShadow(128, 128, 128);

void Column(QPainter& p, int x, int top, int bottom, QColor c) { p.fillRect(x, top, 1, bottom - top, c); }
void Row(QPainter& p, int left, int right, int y, QColor c) { p.fillRect(left, y, right - left, 1, c); }
}  // namespace

// r uses exclusive right and bottom edges, as the rules are written.
void TivolenCtrl::PaintTitleBar(QPainter& p, QRect qr, bool rolledUp, bool active) const {
  const int H = TitleHeight();
  int left = qr.left(), top = qr.top(), right = qr.left() + qr.width(), bottom = qr.top() + qr.height();
  const QColor frame = TranslateColor(SystemColor(kColorWindowFrame));
  p.save();
  Row(p, left, right, bottom - 1, Qt::black);
  bottom -= 1;
  const QRect text(left + H - 1, top, std::max(0, right - left - 2 * (H - 1)), bottom - top);
  p.fillRect(text, TranslateColor(SystemColor(active ? kColorActiveCaption : kColorInactiveCaption)));
  p.setPen(TranslateColor(SystemColor(active ? kColorCaptionText : kColorInactiveCaptionText)));
  p.setFont(font_);
  p.setClipRect(text);
  const QFontMetrics fm(font_);
  const int tw = fm.horizontalAdvance(caption_);
  const int x = (text.left() + text.left() + text.width()) / 2 - tw / 2;
  const int y = top + (bottom - top - fm.height()) / 2;
  p.drawText(QPoint(x, y + fm.ascent()), caption_);
  p.setClipping(false);
  const QRect sys(left, top, H - 2, bottom - top);
  PaintSysBox(p, sys, sysBoxPressed_);
  Column(p, sys.left() + sys.width(), top, bottom, frame);
  const QRect roll(right - H + 2, top, H - 2, bottom - top);
  Column(p, roll.left() - 1, top, bottom, frame);
  PaintRollButton(p, roll, rolledUp, rollPressed_);
  p.restore();
}

void TivolenCtrl::PaintSysBox(QPainter& p, QRect r, bool pressed) const {
  const int H = TitleHeight();
  const int left = r.left(), right = r.left() + r.width(), top = r.top();
  p.fillRect(r, kFace);
  if (H > 4) {
    const int y = top + (H - 1) / 2;
    p.fillRect(left + 3, y, right - 2 - (left + 3), 3, kShadow);
    const QRect bar(left + 2, y - 1, right - 2 - (left + 3), 3);
    p.fillRect(bar, Qt::black);
    p.fillRect(bar.adjusted(1, 1, -1, -1), Qt::white);
  }
  if (pressed) {
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.fillRect(r, Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
}

void TivolenCtrl::PaintRollButton(QPainter& p, QRect qr, bool rolledUp, bool pressed) const {
  const int H = TitleHeight();
  int left = qr.left(), top = qr.top(), right = qr.left() + qr.width(), bottom = qr.top() + qr.height();
  p.fillRect(qr, kFace);
  const int c = H > 18 ? 2 : 1;
  int al, at, ar, ab;
  if (!pressed) {
    Column(p, left, top, bottom, Qt::white);
    Row(p, left, right, top, Qt::white);
    Column(p, right - 1, top, bottom, kShadow);
    Row(p, left, right, bottom - 1, kShadow);
    if (H >= 20) {
      Column(p, right - 2, top + 1, bottom, kShadow);
      Row(p, left + 1, right, bottom - 2, kShadow);
    }
    al = left + 1; at = top + 1; ar = right - c; ab = bottom - c;
  } else {
    Column(p, left, top, bottom, kShadow);
    Row(p, left, right, top, kShadow);
    al = left + 2 * c; at = top + 2 * c; ar = right; ab = bottom;
  }
  const int half = SystemCaptionHeight() / 2;
  if (ar - al >= half) {
    const int shrink = (ar - al - half) / 2 + 1;
    al += shrink; ar -= shrink; at += shrink; ab -= shrink;
  }
  const int rows = (ab - at) / 2;
  const int cx = (al + ar + 1) / 2;
  if (rolledUp) {
    for (int i = rows; i >= 1; --i) Row(p, cx - i, cx + i - 1, ab + (at - ab + 1) / 4 - i, Qt::black);
  } else {
    for (int j = 1; j <= rows; ++j) Row(p, cx - j, cx + j - 1, at + (ab - at - 1) / 4 + j, Qt::black);
  }
}

// Roll-up ------------------------------------------------------------------

void TivolenCtrl::SetRollUp(bool rollUp) {
  const int cy = height();
  if (rollUp) {
    // Rolled up already: the height to restore stays the one recorded then.
    if (!rollUp_ || heightBeforeRollUp_ == 0) heightBeforeRollUp_ = cy;
    rollUp_ = true;
    resize(width(), TitleHeight());
  } else {
    rollUp_ = false;
    if (heightBeforeRollUp_ > 0) {
      resize(width(), heightBeforeRollUp_);
      heightBeforeRollUp_ = 0;
    }
  }
  Reframe();
  modified_ = true;
  if (sink_) sink_->RollUp();
}

void TivolenCtrl::PressRollButton(HitCode hit) {
  trackingRoll_ = true;
  rollHit_ = hit;
  rollPressed_ = true;
  update(TitleRect());
}

void TivolenCtrl::SendSysCommand(SysCommand cmd) {
  switch (cmd) {
    case kScMinimize: PutProperty(kDispRollUp, QVariant::fromValue<short>(0)); break;
    case kScMaximize: PutProperty(kDispRollUp, QVariant::fromValue<short>(-1)); break;
    case kScMove:
      // The menu's Move: the control follows the mouse until the next click.
      if (parentWidget()) {
        dragging_ = menuMove_ = true;
        dragOffset_ = pos() - parentWidget()->mapFromGlobal(QCursor::pos());
        grabMouse();
      }
      break;
    case kScTaskList: break;
  }
}

void TivolenCtrl::ShowSystemMenu() {
  if (!list_ || !showTitle_) return;
  MakeSystemMenu();
  const auto actions = sysMenu_->actions();
  actions[1]->setEnabled(true);       // move
  actions[3]->setEnabled(rollUp_);    // minimize
  actions[4]->setEnabled(!rollUp_);   // maximize
  sysBoxPressed_ = true;
  update(TitleRect());
  sysMenu_->popup(mapToGlobal(ClientRect().topLeft() + QPoint(0, -1)));
}

// Title bar mouse -------------------------------------------------------------

void TivolenCtrl::mousePressEvent(QMouseEvent* e) {
  if (menuMove_) {
    menuMove_ = dragging_ = false;
    releaseMouse();
    return;
  }
  const QPoint pos = e->position().toPoint();
  const HitCode hit = HitTest(pos);
  if (hit != HitCode::SysMenu) menuShown_ = false;
  if (!showTitle_ || e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
  const QPoint g = e->globalPosition().toPoint();
  raise();
  switch (hit) {
    case HitCode::Caption:
      pressState_ = 1;
      if (sink_) sink_->TbMouseDown(1, ShiftMask(e->modifiers()), g.x(), g.y());
      if (dragWindow_ && parentWidget()) {
        dragging_ = true;
        dragOffset_ = this->pos() - parentWidget()->mapFromGlobal(g);
      }
      break;
    case HitCode::SysMenu:
      pressState_ = 0;
      if (menuShown_) {
        menuShown_ = false;
        if (sysMenu_) sysMenu_->hide();
      } else {
        ShowSystemMenu();
        menuShown_ = true;
      }
      break;
    case HitCode::MinButton:
    case HitCode::MaxButton:
      pressState_ = 0;
      PressRollButton(hit);
      break;
    default: QWidget::mousePressEvent(e);
  }
}

void TivolenCtrl::mouseDoubleClickEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const HitCode hit = HitTest(pos);
  if (!showTitle_ || e->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(e);
  const int H = TitleHeight();
  const QRect inner = TitleRect().adjusted(H, 0, -H, 0);
  if (inner.contains(pos)) {
    // The second press has fired TbMouseDown already unless it fell outside.
    const bool fired = pressState_ == 1;
    pressState_ = 2;
    dragging_ = false;
    const QPoint g = e->globalPosition().toPoint();
    if (sink_ && !fired) sink_->TbMouseDown(1, ShiftMask(e->modifiers()), g.x(), g.y());
  } else if (hit == HitCode::MinButton || hit == HitCode::MaxButton) {
    PressRollButton(hit);
  } else if (hit != HitCode::Caption && hit != HitCode::SysMenu) {
    QWidget::mouseDoubleClickEvent(e);
  }
}

void TivolenCtrl::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const QPoint g = e->globalPosition().toPoint();
  const HitCode hit = HitTest(pos);
  if (hit != HitCode::SysMenu) menuShown_ = false;
  if (dragging_ && parentWidget()) {
    // The cursor stays inside the parent's client area while dragging.
    const QRect area = parentWidget()->rect();
    QPoint c = parentWidget()->mapFromGlobal(g);
    c.setX(std::clamp(c.x(), area.left(), area.right()));
    c.setY(std::clamp(c.y(), area.top(), area.bottom()));
    move(c + dragOffset_);
    if (sink_) sink_->TbMouseMove(ButtonMask(e->buttons()), ShiftMask(e->modifiers()), g.x(), g.y());
    return;
  }
  if (trackingRoll_) {
    const bool inside = RollButtonRect().contains(pos);
    if (inside != rollPressed_) {
      rollPressed_ = inside;
      update(TitleRect());
    }
    return;
  }
  if (showTitle_ && hit == HitCode::Caption && sink_)
    sink_->TbMouseMove(ButtonMask(e->buttons()), ShiftMask(e->modifiers()), g.x(), g.y());
  QWidget::mouseMoveEvent(e);
}

void TivolenCtrl::mouseReleaseEvent(QMouseEvent* e) {
  if (dragging_) {
    dragging_ = false;
    releaseMouse();
  }
  if (trackingRoll_ && e->button() == Qt::LeftButton) {
    trackingRoll_ = false;
    rollPressed_ = false;
    update(TitleRect());
    if (RollButtonRect().contains(e->position().toPoint()))
      SendSysCommand(rollHit_ == HitCode::MinButton ? kScMinimize : kScMaximize);
    return;
  }
  if (showTitle_) {
    if (pressState_ == 1 && sink_) sink_->TbClick();
    if (pressState_ == 2 && sink_) sink_->TbDblClick();
    pressState_ = 0;
  }
  QWidget::mouseReleaseEvent(e);
}

bool TivolenCtrl::IsSystemMenuKey(const QKeyEvent* e) const {
  return showTitle_ && e->key() == Qt::Key_Space && (e->modifiers() & Qt::AltModifier);
}

void TivolenCtrl::keyPressEvent(QKeyEvent* e) {
  if (IsSystemMenuKey(e)) {
    ShowSystemMenu();
    return;
  }
  QWidget::keyPressEvent(e);
}

// Tooltip and cursor --------------------------------------------------------

void TivolenCtrl::ArmTooltip() {
  if (tooltipState_ != 0) {
    HideTooltip();
    return;
  }
  if (TooltipText().isEmpty() || QWidget::mouseGrabber()) return;
  tooltipTimer_.start();
  tooltipState_ = 1;
}

void TivolenCtrl::ShowTooltip() {
  tooltipTimer_.stop();
  if (!list_ || !list_->viewport()->rect().contains(list_->viewport()->mapFromGlobal(lastMouseGlobal_))) {
    tooltipState_ = 0;
    return;
  }
  const QString text = TooltipText();
  if (text.isEmpty()) {
    tooltipState_ = 0;
    return;
  }
  if (!tooltipBox_) tooltipBox_ = new TooltipBox;
  tooltipBox_->SetText(text);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
  tooltipBox_->setGeometry(TooltipBox::Place(lastMouseGlobal_, tooltipBox_->BoxSize(), screenSize));
  tooltipBox_->show();
  tooltipState_ = 2;
}

// A row cut short under the pointer shows whole; elsewhere the ToolTip text.
QString TivolenCtrl::TooltipText() const {
  if (list_) {
    const int row = ItemAtViewport(list_->viewport()->mapFromGlobal(lastMouseGlobal_));
    if (ItemClipped(row)) return ItemTooltipText(row);
  }
  return toolTip_;
}

void TivolenCtrl::HideTooltip() {
  if (tooltipState_ == 2 && tooltipBox_) tooltipBox_->hide();
  if (tooltipState_ == 1) tooltipTimer_.stop();
  tooltipState_ = 0;
}

std::optional<QCursor> TivolenCtrl::ClientCursor() const {
  if (mousePointer_ == 0) return std::nullopt;
  if (mousePointer_ == 15) {
    if (!mouseIcon_ || mouseIcon_->image.isNull()) return std::nullopt;
    return QCursor(QPixmap::fromImage(mouseIcon_->image));
  }
  static const Qt::CursorShape shapes[] = {
      Qt::ArrowCursor,     Qt::CrossCursor,   Qt::IBeamCursor,    Qt::ArrowCursor,
      Qt::SizeAllCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
      Qt::SizeHorCursor,   Qt::UpArrowCursor, Qt::WaitCursor,     Qt::ForbiddenCursor,
      Qt::BusyCursor,      Qt::SizeAllCursor};
  return QCursor(shapes[mousePointer_ - 1]);
}

void TivolenCtrl::SetCursorFromPointer() {
  if (!list_) return;
  if (auto c = ClientCursor()) list_->viewport()->setCursor(*c);
  else list_->viewport()->unsetCursor();
}

}  // namespace tivolen
