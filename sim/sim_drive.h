#pragma once
// One simulated drive: the state it keeps and its answer to each request.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/drive_family.h"
#include "sim/program_store.h"
#include "sim/variable_table.h"

namespace talvero::sim {

constexpr int kUserVariableSlots = 48;
constexpr int kEvents = 10;
constexpr int kNvSize = 131072;
constexpr int kNvBlock = 128;
constexpr int kCaptureBlock = 250;
constexpr int kSpecialBlocks = 200;
constexpr int kSpecialBlock = 16;
constexpr int kFaultHistory = 16;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;  // "heard, not done": the host only sees an acknowledgement

// Status word bits.
enum StatusBit : uint16_t {
  kEnabled = 1u << 0,
  kFaulted = 1u << 1,
  kResetNeeded = 1u << 2,
  kRunning = 1u << 3,
  kPaused = 1u << 7,
  kCaptureFinished = 1u << 8,
  kRunFault = 1u << 13,
  kHardwareEnable = 1u << 14,
};

struct FaultRecord {
  uint32_t faults = 0;
  int inputs = 0;
  int outputs = 0;
  double velocity = 0;
  double current = 0;  // fraction of peak
  int step = -1;
  std::string text;  // free text, the time of the record
  std::string ToText() const;
};

// The drive's answer to one request: zero or more reply packets' data, sent
// after a pause of its own.
struct Answer {
  std::vector<std::string> replies;
  int pauseMs = 0;
};

class SimDrive {
 public:
  SimDrive(int node, Family family);

  // One request packet's data in, the drive's answer out.
  Answer Handle(const std::string& data);
  // One line of the terminal's text mode, without "[NN]" and CR; reply lines.
  std::vector<std::string> HandleText(const std::string& text);
  // What ends each reply line of the text mode: CR, or CR LF on some drives.
  const std::string& TextLineEnd() const { return text_line_end_; }
  void SetTextLineEnd(const std::string& e) { text_line_end_ = e; }

  // ----- state a test reads and sets -----
  int Node() const { return node_; }
  Family GetFamily() const { return family_; }
  std::string Identity() const;  // "!" + family code + model text
  std::string Model() const { return model_; }
  void SetModel(const std::string& m) { model_ = m; }
  std::string Name() const { return name_; }
  void SetName(const std::string& n) { name_ = n; }
  std::string Serial() const { return serial_; }
  void SetSerial(const std::string& s) { serial_ = s; }
  std::string FirmwareText() const;  // Info 1: lines joined by LF
  void SetKernelVersion(const std::string& v) { kernel_ = v; }
  std::array<uint8_t, 6> ClockBytes() const { return clock_; }

  VariableTable& Vars() { return vars_; }
  const VariableTable& Vars() const { return vars_; }
  std::optional<std::string> Value(const std::string& name) const { return vars_.Text(name); }
  void SetValue(const std::string& name, const std::string& text) { vars_.Set(name, text); }
  // The value the drive reports for a name or an expression.
  std::optional<double> EvaluateText(const std::string& expr) const;

  uint16_t StatusWord() const;
  uint16_t Status2Word() const;
  void SetStatusExtraBits(uint16_t bits) { status_extra_ = bits; }
  bool Running() const { return running_; }
  bool Paused() const { return paused_; }
  int CurrentStep() const { return step_; }
  void SetCurrentStep(int s) { step_ = s; }
  // While running (not paused), each step query moves on to the next line
  // that holds a step, so a watcher sees the program go. Off by default.
  void SetStepOnQuery(bool on) { step_on_query_ = on; }

  // Raises a fault: its bit in FLT, a fault history record, program stopped.
  void RaiseFault(int code, const std::string& when = "");
  void SetFaultText(int code, const std::string& text);
  std::string FaultTextOf(int code) const;
  const std::deque<FaultRecord>& FaultHistory() const { return history_; }
  void AddHistoryRecord(const FaultRecord& r);

  // Raw input word; the drive's IN reads (raw & ~IN0) | IN1.
  void SetInputs(int raw);
  int EffectiveInputs() const;
  int EffectiveOutputs() const;

  std::string UserVariableSlot(int slot) const;  // "" = free
  bool DefineUserVariable(const std::string& name);
  // The longest name the drive keeps; 16 unless set (a test drive keeps longer ones).
  void SetUserVariableNameLimit(size_t chars) { uv_name_limit_ = chars; }

  ProgramStore& Programs() { return programs_; }
  const ProgramStore& Programs() const { return programs_; }
  std::string ProgramLine(Buffer b, int line) const { return programs_.Get(b).lines.at(line); }

  std::string EventText(int e) const { return events_.at(e); }
  void SetEventText(int e, const std::string& t) { events_.at(e) = t; }
  uint16_t EventMask() const { return event_mask_; }
  void SetEventMask(uint16_t m) { event_mask_ = m & 0x3FF; }

