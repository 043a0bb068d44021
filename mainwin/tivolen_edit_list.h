#pragma once
// `EditList` over the picture list box control: members by number, events
// through the control's sink.
#include <QPointer>
#include <QWidget>

#include "listbox/tivolen_interface.h"
#include "mainwin/edit_list.h"

// The property set stored with the main window for its list.
tivolen::MemoryPropertyBag MainListProperties();

class TivolenEditList : public EditListView, private tivolen::TivolenEvents {
 public:
  // Takes the control over and releases it when destroyed.
  explicit TivolenEditList(tivolen::ITivolen* control);
  ~TivolenEditList() override;
  TivolenEditList(const TivolenEditList&) = delete;
  TivolenEditList& operator=(const TivolenEditList&) = delete;

  tivolen::ITivolen& Control() { return *control_; }
  QWidget* Widget() { return control_->Widget(); }

  using EditListView::AddItem;
  void Clear() override;
  void AddItem(const std::string& text, const tivolen::PicturePtr& picture) override;
  int ListCount() const override;
  std::string ItemText(int row) const override;
  void SetNoRedraw(bool on) override;
  bool SetListPicture(int row, const tivolen::PicturePtr& picture) override;
  tivolen::PicturePtr ListPicture(int row) const override;
  EditListEvents& Events() override { return events_; }
  void SetTabWidth(int column, int width) override;
  int TabWidth(int column) const override;
  void SetListHeight(int row, int height) override;
  int ListHeight(int row) const override;
  void SetDefHeight(int height) override;
  int DefHeight() const override;
  void SetListFontItalic(int row, bool on) override;
  bool ListFontItalic(int row) const override;
  void SetItemData(int row, int32_t data) override;
  int32_t ItemData(int row) const override;
  int NewIndex() const override;
  void SetList(int row, const std::string& text) override;
  void SetSelected(int row, bool on) override;
  bool Selected(int row) const override;
  int SelCount() const override;
  int TopIndex() const override;
  void SetTopIndex(int row) override;
  double FontSize() const override;
  void SetFontSize(double points) override;
  int ItemFromPoint(int x, int y) const override;

 private:
  QVariant Get(int dispId, int row = -1) const;
  void Put(int dispId, const QVariant& value, int row = -1);

  void Click() override;
  void DblClick() override;
  void KeyDown(int16_t& keyCode, int16_t shift) override;
  void KeyPress(int16_t& keyAscii) override;
  void KeyUp(int16_t& keyCode, int16_t shift) override;
  void MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) override;
  void MouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) override;
  void MouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) override;
  void TbMouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) override;

  tivolen::ITivolen* control_;
  QPointer<QWidget> widget_;  // gone when a parent deleted it first
  EditListEvents events_;
};
