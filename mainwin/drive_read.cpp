#include "mainwin/drive_read.h"

#include "link/failure_watch.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"

namespace mainwin {

DriveRead::DriveRead(MainWin& win, int node) : win_(win), node_(node), saved_(win.Link.BeforeRetry) {
  win_.Link.BeforeRetry = [this](int n) {
    if (win_.Answers.Silent(n)) return false;  // a silent drive costs one try
    talvero::TheClock().ProcessEvents();
    return true;
  };
}

DriveRead::~DriveRead() { win_.Link.BeforeRetry = std::move(saved_); }

bool DriveRead::Ask(const std::function<void()>& request) {
  if (failed_) return false;
  const FailureWatch watch(win_.Link);
  request();
  failed_ = watch.Failed();
  if (failed_) win_.Answers.Failed(node_);
  else win_.Answers.Answered(node_);
  return !failed_;
}

std::string DriveRead::NotAnswering() const { return "Node " + std::to_string(node_) + " does not answer"; }

}  // namespace mainwin

// The refill of a view that found its drive silent.
void MainWin::AwaitAnswer(int node, std::function<void()> refill) {
  awaitNode_ = node;
  awaitKey_ = LastNode;
  refill_ = std::move(refill);
}

void MainWin::DriveAnswered(int node) {
  if (node != awaitNode_ || !refill_) return;
  std::function<void()> refill = std::move(refill_);
  refill_ = nullptr;
  awaitNode_ = -1;
  // Only while the view that waited is still the one shown.
  if (LastNode == awaitKey_ && CurNode == node) refill();
}
