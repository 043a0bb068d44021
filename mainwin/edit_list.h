#pragma once
// The main list `EditList` as the main window uses it: the picture list box
// control when its library loads, else a plain Qt list behind the same face.
#include <cstdint>
#include <functional>
#include <string>

#include "listbox/picture.h"

class QWidget;

// What the list reports to its window; each does nothing until set.
// Mouse positions are in the list's own pixels.
struct EditListEvents {
  std::function<void()> Click, DblClick;
  std::function<void(int16_t& keyCode, int16_t shift)> KeyDown, KeyUp;
  std::function<void(int16_t& keyAscii)> KeyPress;
  std::function<void(int16_t button, int16_t shift, int32_t x, int32_t y)> MouseDown, MouseMove,
      MouseUp;
  std::function<void()> TbMouseMove;
};

class EditListView {
 public:
  virtual ~EditListView() = default;
  virtual void Clear() = 0;
  // Tab-separated columns, as the list control takes them; the picture may be
  // empty.
  virtual void AddItem(const std::string& text, const tivolen::PicturePtr& picture) = 0;
  void AddItem(const std::string& text) { AddItem(text, nullptr); }
  virtual int ListCount() const = 0;
  virtual std::string ItemText(int row) const = 0;
  virtual void SetNoRedraw(bool on) = 0;
  // False when the row does not exist.
  virtual bool SetListPicture(int row, const tivolen::PicturePtr& picture) = 0;
  virtual tivolen::PicturePtr ListPicture(int row) const = 0;
  virtual EditListEvents& Events() = 0;
};
