#pragma once
#include <QListWidget>

#include "mainwin/edit_list.h"

class QtEditList : public QListWidget, public EditListView {
  Q_OBJECT
 public:
  explicit QtEditList(QWidget* parent = nullptr);
  void Clear() override;
  void AddItem(const std::string& text) override;
  int ListCount() const override;
  std::string ItemText(int row) const override;
  void SetNoRedraw(bool on) override;
};
