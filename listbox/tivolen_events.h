#pragma once
// The control's event interface, delivered to the host's sink.
// Arguments the host may change travel by reference.
#include <cstdint>

class QPainter;

namespace tivolen {

// Member numbers of the events, for hosts that dispatch them by number.
enum EventDispId : int {
  kEvVscroll = 1, kEvTbClick, kEvTbDblClick, kEvTbMouseDown, kEvTbMouseMove, kEvRollUp, kEvUserDrawItem,
  kEvClick = -600, kEvDblClick = -601, kEvKeyDown = -602, kEvKeyPress = -603, kEvKeyUp = -604,
  kEvMouseDown = -605, kEvMouseMove = -606, kEvMouseUp = -607,
};

class TivolenEvents {
 public:
  virtual ~TivolenEvents() = default;
  virtual void Vscroll() {}
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void KeyDown(int16_t& keyCode, int16_t shift) { (void)keyCode; (void)shift; }
  virtual void KeyPress(int16_t& keyAscii) { (void)keyAscii; }
  virtual void KeyUp(int16_t& keyCode, int16_t shift) { (void)keyCode; (void)shift; }
  virtual void MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void MouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void MouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void TbClick() {}
  virtual void TbDblClick() {}
  // Screen pixels.
  virtual void TbMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void TbMouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) { (void)button; (void)shift; (void)x; (void)y; }
  virtual void RollUp() {}
  // Fired instead of drawing an item when UserDraw is on; dc paints the item.
  virtual void UserDrawItem(int16_t item, int16_t left, int16_t top, int16_t right, int16_t bottom,
                            int16_t state, int16_t action, QPainter* dc) {
    (void)item; (void)left; (void)top; (void)right; (void)bottom; (void)state; (void)action; (void)dc;
  }
};

}  // namespace tivolen
