#pragma once
// The main list `EditList` as the main window uses it; the picture list box
// control replaces the plain Qt list that stands behind it for now.
#include <string>

class EditListView {
 public:
  virtual ~EditListView() = default;
  virtual void Clear() = 0;
  // Tab-separated columns, as the list control takes them.
  virtual void AddItem(const std::string& text) = 0;
  virtual int ListCount() const = 0;
  virtual std::string ItemText(int row) const = 0;
  virtual void SetNoRedraw(bool on) = 0;
};
