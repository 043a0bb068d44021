#pragma once
// The capture sequence as a state machine, stepped by one single-shot timer
// so the window stays live between drive requests:
//
//   Idle --Enter--> Armed --100 ms--> Starting --> Polling --50 ms--> Polling
//                     |                  |           |finished
//                     Esc: Idle          |           v
//                                        |        Reading --Repeat--> RepeatWait --250 ms--> Starting
//                                        |           |1-Shot                 | Esc: Idle
//                                        v           v
//          Esc from Starting/Polling: Aborting --> (StopCap if the drive captures) --> Idle
//          Esc from Reading: Aborting --> traces read and plotted --> Idle (no StopCap)
//
// Nothing here knows about widgets: the host reads the menus and panels and
// draws the traces.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ISP;

namespace scope {

enum class CaptureState { Idle, Armed, Starting, Polling, Reading, RepeatWait, Aborting };

// Panel 4's text in the state: "Capture", "Cancel" or "Aborting".
const char* PanelText(CaptureState s);

// What the menus hold at the start of one capture.
struct CaptureChoice {
  std::string timebaseCaption;  // "" when none is checked
  int upper = 0, lower = 0;     // channel codes
};

struct Trace {
  std::vector<double> x, y;
  std::string title;   // channel caption & unit suffix
  std::string suffix;  // unit suffix alone
  double seconds = 0;  // the timebase
};

class CaptureHost {
 public:
  virtual ~CaptureHost() = default;
  // One tick after ms milliseconds; replaces any pending one.
  virtual void Schedule(int ms) = 0;
  virtual void CancelSchedule() = 0;
  virtual CaptureChoice Choice() = 0;
  virtual bool FreeRun() = 0;  // panel 5
  virtual bool Repeat() = 0;   // panel 6
  // Settings menu and panels 5 and 6 disabled while busy.
  virtual void SetBusy(bool busy) = 0;
  virtual void StateChanged(CaptureState s) = 0;
  // Both traces at once, only when both were read whole.
  virtual void Plot(const Trace& upper, const Trace& lower) = 0;
  // Sends one request of the capture; false when it failed all its tries.
  // The window may run between the tries.
  virtual bool Ask(const std::function<void()>& request) = 0;
};

class CaptureMachine {
 public:
  static constexpr int kArmMs = 100, kPollMs = 50, kRepeatMs = 250;
  static constexpr int kFreeRunSlackMs = 5000;

  CaptureMachine(ISP& link, CaptureHost& host) : link_(link), host_(host) {}
  void SetNode(int node) { node_ = node; }
  int Node() const { return node_; }

  // Enter (13) and Esc (27); other keys do nothing.
  void HandleCaptureKey(int key);
  // One step of the sequence; the host's timer calls it.
  void Tick();
  // Ends whatever runs, without a box (the window goes away).
  void Abort();

  CaptureState State() const { return state_; }
  int LastScheduleMs() const { return lastScheduleMs_; }

 private:
  void Go(CaptureState s);
  void Schedule(int ms);
  void Start();
  void Poll();
  void Read();
  void Finish();       // back to Idle with the settings enabled
  void StopCapture();  // the drive told to stop, then Idle
  void NotAnswering(); // said, then Idle: nothing more is sent
  bool ReadTrace(uint8_t block, int channel, Trace& t);
  int TimebaseCodeOfChoice() const;  // 1 when no timebase is checked

  ISP& link_;
  CaptureHost& host_;
  int node_ = 0;
  CaptureState state_ = CaptureState::Idle;
  CaptureState abortedFrom_ = CaptureState::Idle;
  CaptureChoice choice_;
  bool freeRun_ = false;
  int64_t startedMs_ = 0;
  int lastScheduleMs_ = -1;
  bool inTick_ = false;
};

}  // namespace scope
