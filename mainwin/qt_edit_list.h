#pragma once
// The plain list the window falls back to when the list control cannot be
// loaded: the same rows, pictures and events, drawn by Qt.
#include <QListWidget>
#include <array>

#include "mainwin/edit_list.h"

class QtEditList : public QListWidget, public EditListView {
  Q_OBJECT
 public:
  explicit QtEditList(QWidget* parent = nullptr);
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
  int NewIndex() const override { return newIndex_; }
  void SetList(int row, const std::string& text) override;
  void SetSelected(int row, bool on) override;
  bool Selected(int row) const override;
  int SelCount() const override;
  int TopIndex() const override;
  void SetTopIndex(int row) override;
  double FontSize() const override;
  void SetFontSize(double points) override;
  int ItemFromPoint(int x, int y) const override;

  static constexpr int kTabs = 50;
  // Pixels from the left where a column starts.
  int ColumnStart(int column) const;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  EditListEvents events_;
  bool dblClickPending_ = false;
  std::array<int, kTabs> tabWidths_;  // twips
  int defHeight_ = 0;                 // twips, 0 = the font's
  int newIndex_ = -1;
};
