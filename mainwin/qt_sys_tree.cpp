#include "mainwin/qt_sys_tree.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "listbox/key_codes.h"
#include "mainwin/tree_images.h"

namespace {
constexpr int kKeyRole = Qt::UserRole;
constexpr int kPictureRole = Qt::UserRole + 1;
// Hands the typed text to the tree's check before the node takes it.
class LabelEditDelegate : public QStyledItemDelegate {
 public:
  explicit LabelEditDelegate(QtSysTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    // A box shown by the check takes the focus, which commits once more.
    if (!line || busy_) return;
    busy_ = true;
    std::string text = line->text().toStdString();
    const std::string key = index.data(kKeyRole).toString().toStdString();
    const bool accept = !tree_->AfterLabelEdit || tree_->AfterLabelEdit(key, text);
    if (accept && index.isValid()) model->setData(index, QString::fromStdString(text), Qt::EditRole);
    busy_ = false;
  }

 private:
  QtSysTree* tree_;
  mutable bool busy_ = false;
};

}  // namespace

QtSysTree::QtSysTree(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("Sys");
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  // Long application paths scroll sideways instead of losing their file name.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Names change only through the rename commands.
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setItemDelegate(new LabelEditDelegate(this));
  connect(this, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item, int) { emit NodeClicked(QString::fromStdString(KeyOf(item))); });
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* cur, QTreeWidgetItem*) {
    if (cur) emit NodeClicked(QString::fromStdString(KeyOf(cur)));
  });
}

std::string QtSysTree::KeyOf(const QTreeWidgetItem* item) {
  return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

void QtSysTree::Clear() {
  QSignalBlocker block(this);
  clear();
  items_.clear();
}

bool QtSysTree::Add(const std::string& parentKey, const std::string& key, const std::string& text,
                    const std::string& picture) {
  if (items_.count(key)) return false;
  QTreeWidgetItem* item;
  if (parentKey.empty()) {
    item = new QTreeWidgetItem(this);
  } else {
    auto p = items_.find(parentKey);
    if (p == items_.end()) return false;
    item = new QTreeWidgetItem(p->second);
  }
  // QTreeWidgetItem text is plain: drive names show as they come.
  item->setText(0, QString::fromStdString(text));
  item->setData(0, kKeyRole, QString::fromStdString(key));
  item->setData(0, kPictureRole, QString::fromStdString(picture));
  item->setIcon(0, TreeImage(picture, style()));
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  items_[key] = item;
  return true;
}

void QtSysTree::Forget(QTreeWidgetItem* item) {
  for (int i = 0; i < item->childCount(); ++i) Forget(item->child(i));
  items_.erase(KeyOf(item));
}

bool QtSysTree::Remove(const std::string& key) {
  auto it = items_.find(key);
  if (it == items_.end()) return false;
  QTreeWidgetItem* item = it->second;
  Forget(item);
  QSignalBlocker block(this);
  delete item;
  return true;
}

bool QtSysTree::Exists(const std::string& key) const { return items_.count(key) != 0; }

std::string QtSysTree::Text(const std::string& key) const {
  auto it = items_.find(key);
  return it == items_.end() ? std::string() : it->second->text(0).toStdString();
}

std::string QtSysTree::Picture(const std::string& key) const {
  auto it = items_.find(key);
  return it == items_.end() ? std::string() : it->second->data(0, kPictureRole).toString().toStdString();
}

std::vector<std::string> QtSysTree::Children(const std::string& key) const {
  std::vector<std::string> out;
  if (key.empty()) {
    for (int i = 0; i < topLevelItemCount(); ++i) out.push_back(KeyOf(topLevelItem(i)));
    return out;
  }
  auto it = items_.find(key);
  if (it == items_.end()) return out;
  for (int i = 0; i < it->second->childCount(); ++i) out.push_back(KeyOf(it->second->child(i)));
  return out;
}

void QtSysTree::EnsureVisible(const std::string& key) {
  auto it = items_.find(key);
  if (it == items_.end()) return;
  for (QTreeWidgetItem* p = it->second->parent(); p; p = p->parent()) p->setExpanded(true);
  scrollToItem(it->second);
}

void QtSysTree::Select(const std::string& key) {
  auto it = items_.find(key);
  if (it == items_.end()) return;
  QSignalBlocker block(this);
  setCurrentItem(it->second);
}

std::string QtSysTree::SelectedKey() const { return KeyOf(currentItem()); }

bool QtSysTree::StartLabelEdit(const std::string& key) {
  auto it = items_.find(key);
  if (it == items_.end()) return false;
  scrollToItem(it->second);
  editItem(it->second, 0);
  return true;
}

void QtSysTree::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    // The menu is for the node under the pointer: it is selected first, as a
    // left click selects it. Empty space opens nothing.
    const QPoint p = e->position().toPoint();
    QTreeWidgetItem* item = itemAt(p);
    if (!item) return;
    setCurrentItem(item);
    emit NodeClicked(QString::fromStdString(KeyOf(item)));
    emit MouseDown(2, tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
    return;
  }
  QTreeWidget::mousePressEvent(e);
}

void QtSysTree::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && state() != QAbstractItemView::EditingState) {
    emit KeyPress(32);
    return;
  }
  QTreeWidget::keyPressEvent(e);
}

void QtSysTree::contextMenuEvent(QContextMenuEvent* e) {
  // The menu key: the current node's menu, after the click a pointer would make.
  if (e->reason() != QContextMenuEvent::Keyboard) return;
  QTreeWidgetItem* item = currentItem();
  if (!item) return;
  emit NodeClicked(QString::fromStdString(KeyOf(item)));
  emit KeyPress(32);
}

void QtSysTree::changeEvent(QEvent* e) {
  QTreeWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange) {
    const int side = std::max(16, fontMetrics().height() * 4 / 5);
    setIconSize(QSize(side, side));
  }
}
