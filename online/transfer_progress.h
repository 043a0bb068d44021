#pragma once
// The main window's progress bar while a memory image moves: the block count
// on the bar and a Stop button (Escape) beside it, gone again at the end.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QToolButton>

class MainWin;

namespace online {

// The hourglass for the life of a command, whatever way it ends.
class Hourglass {
 public:
  explicit Hourglass(MainWin& w);
  ~Hourglass() { Release(); }
  void Release();

 private:
  MainWin& w_;
  bool on_ = true;
};

class TransferProgress : public QObject {
 public:
  explicit TransferProgress(MainWin& w);
  ~TransferProgress() override;

  // After block blocksDone (1-based), which started at address.
  void BlockDone(int blocksDone, int address);
  // Bar back to 0, its caption off.
  void Reset();
  bool StopClicked() const { return stop_; }
  void ClearStop() { stop_ = false; }
  QToolButton* StopButton() const { return button_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // Shares the bar's place with the button; again whenever the layout moves the bar.
  void Place();

  MainWin& w_;
  QPointer<QToolButton> button_;
  QRect full_, applied_;
  bool stop_ = false;
};

}  // namespace online
