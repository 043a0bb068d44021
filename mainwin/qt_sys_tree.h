#pragma once
// The tree `Sys` on a QTreeWidget; each item carries its key.
#include <QTreeWidget>
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

 signals:
  // A node was picked with the mouse or the keyboard.
  void NodeClicked(const QString& key);

 private:
  void Forget(QTreeWidgetItem* item);
  std::map<std::string, QTreeWidgetItem*> items_;
};
