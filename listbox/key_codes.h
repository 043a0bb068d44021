#pragma once
// Virtual key codes and shift/button masks of the stock key and mouse events.
#include <Qt>
#include <cstdint>

namespace tivolen {

int16_t VirtualKeyCode(int qtKey);
// shift 1, control 2, alt 4.
int16_t ShiftMask(Qt::KeyboardModifiers mods);
// left 1, right 2, middle 4.
int16_t ButtonMask(Qt::MouseButtons buttons);

}  // namespace tivolen
