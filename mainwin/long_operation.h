#pragma once
// The one long drive operation that may run at a time (a search, a transfer,
// a memory image, a firmware load, a capture, a report). It takes its node
// once, when it starts, and every request of the operation goes to that node.
// While it is held the tree, the menu bar and the drive menu refuse input
// and the window refuses to close; the status timer, repaints and the run
// and E-stop buttons stay live, and the operation's own stop control works.
//
//   mainwin::LongOperation op(win, win.CurNode);
//   if (!op) return;                     // another one is running
//   for (...) { if (op.StopRequested()) break; ... win.Link.X(op.Node(), ...); }
#include <QPointer>

class MainWin;
class QWidget;

namespace mainwin {

class LongOperation {
 public:
  LongOperation(MainWin& win, int node);
  ~LongOperation();
  LongOperation(const LongOperation&) = delete;
  LongOperation& operator=(const LongOperation&) = delete;

  // False when another long operation was running: this one holds nothing.
  explicit operator bool() const { return held_; }
  bool Held() const { return held_; }
  int Node() const { return node_; }

  // The operation's stop control asks; the operation checks between requests.
  void RequestStop() { stop_ = true; }
  bool StopRequested() const { return stop_; }

  // What the window says when it is asked to close meanwhile.
  static constexpr const char* kCloseRefused =
      "A drive operation is running; wait for it to end or stop it.";

 private:
  void Lock(QWidget* w);

  MainWin& win_;
  int node_;
  bool held_ = false;
  bool stop_ = false;
  // Controls this operation disabled, to enable again at the end.
  QPointer<QWidget> locked_[3];
};

}  // namespace mainwin
