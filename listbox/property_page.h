#pragma once
// What every page of the control's property sheet shares: fields loaded
// from the control, only the changed ones written back on Apply (stopping at
// the first refusal, its reason on the page), OK and Cancel, and a help topic
// of the control's help file. A page stands alone with its own buttons, or
// sits in the sheet, whose buttons then act for it.
#include <QDialog>
#include <QMap>
#include <QVariant>
#include <functional>
#include <span>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QVBoxLayout;

namespace tivolen {

class TivolenCtrl;
class HelpWindow;

// A page's property list: the control's properties of one kind.
struct PageProperty {
  const char* name;
  int dispId;
};

class PropertyPage : public QDialog {
  Q_OBJECT
 public:
  PropertyPage(TivolenCtrl* control, int helpContext, QWidget* parent);

  // Values from the control into the fields; pending changes are dropped.
  virtual void LoadFromControl() = 0;
  // Changed fields to the control; false (and the reason shown) on a refusal.
  virtual bool Apply() = 0;
  bool IsPageModified() const { return pageModified_; }
  // Changes not yet applied; a page shown again keeps them.
  virtual bool HasPendingChanges() const { return pageModified_; }
  QString Status() const;
  int HelpContext() const { return helpContext_; }
  // The page's topic of the control's help file; false, and the reason in
  // the status line, when it cannot be shown.
  bool ShowHelp();
  HelpWindow* Help() const { return help_; }
  // Into a sheet: its own buttons go, and the keys they take go to the sheet.
  void PlaceInSheet();

 signals:
  void Modified();

 protected:
  // The status line and, for a page alone, OK, Cancel, Apply and Help.
  void AddPageButtons(QVBoxLayout* layout);
  void SetStatus(const QString& text);
  void SetPageModified(bool modified);
  // The changed ones of properties to the control, in order, each as value
  // gives it; at a refusal that property is picked in chooser and its reason
  // shown. When all went the page is no longer modified.
  bool WriteChanged(std::span<const PageProperty> properties, QMap<int, bool>& changed, QComboBox* chooser,
                    const std::function<QVariant(int dispId)>& value);
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

  TivolenCtrl* control_;

 private:
  int helpContext_;
  QLabel* status_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  HelpWindow* help_ = nullptr;
  bool pageModified_ = false;
  bool inSheet_ = false;
};

}  // namespace tivolen
