#include "mainwin/drive_read.h"

#include "link/failure_watch.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"

namespace mainwin {

DriveRead::DriveRead(MainWin& win, int node) : win_(win), node_(node), saved_(win.Link.BeforeRetry) {
  win_.Link.BeforeRetry = [this](int n) {
    if (pumping_) return true;  // a request of a handler that runs between this read's tries
    if (win_.Answers.Silent(n)) return false;  // a silent drive costs one try
    // A tick or a click meanwhile may fail requests of its own, which are not
    // this read's; it may also find the drive silent, which ends this request.
    const uint64_t before = win_.Link.FailedOperations;
    pumping_ = true;
    talvero::TheClock().ProcessEvents();
    pumping_ = false;
    othersFailed_ += win_.Link.FailedOperations - before;
    return !win_.Answers.Silent(n);
  };
}

DriveRead::~DriveRead() { win_.Link.BeforeRetry = std::move(saved_); }

bool DriveRead::Ask(const std::function<void()>& request) {
  if (failed_) return false;
  // A drive known silent costs its one try a whole time-out: whatever came
  // before it (another read's last try, a tick's) is not followed at once.
  if (win_.Answers.Silent(node_)) talvero::TheClock().ProcessEvents();
  const FailureWatch watch(win_.Link);
  othersFailed_ = 0;
  request();
  failed_ = watch.Failures() > othersFailed_;
  if (failed_) win_.Answers.Failed(node_);
  else win_.Answers.Answered(node_);
  return !failed_;
}

std::string DriveRead::NotAnswering(int node) { return "Node " + std::to_string(node) + " does not answer"; }

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
