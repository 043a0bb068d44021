// Stock events of the item area: mouse, keys and scrolling, fired to the host.
#include <QKeyEvent>
#include <QMouseEvent>

#include "listbox/key_codes.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {

void TivolenCtrl::ListScrolled() {
  if (sink_) sink_->Vscroll();
}

void TivolenCtrl::ListMouse(QEvent* event) {
  auto* e = static_cast<QMouseEvent*>(event);
  const QPoint pos = e->position().toPoint();
  const int16_t shift = ShiftMask(e->modifiers());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      HideTooltip();
      if (sink_) sink_->MouseDown(ButtonMask(e->button()), shift, pos.x(), pos.y());
      break;
    case QEvent::MouseButtonDblClick:
      // Follows the second press, which fired MouseDown; its release fires DblClick.
      if (e->button() == Qt::LeftButton) dblClickPending_ = true;
      break;
    case QEvent::MouseButtonRelease:
      if (sink_) sink_->MouseUp(ButtonMask(e->button()), shift, pos.x(), pos.y());
      if (e->button() == Qt::LeftButton) {
        const bool dbl = dblClickPending_;
        dblClickPending_ = false;
        if (sink_) {
          if (dbl) sink_->DblClick();
          else if (list_->viewport()->rect().contains(pos)) sink_->Click();
        }
      }
      break;
    case QEvent::MouseMove:
      lastMouseGlobal_ = e->globalPosition().toPoint();
      if (enabled_) ArmTooltip();
      if (sink_) sink_->MouseMove(ButtonMask(e->buttons()), shift, pos.x(), pos.y());
      break;
    default: break;
  }
}

bool TivolenCtrl::ListKey(QEvent* event) {
  auto* e = static_cast<QKeyEvent*>(event);
  const int16_t shift = ShiftMask(e->modifiers());
  if (event->type() == QEvent::KeyRelease) {
    int16_t code = VirtualKeyCode(e->key());
    if (sink_) sink_->KeyUp(code, shift);
    return code != 0;
  }
  if (IsSystemMenuKey(e)) {
    ShowSystemMenu();
    return false;
  }
  int16_t code = VirtualKeyCode(e->key());
  if (sink_) sink_->KeyDown(code, shift);
  if (code == 0 && VirtualKeyCode(e->key()) != 0) return false;
  const QString text = e->text();
  if (!text.isEmpty() && text[0].unicode() < 256 && !(e->modifiers() & Qt::AltModifier)) {
    int16_t ascii = int16_t(text[0].unicode());
    if (sink_) sink_->KeyPress(ascii);
    if (ascii == 0) return e->key() != Qt::Key_Space;
    // Typing a character moves to the next item whose text starts with it.
    if (ascii > 32 && list_) {
      const int n = list_->Count();
      for (int k = 1; k <= n; ++k) {
        const int i = (std::max(list_->Caret(), 0) + k) % n;
        if (list_->Text(i).startsWith(QChar(ascii), Qt::CaseInsensitive)) {
          if (list_->SelectionMode() == ListBoxView::Mode::Single) list_->SetCurSel(i);
          break;
        }
      }
    }
  }
  return true;
}

bool TivolenCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (list_ && (watched == list_ || watched == list_->viewport())) {
    switch (event->type()) {
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        HideTooltip();
        break;
      case QEvent::Leave:
        if (watched == list_->viewport()) HideTooltip();
        break;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tivolen