  // Capture: the finished bit comes after this many status reads (0 = at once).
  void SetCapturePolls(int n) { capture_polls_ = n; }
  bool Capturing() const { return capturing_; }
  std::array<uint8_t, 3> CaptureSettings() const { return cap_settings_; }
  bool CaptureTriggered() const { return cap_trigger_; }
  std::string CaptureBlock(int block) const;
  void SetCaptureBlock(int block, const std::string& bytes);
  std::string ScaleText(int trace) const;  // "scale,offset"
  // A fixed scale reply for a trace, "" for the one made from its channel.
  void SetScaleText(int trace, const std::string& text) { scale_override_.at(trace) = text; }

  void SetSpecialCapture(const std::string& bytes3200) { special_ = bytes3200; }
  const std::string& SpecialCapture() const { return special_; }
  void SetSpecialCapturePauseMs(int ms) { special_pause_ms_ = ms; }

  std::vector<uint8_t>& Memory();
  const std::vector<uint8_t>& Memory() const { return nv_.empty() ? *nv_start_ : nv_; }

  const std::vector<uint8_t>& FlashImage() const { return flash_image_; }
  bool FlashProgramming() const { return flash_programming_; }
  int FlashStarts() const { return flash_starts_; }
  int FlashEnds() const { return flash_ends_; }

  int Calibrations() const { return calibrations_; }
  int ForceSaves() const { return force_saves_; }
  int Resets() const { return resets_; }
  int EStops() const { return estops_; }
  std::vector<std::string> RestartTexts() const { return restarts_; }
  std::vector<std::string> Specials() const { return specials_; }

 private:
  Answer Ack() const { return Answer{{std::string(1, kAck)}, 0}; }
  Answer Nak() const { return Answer{{std::string(1, kNak)}, 0}; }
  static Answer Reply(std::string s) { return Answer{{std::move(s)}, 0}; }
  static Answer Silence() { return Answer{}; }

  Answer HandleControl(uint8_t code, const std::string& args);
  Answer HandleLetter(const std::string& data);
  Answer HandleProgram(const std::string& data);
  Answer HandleCapture(uint8_t code, const std::string& args);
  Answer HandleMemory(uint8_t code, const std::string& args);
  Answer HandleFlash(const std::string& args);
  Answer HandleSpecial(const std::string& args);
  Answer HandleInfo(int k, const std::string& text);
  void NextStep();
  int FirstStep() const;  // the first line holding a step, 0 for an empty program

  bool ExecCommand(const std::string& cmd);
  bool Assign(const std::string& target, const std::string& expr);
  std::string ValueReply(const std::string& expr) const;
  void SyncProgramSettingsOut(Buffer b);
  void SyncProgramSettingsIn(Buffer b);
  void Initialise();
  void Restart();

  int node_;
  Family family_;
  std::string model_;
  std::string name_;
  std::string serial_;
  std::string kernel_;
  std::string text_line_end_ = "\r";
  std::array<uint8_t, 6> clock_{0x00, 0x01, 0x01, 0x01, 0x00, 0x00};

  VariableTable vars_;
  uint16_t status_extra_ = 0;
  bool running_ = false;
  bool paused_ = false;
  bool reset_needed_ = false;
  int step_ = 0;
  bool step_on_query_ = false;

  std::array<std::string, 30> fault_texts_;
  std::deque<FaultRecord> history_;

  std::array<std::string, kUserVariableSlots> uv_;
  size_t uv_name_limit_ = 16;
  ProgramStore programs_;
  std::array<std::string, kEvents> events_;
  uint16_t event_mask_ = 0;

  bool capturing_ = false;
  bool cap_finished_ = false;
  bool cap_trigger_ = false;
  int capture_polls_ = 0;
  int polls_left_ = 0;
  std::array<uint8_t, 3> cap_settings_{};
  std::array<std::string, 2> cap_override_;
  std::array<std::string, 2> scale_override_;
  std::string special_;
  int special_pause_ms_ = 0;

  // The node's start image is shared by every drive of that node until its
  // memory is first written; nv_ stays empty till then.
  std::shared_ptr<const std::vector<uint8_t>> nv_start_;
  std::vector<uint8_t> nv_;
  std::optional<int> nv_pending_;

  bool flash_programming_ = false;
  std::vector<uint8_t> flash_image_;
  std::vector<uint8_t> flash_new_;
  int flash_starts_ = 0;
  int flash_ends_ = 0;

  int calibrations_ = 0;
  int force_saves_ = 0;
  int resets_ = 0;
  int estops_ = 0;
  std::vector<std::string> restarts_;
  std::vector<std::string> specials_;
};

}  // namespace talvero::sim
