#pragma once
// PrintApp "Print...": the sections offered for the selected application or
// drive, written one after another into one shown document or printed one
// job per section.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/model/report_sections.h"

class MainWin;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace reports {

class PR;

class PrintApp : public QDialog {
  Q_OBJECT
 public:
  explicit PrintApp(MainWin& win, QWidget* parent = nullptr);
  ~PrintApp() override;

  // Every showing starts here: the list rebuilt from the selection.
  void Activate();
  void FillAppSelections();
  void FillAxisSelections();
  void ProcessAppSelections();
  void ProcessAxisSelections();

  void PSelect_Click();
  void SelectAll_Click();
  void SelectNone_Click();
  void Disp_Click();
  void DoPrint_Click();
  void PrintCancel_Click() { hide(); }

  // The one report window.
  PR& Report();
  // The items as the sections read them: the store's UTF-8 for an
  // application, the drive's own bytes for a drive.
  const std::vector<std::string>& Items() const { return items_; }

  // The header's version text; tests fix it.
  std::function<std::string()> VersionText;

  QListWidget* PSelect;
  QLabel* Notice;  // "Node n does not answer" when the drive's list was not read whole
  QPushButton *Disp, *DoPrint, *SelectAll, *SelectNone, *PrintCancel;
  QFrame *Line1, *Line2;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  ReportContext Context();
  void SetItems(std::vector<std::string> items);
  // Writes the selected items in list order while section says to go on;
  // the items not written after it stopped.
  template <class F>
  std::vector<std::string> Process(F&& section);

  MainWin& win_;
  PR* pr_ = nullptr;
  std::vector<std::string> items_;
};

}  // namespace reports
