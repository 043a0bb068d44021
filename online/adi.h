#pragma once
// "ASCII Drive Interface": one typed line at a time to one drive node in the
// drive's text mode, and every line that comes back, listed under it.
#include <QDialog>

class MainWin;
class QLabel;
class QLineEdit;
class QListWidget;

namespace online {

class ADI : public QDialog {
  Q_OBJECT
 public:
  ADI(MainWin& win, QWidget* parent = nullptr);

  // NODE "1", MSG empty, the list cleared, the counter at 0.
  void Init();
  // Sends MSG to the node of NODE and lists the exchange.
  void DoMessage();
  int Counter() const { return counter_; }

  QLabel* Label1;
  QLineEdit *NODE, *MSG;
  QListWidget* Results;

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Enter in MSG or Results.
  void SendTyped();
  // Adds an entry (UTF-8, control characters drawn visibly), selected and in view.
  void AddEntry(const std::string& text);

  MainWin& win_;
  int counter_ = 0;
};

// "&ASCII Drive Interface": opens the terminal on the port the link holds,
// with the status timer off while it is open.
void GoASCII_Click(MainWin& win);

// Connects GoASCII and registers the terminal "ADI" with the window factory.
void InstallTerminal(MainWin& win);

}  // namespace online
