#pragma once
// The control's property sheet: its pages as tabs, in the order the control
// reports them, under one OK, Cancel, Apply and Help.
#include <QDialog>
#include <vector>

class QPushButton;
class QTabWidget;

namespace tivolen {

class PropertyPage;
class TivolenCtrl;

// One page of the control by its ProgID or class id; nullptr for none.
PropertyPage* MakePropertyPage(const char* classId, TivolenCtrl* control, QWidget* parent);

class PropertySheet : public QDialog {
  Q_OBJECT
 public:
  PropertySheet(TivolenCtrl* control, QWidget* parent = nullptr);

  int PageCount() const { return int(pages_.size()); }
  PropertyPage* Page(int i) const { return pages_[size_t(i)]; }
  QTabWidget* Tabs() const { return tabs_; }
  QPushButton* ApplyButton() const { return apply_; }
  // Every page's changes, in page order; at a refusal its page comes to the
  // front with the reason and the rest wait.
  bool Apply();

 private:
  QTabWidget* tabs_;
  QPushButton* apply_;
  std::vector<PropertyPage*> pages_;
};

}  // namespace tivolen
