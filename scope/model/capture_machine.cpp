#include "scope/model/capture_machine.h"

#include "link/isp.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "scope/model/channels.h"

namespace scope {
namespace {

constexpr char kTitle[] = "KOVscope";
constexpr int kEnter = 13, kEsc = 27;

}  // namespace

const char* PanelText(CaptureState s) {
  switch (s) {
    case CaptureState::Idle: return "Capture";
    case CaptureState::Aborting: return "Aborting";
    default: return "Cancel";
  }
}

void CaptureMachine::Go(CaptureState s) {
  state_ = s;
  host_.StateChanged(s);
}

void CaptureMachine::Schedule(int ms) {
  lastScheduleMs_ = ms;
  host_.Schedule(ms);
}

void CaptureMachine::HandleCaptureKey(int key) {
  if (key == kEnter) {
    if (state_ != CaptureState::Idle) return;
    Go(CaptureState::Armed);
    Schedule(kArmMs);
    return;
  }
  if (key != kEsc) return;
  switch (state_) {
    case CaptureState::Armed:
      // Nothing was sent yet: disarming is all there is to do.
      host_.CancelSchedule();
      Go(CaptureState::Idle);
      break;
    case CaptureState::RepeatWait:
      host_.CancelSchedule();
      Finish();
      break;
    case CaptureState::Starting:
    case CaptureState::Polling:
    case CaptureState::Reading:
      abortedFrom_ = state_;
      Go(CaptureState::Aborting);
      break;
    default:
      break;
  }
}

int CaptureMachine::TimebaseCodeOfChoice() const {
  return choice_.timebaseCaption.empty() ? 1 : TimebaseCode(choice_.timebaseCaption);
}

void CaptureMachine::Tick() {
  if (inTick_) {
    // Fired inside a box of the running step: try again once it is over.
    Schedule(kPollMs);
    return;
  }
  inTick_ = true;
  switch (state_) {
    case CaptureState::Armed:
      host_.SetBusy(true);
      Go(CaptureState::Starting);
      Schedule(0);
      break;
    case CaptureState::Starting:
      Start();
      break;
    case CaptureState::Polling:
      Poll();
      break;
    case CaptureState::Reading:
      Read();
      break;
    case CaptureState::RepeatWait:
      host_.SetBusy(true);
      Go(CaptureState::Starting);
      Schedule(0);
      break;
    case CaptureState::Aborting:
      // Once the drive has finished, its traces are still read and plotted
      // and nothing is stopped; the series ends there.
      if (abortedFrom_ == CaptureState::Starting) Finish();
      else if (abortedFrom_ == CaptureState::Reading) Read();
      else StopCapture();
      break;
    case CaptureState::Idle:
      break;
  }
  inTick_ = false;
}

void CaptureMachine::Abort() {
  switch (state_) {
    case CaptureState::Idle:
      return;
    case CaptureState::Armed:
    case CaptureState::RepeatWait:
    case CaptureState::Starting:
      host_.CancelSchedule();
      Finish();
      return;
    case CaptureState::Polling:
      host_.CancelSchedule();
      StopCapture();
      return;
    case CaptureState::Aborting:
      host_.CancelSchedule();
      if (abortedFrom_ == CaptureState::Polling) StopCapture();
      else Finish();
      return;
    case CaptureState::Reading:
      // Inside the read (a box is up): it ends in Idle by itself.
      abortedFrom_ = state_;
      Go(CaptureState::Aborting);
      return;
  }
}

// Each request lets the window run between its tries: a key or a hide may
// have moved the state meanwhile, and the step then ends as that state says.
void CaptureMachine::Start() {
  choice_ = host_.Choice();
  freeRun_ = host_.FreeRun();
  const bool sent = host_.Ask(
      [&] { link_.GoCap(node_, TimebaseCodeOfChoice(), choice_.upper, choice_.lower, freeRun_ ? 0 : 1); });
  if (state_ == CaptureState::Idle) return;
  if (!sent) {
    NotAnswering();
    return;
  }
  if (state_ == CaptureState::Aborting) {
    abortedFrom_ = CaptureState::Polling;  // the drive captures: it is told to stop
    Schedule(0);
    return;
  }
  startedMs_ = talvero::TheClock().NowMs();
  Go(CaptureState::Polling);
  Schedule(0);
}

void CaptureMachine::Poll() {
  bool finished = false;
  const bool answered = host_.Ask([&] { finished = link_.FinishedCap(node_); });
  if (state_ == CaptureState::Idle) return;
  if (!answered) {
    NotAnswering();
    return;
  }
  if (state_ == CaptureState::Aborting) {
    Schedule(0);
    return;
  }
  if (finished) {
    Go(CaptureState::Reading);
    Schedule(0);
    return;
  }
  const bool overdue =
      freeRun_ && talvero::TheClock().NowMs() - startedMs_ > 2 * TimebaseCodeOfChoice() * 100 + kFreeRunSlackMs;
  if (overdue) {
    // Still busy while the box shows, so no new capture starts under it.
    host_.Ask([&] { link_.StopCap(node_); });
    talvero::ThePrompter().Message(
        {"The drive did not finish the capture...capture stopped.", kTitle, talvero::Buttons::Ok});
    Finish();
    return;
  }
  Schedule(kPollMs);
}

void CaptureMachine::NotAnswering() {
  // Still busy while the box shows, so no new capture starts under it.
  talvero::ThePrompter().Message(
      {"Node " + std::to_string(node_) + " does not answer...capture stopped.", kTitle, talvero::Buttons::Ok});
  Finish();
}

bool CaptureMachine::ReadTrace(uint8_t block, int channel, Trace& t) {
  std::string s;
  if (!host_.Ask([&] { s = link_.Cap(node_, block); }) || s.size() != size_t(kSamples)) return false;
  int16_t type = 0;
  float scale = 1.0f, offset = 0.0f;
  if (!host_.Ask([&] { link_.Yscale(node_, block, type, scale, offset); })) return false;
  if (scale == 0.0f) scale = 1.0f;
  float units = 0;
  if (!host_.Ask([&] { units = link_.NewValueOf(node_, "UU"); })) return false;
  t.suffix = UnitSuffix(channel, UnitNameFromIndex(units));
  t.title = ChannelCaption(channel) + t.suffix;
  const int code = TimebaseCodeOfChoice();
  t.seconds = code / 10.0;
  t.x.resize(kSamples);
  t.y.resize(kSamples);
  for (int k = 1; k <= kSamples; ++k) {
    t.x[k - 1] = (k - 1) * 0.001 * code / 2.5;
    t.y[k - 1] = double(uint8_t(s[k - 1])) / double(scale) + double(offset);
  }
  return true;
}

void CaptureMachine::Read() {
  Trace upper, lower;
  // Both blocks are read before either is drawn, so a bad second block
  // leaves no new upper trace beside an old lower one; a scale or unit the
  // drive did not give is never drawn with a default.
  if (!ReadTrace(0, choice_.upper, upper) || !ReadTrace(1, choice_.lower, lower)) {
    talvero::ThePrompter().Message(
        {"Unable to properly acquire data...plot data may be invalid.", kTitle, talvero::Buttons::Ok});
    Finish();
    return;
  }
  host_.Plot(upper, lower);
  host_.SetBusy(false);
  if (state_ == CaptureState::Reading && host_.Repeat()) {
    Go(CaptureState::RepeatWait);
    Schedule(kRepeatMs);
    return;
  }
  Go(CaptureState::Idle);
}

void CaptureMachine::Finish() {
  host_.SetBusy(false);
  Go(CaptureState::Idle);
}

void CaptureMachine::StopCapture() {
  host_.Ask([&] { link_.StopCap(node_); });
  Finish();
}

}  // namespace scope
