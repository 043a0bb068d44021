// The main list's events as the window answers them.
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "mainwin/qhelp.h"
#include "platform/clock/clock.h"

void MainWin::WireEditList() {
  EditListEvents& on = EditList->Events();
  // Hooks are read when the event comes, so the editors may set them late.
  on.Click = [this] {
    if (EditListHooks.Click) EditListHooks.Click();
  };
  on.DblClick = [this] { EditList_DblClick(); };
  on.KeyDown = [this](int16_t& keyCode, int16_t shift) {
    if (EditListHooks.KeyDown) EditListHooks.KeyDown(keyCode, shift);
  };
  on.KeyUp = [this](int16_t& keyCode, int16_t shift) {
    if (EditListHooks.KeyUp) EditListHooks.KeyUp(keyCode, shift);
  };
  on.KeyPress = [this](int16_t& keyAscii) { EditList_KeyPress(keyAscii); };
  on.MouseDown = [this](int16_t button, int16_t shift, int32_t x, int32_t y) {
    if (EditListHooks.MouseDown) EditListHooks.MouseDown(button, shift, x, y);
  };
  on.MouseUp = [this](int16_t button, int16_t shift, int32_t x, int32_t y) {
    if (EditListHooks.MouseUp) EditListHooks.MouseUp(button, shift, x, y);
  };
  on.MouseMove = [this](int16_t, int16_t, int32_t, int32_t) { EditList_MouseMove(); };
  on.TbMouseMove = [this] { EditList_TbMouseMove(); };
}

void MainWin::EditList_DblClick() {
  if (EditListHooks.DblClick) EditListHooks.DblClick();
}

// A space acts as a double-click.
void MainWin::EditList_KeyPress(int16_t& keyAscii) {
  if (keyAscii == 32) EditList_DblClick();
}

void MainWin::EditList_MouseMove() { qhelp_->TT(""); }

void MainWin::EditList_TbMouseMove() { talvero::TheClock().ProcessEvents(); }
