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

  // Widths and heights are in the window's container units (twips). Members
  // taking a row do nothing (or answer 0 / false / "") for a row that does
  // not exist.
  virtual void SetTabWidth(int column, int width) = 0;
  virtual int TabWidth(int column) const = 0;
  virtual void SetListHeight(int row, int height) = 0;
  virtual int ListHeight(int row) const = 0;
  virtual void SetDefHeight(int height) = 0;
  virtual int DefHeight() const = 0;
  virtual void SetListFontItalic(int row, bool on) = 0;
  virtual bool ListFontItalic(int row) const = 0;
  virtual void SetItemData(int row, int32_t data) = 0;
  virtual int32_t ItemData(int row) const = 0;
  // The row the last AddItem made, -1 before any.
  virtual int NewIndex() const = 0;
  // Replaces a row's text (tab-separated columns).
  virtual void SetList(int row, const std::string& text) = 0;
  virtual void SetSelected(int row, bool on) = 0;
  virtual bool Selected(int row) const = 0;
  virtual int SelCount() const = 0;
  virtual int TopIndex() const = 0;
  virtual void SetTopIndex(int row) = 0;
  // The list's font size in points.
  virtual double FontSize() const = 0;
  virtual void SetFontSize(double points) = 0;
  // The row under a point given as the mouse events give it, -1 when none.
  virtual int ItemFromPoint(int x, int y) const = 0;
};
