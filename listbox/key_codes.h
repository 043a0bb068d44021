#pragma once
// Virtual key codes and shift/button masks of the stock key and mouse events.
// Header-only: hosts that stand in for the control use the same codes.
#include <Qt>
#include <cstdint>

namespace tivolen {

inline int16_t VirtualKeyCode(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return int16_t(key);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return int16_t(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return int16_t(112 + key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
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
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: return 190;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Slash: return 191;
    default: return 0;
  }
}

// shift 1, control 2, alt 4.
inline int16_t ShiftMask(Qt::KeyboardModifiers mods) {
  return int16_t((mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
                 (mods & Qt::AltModifier ? 4 : 0));
}

// left 1, right 2, middle 4.
inline int16_t ButtonMask(Qt::MouseButtons b) {
  return int16_t((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
                 (b & Qt::MiddleButton ? 4 : 0));
}

}  // namespace tivolen
