#pragma once
// The main window's `EditList`: a frame that hosts the picture list box
// control, or the plain list when the control's library cannot be loaded.
#include <QWidget>
#include <memory>

#include "listbox/property_bag.h"
#include "mainwin/edit_list.h"

namespace tivolen {
class ITivolen;
}
class TivolenEditList;

class EditListBox : public QWidget, public EditListView {
  Q_OBJECT
 public:
  // library: the control's library to register when the per-user registry
  // names none. A failure is told through the prompter with its path and
  // reason, and the plain list takes the control's place.
  EditListBox(QWidget* parent, const std::string& library);
  // Another list of the program, from its own stored property set.
  EditListBox(QWidget* parent, const std::string& library, tivolen::MemoryPropertyBag properties);
  ~EditListBox() override;

  // nullptr while the plain list stands in.
  tivolen::ITivolen* Control() const;
  // The hosted list's widget.
  QWidget* Surface() const { return surface_; }
  // The property set stored with the window, the control's at creation.
  const tivolen::PropertyBag& Properties() const { return bag_; }

  using EditListView::AddItem;
  void Clear() override { view_->Clear(); }
  void AddItem(const std::string& text, const tivolen::PicturePtr& picture) override {
    view_->AddItem(text, picture);
  }
  int ListCount() const override { return view_->ListCount(); }
  std::string ItemText(int row) const override { return view_->ItemText(row); }
  void SetNoRedraw(bool on) override { view_->SetNoRedraw(on); }
  bool SetListPicture(int row, const tivolen::PicturePtr& picture) override {
    return view_->SetListPicture(row, picture);
  }
  tivolen::PicturePtr ListPicture(int row) const override { return view_->ListPicture(row); }
  EditListEvents& Events() override { return view_->Events(); }
  void SetTabWidth(int column, int width) override { view_->SetTabWidth(column, width); }
  int TabWidth(int column) const override { return view_->TabWidth(column); }
  void SetListHeight(int row, int height) override { view_->SetListHeight(row, height); }
  int ListHeight(int row) const override { return view_->ListHeight(row); }
  void SetDefHeight(int height) override { view_->SetDefHeight(height); }
  int DefHeight() const override { return view_->DefHeight(); }
  void SetListFontItalic(int row, bool on) override { view_->SetListFontItalic(row, on); }
  bool ListFontItalic(int row) const override { return view_->ListFontItalic(row); }
  void SetItemData(int row, int32_t data) override { view_->SetItemData(row, data); }
  int32_t ItemData(int row) const override { return view_->ItemData(row); }
  int NewIndex() const override { return view_->NewIndex(); }
  void SetList(int row, const std::string& text) override { view_->SetList(row, text); }
  void SetSelected(int row, bool on) override { view_->SetSelected(row, on); }
  bool Selected(int row) const override { return view_->Selected(row); }
  int SelCount() const override { return view_->SelCount(); }
  int TopIndex() const override { return view_->TopIndex(); }
  void SetTopIndex(int row) override { view_->SetTopIndex(row); }
  double FontSize() const override { return view_->FontSize(); }
  void SetFontSize(double points) override { view_->SetFontSize(points); }
  int ItemFromPoint(int x, int y) const override { return view_->ItemFromPoint(x, y); }

 protected:
  void resizeEvent(QResizeEvent* e) override;
  // The layout sizes the frame's font; the list inside takes its size.
  void changeEvent(QEvent* e) override;

 private:
  tivolen::MemoryPropertyBag bag_;
  std::unique_ptr<EditListView> view_;
  TivolenEditList* control_ = nullptr;  // view_, when it is the control
  QWidget* surface_ = nullptr;
};
