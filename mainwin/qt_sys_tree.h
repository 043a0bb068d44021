#pragma once
// The tree `Sys` on a QTreeWidget; each item carries its key.
#include <QTreeWidget>
#include <functional>
#include <map>

#include "mainwin/sys_tree.h"

class QtSysTree : public QTreeWidget, public SysTree {
  Q_OBJECT
 public:
  explicit QtSysTree(QWidget* parent = nullptr);

  void Clear() override;
  bool Add(const std::string& parentKey, const std::string& key, const std::string& text,
           const std::string& picture) override;
  bool Remove(const std::string& key) override;
  bool Exists(const std::string& key) const override;
  std::string Text(const std::string& key) const override;
  std::string Picture(const std::string& key) const override;
  std::vector<std::string> Children(const std::string& key) const override;
  void EnsureVisible(const std::string& key) override;
  void Select(const std::string& key) override;
  std::string SelectedKey() const override;

  static std::string KeyOf(const QTreeWidgetItem* item);

  // Opens the node's text for editing; AfterLabelEdit decides what it becomes.
  bool StartLabelEdit(const std::string& key);
  // Given the node's key and the typed text: false keeps the old text; true
  // stores text (which the check may have changed).
  std::function<bool(const std::string& key, std::string& text)> AfterLabelEdit;

 signals:
  // A node was picked with the mouse or the keyboard.
  void NodeClicked(const QString& key);
  // The right button never moves the selection: its menu is the selected node's.
  void MouseDown(int button, int shift, int x, int y);
  void KeyPress(int keyAscii);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  // The node pictures grow with the font the layout gives the tree.
  void changeEvent(QEvent* e) override;

 private:
  void Forget(QTreeWidgetItem* item);
  std::map<std::string, QTreeWidgetItem*> items_;
};
