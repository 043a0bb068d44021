#pragma once
// The plain list the window falls back to when the list control cannot be
// loaded: the same rows, pictures and events, drawn by Qt.
#include <QListWidget>

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
};
