#include "sim/sim_drive.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "runtime/text.h"
#include "sim/expression.h"

namespace talvero::sim {
namespace {

std::string RightAligned(std::string text, size_t width) {
  if (text.size() > width) text.resize(width);
  return std::string(width - text.size(), ' ') + text;
}

const char* const kFaultNames[30] = {
    "Over Current",          "Over Voltage",         "Under Voltage",
    "Over Temperature",      "Following Error",      "Feedback Loss",
    "Motor Over Temperature", "I Squared t Limit",   "Positive Limit",
    "Negative Limit",        "Encoder Index Missing", "Hall Sensor Fault",
    "Bus Ripple",            "Short Circuit",        "Brake Fault",
    "Watchdog",              "Checksum Error",       "Parameter Memory Fault",
    "Program Memory Fault",  "Serial Overrun",       "Analog Input Range",
    "Velocity Limit",        "Current Loop Saturated", "Phase Loss",
    "Commutation Fault",     "Resolver Fault",       "User Fault",
    "Event Fault",           "Stack Overflow",       "Calibration Fault",
};

constexpr double kPi = 3.14159265358979323846;

// A recognisable, node-specific memory image, made once per node: a line of
// drives starts often (every test, every fuzzed input) and the fill is long.
std::shared_ptr<const std::vector<uint8_t>> NodeImage(int node) {
  static std::mutex mu;
  static std::map<int, std::shared_ptr<const std::vector<uint8_t>>> images;
  std::lock_guard<std::mutex> lock(mu);
  auto& image = images[node];
  if (!image) {
    std::vector<uint8_t> nv(kNvSize);
    for (int a = 0; a < kNvSize; ++a) nv[size_t(a)] = uint8_t((a * 131 + (a >> 8) + node * 17) & 0xFF);
    image = std::make_shared<const std::vector<uint8_t>>(std::move(nv));
  }
  return image;
}

// The special capture every drive starts with: a damped sine with a ripple.
const std::string& SpecialImage() {
  static const std::string image = [] {
    std::string special(kSpecialBlocks * kSpecialBlock, '\0');
    for (int i = 0; i < kSpecialBlocks * kSpecialBlock / 2; ++i) {
      int16_t v = int16_t(std::lround(1000 * std::sin(i * 0.05)) - (i % 8) * 3);
      special[size_t(2 * i)] = char(uint16_t(v) & 0xFF);
      special[size_t(2 * i + 1)] = char(uint16_t(v) >> 8);
    }
    return special;
  }();
  return image;
}

bool ValidBcd(uint8_t b) { return (b >> 4) < 10 && (b & 0x0F) < 10; }
int FromBcd(uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }

}  // namespace

std::string FaultRecord::ToText() const {
  return std::to_string(faults) + "," + std::to_string(inputs) + "," + std::to_string(outputs) +
         "," + FormatNumber(velocity) + "," + FormatNumber(current) + "," +
         std::to_string(step) + "," + text;
}

SimDrive::SimDrive(int node, Family family) : node_(node), family_(family) {
  model_ = DefaultModelText(family);
  serial_ = FamilyCode(family_) + "-" + std::to_string(20000 + node_);
  kernel_ = "2.07";
  for (int i = 0; i < 30; ++i) fault_texts_[i] = kFaultNames[i];
  nv_start_ = NodeImage(node);
  special_ = SpecialImage();
  Initialise();
}

void SimDrive::Initialise() {
  name_ = "AXIS" + std::to_string(node_);
  vars_.LoadDefaults(family_);
  programs_ = ProgramStore{};
  events_ = {};
  event_mask_ = 0;
  uv_ = {};
  running_ = paused_ = reset_needed_ = false;
  step_ = 0;
  capturing_ = cap_finished_ = false;
}

std::string SimDrive::Identity() const { return "!" + FamilyCode(family_) + model_; }

std::string SimDrive::FirmwareText() const {
  // Every line ends with a line end, the last one too, as a drive's text does.
  return "Firmware version: 4.12 " + FamilyCode(family_) + "\nKernel version: " + kernel_ +
         "\nBuild: 2026-11-30\n";
}

// ---------- values ----------

std::optional<double> SimDrive::EvaluateText(const std::string& expr) const {
  NameLookup names = [this](const std::string& n) -> std::optional<double> {
    if (n == "IN") return EffectiveInputs();
    if (n == "OUT") return EffectiveOutputs();
    return vars_.Number(n);
  };
  CallLookup calls = [this](const std::string& f, double arg) -> std::optional<double> {
    long i = std::lround(arg);
    if (f == "CONFIG") return vars_.Number("CONFIG(" + std::to_string(i) + ")");
    if (f == "NV") {
      if (i < 0 || i >= kNvSize) return std::nullopt;
      return Memory()[size_t(i)];
    }
    if (f == "ON") return (i >= 0 && i < 31 && (EffectiveInputs() >> i) & 1) ? 1.0 : 0.0;
    if (f == "OFF") return (i >= 0 && i < 31 && (EffectiveInputs() >> i) & 1) ? 0.0 : 1.0;
    if (f == "OUTON") return (i >= 0 && i < 31 && (EffectiveOutputs() >> i) & 1) ? 1.0 : 0.0;
    if (f == "TBL") return 0.0;
    return vars_.Number(f + "(" + std::to_string(i) + ")");
  };
  return Evaluate(expr, names, calls);
}

std::string SimDrive::ValueReply(const std::string& expr) const {
  std::string e = rt::UCase(rt::Trim(expr));
  // A plain name answers its text as held; anything else is evaluated.
  auto held = e == "IN" || e == "OUT" ? std::nullopt : vars_.Text(e);
  if (held) {
    std::string s = *held;
    if (s.size() > 12) {
      if (auto n = vars_.Number(e)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.5G", *n);
        s = buf;
      }
    }
    return RightAligned(s, 12);
  }
  auto v = EvaluateText(e);
  if (!v) return RightAligned("?", 12);
  std::string s = FormatNumber(*v);
  if (s.size() > 12) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.5G", *v);
    s = buf;
  }
  return RightAligned(s, 12);
}

bool SimDrive::Assign(const std::string& target, const std::string& expr) {
  std::string name = rt::UCase(rt::Trim(target));
  if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '(' || c == ')'))
      return false;
  auto v = EvaluateText(expr);
  if (!v) return false;
  // Indexed names must exist (CONFIG(0) .. CONFIG(9)); plain names may be new.
  bool indexed = name.find('(') != std::string::npos;
  return vars_.Write(name, *v, !indexed) == VariableTable::WriteResult::Ok;
}

bool SimDrive::ExecCommand(const std::string& raw) {
  std::string cmd = rt::Trim(raw);
  if (cmd.empty()) return false;
  if (cmd[0] == '!') cmd = cmd.substr(1);
  // Tn,text: event n.
  if (cmd.size() >= 3 && cmd[0] == 'T' && std::isdigit(static_cast<unsigned char>(cmd[1])) &&
      cmd[2] == ',') {
    events_[cmd[1] - '0'] = rt::Trim(cmd.substr(3));
    return true;
  }
  if (cmd.size() == 5 && (cmd.rfind("UTE,", 0) == 0 || cmd.rfind("UTD,", 0) == 0) &&
      std::isdigit(static_cast<unsigned char>(cmd[4]))) {
    uint16_t bit = uint16_t(1u << (cmd[4] - '0'));
    if (cmd[2] == 'E')
      event_mask_ |= bit;
    else
      event_mask_ &= uint16_t(~bit);
    return true;
  }
  size_t eq = cmd.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  return Assign(cmd.substr(0, eq), cmd.substr(eq + 1));
}

// ---------- status, faults, I/O ----------

uint16_t SimDrive::StatusWord() const {
  bool faulted = vars_.Number("FLT").value_or(0) != 0;
  bool hw = vars_.Number("HWE").value_or(0) != 0;
  uint16_t w = status_extra_;
  if (vars_.Number("SWE").value_or(0) != 0 && hw && !faulted) w |= kEnabled;
  if (faulted) w |= kFaulted;
  if (reset_needed_) w |= kResetNeeded;
  if (running_) w |= kRunning;
  if (paused_) w |= kPaused;
  if (cap_finished_) w |= kCaptureFinished;
  if (vars_.Number("RERR").value_or(0) != 0) w |= kRunFault;
  if (hw) w |= kHardwareEnable;
  return w;
}

uint16_t SimDrive::Status2Word() const {
  uint16_t w = 0;
  if (vars_.Number("FOLD").value_or(0) != 0) w |= 1;
  if (vars_.Number("RSTI").value_or(0) != 0) w |= 2;
  if (vars_.Number("HWE").value_or(0) != 0) w |= 4;
  return w;
}

void SimDrive::SetInputs(int raw) { vars_.SetNumber("IN", raw & 0x1FF); }

int SimDrive::EffectiveInputs() const {
  int raw = int(vars_.Number("IN").value_or(0));
  int f0 = int(vars_.Number("IN0").value_or(0));
  int f1 = int(vars_.Number("IN1").value_or(0));
  return ((raw | f1) & ~f0) & 0x1FF;  // forced off wins, as the host shows it
}

int SimDrive::EffectiveOutputs() const {
  int raw = int(vars_.Number("OUT").value_or(0));
  int f0 = int(vars_.Number("OUT0").value_or(0));
  int f1 = int(vars_.Number("OUT1").value_or(0));
  return ((raw | f1) & ~f0) & 0xFFF;
}

void SimDrive::RaiseFault(int code, const std::string& when) {
  if (code < 0 || code > 29) return;
  uint32_t flt = uint32_t(vars_.Number("FLT").value_or(0));
  flt |= 1u << code;
  vars_.SetNumber("FLT", flt);
  reset_needed_ = true;
  FaultRecord r;
  r.faults = 1u << code;
  r.inputs = EffectiveInputs();
  r.outputs = EffectiveOutputs();
  r.velocity = vars_.Number("VEL").value_or(0);
  r.current = vars_.Number("IRA").value_or(0) / 10.0;
  r.step = running_ ? step_ : -1;
  r.text = when;
  AddHistoryRecord(r);
  running_ = paused_ = false;
}

void SimDrive::AddHistoryRecord(const FaultRecord& r) {
  history_.push_front(r);
  while (int(history_.size()) > kFaultHistory) history_.pop_back();
}

void SimDrive::SetFaultText(int code, const std::string& text) {
  if (code >= 0 && code < 30) fault_texts_[code] = text;
}

std::string SimDrive::FaultTextOf(int code) const {
  if (code >= 0 && code < 30) return fault_texts_[code];
  return "Unknown fault";
}

std::string SimDrive::UserVariableSlot(int slot) const {
  if (slot < 0 || slot >= kUserVariableSlots) return "";
  return uv_[slot];
}

bool SimDrive::DefineUserVariable(const std::string& raw) {
  std::string name = rt::UCase(rt::Trim(raw));
  if (name.empty() || name.size() > uv_name_limit_ || !std::isalpha(static_cast<unsigned char>(name[0])))
    return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  if (vars_.Has(name)) return false;
  for (std::string& s : uv_) {
    if (s.empty()) {
      s = name;
      vars_.Set(name, "0");
      return true;
    }
  }
  return false;
}

// ---------- dispatch ----------

Answer SimDrive::Handle(const std::string& data) {
  if (data.empty()) return Silence();
  uint8_t c0 = uint8_t(data[0]);
  Answer a = c0 < 0x20 ? HandleControl(c0, data.substr(1)) : HandleLetter(data);
  // A reply carries at least one byte: an empty text goes out as a blank.
  for (std::string& r : a.replies)
    if (r.empty()) r = " ";
  return a;
}

Answer SimDrive::HandleControl(uint8_t code, const std::string& a) {
  switch (code) {
    case 0x01: return Reply(Identity());
    case 0x02: {
      std::string r(1, char(step_ & 0xFF));
      if (step_on_query_ && running_ && !paused_) NextStep();
      return Reply(r);
    }
    case 0x03:
      if (running_) paused_ = true;
      return Ack();
    case 0x04:
      paused_ = false;
      return Ack();
    case 0x08:
      if (vars_.Number("FLT").value_or(0) != 0) return Nak();
      if (!running_) step_ = FirstStep();  // a program starts at its top
      running_ = true;
      paused_ = false;
      return Ack();
    case 0x09:
      running_ = paused_ = false;
      return Ack();
    case 0x0A:
      NextStep();
      return Ack();
    case 0x0B: case 0x0C: case 0x0D: case 0x0E: case 0x18:
      return HandleCapture(code, a);
    case 0x0F: {
      if (a.size() != 6) return Nak();
      std::array<uint8_t, 6> b{};
      for (int i = 0; i < 6; ++i) {
        b[i] = uint8_t(a[i]);
        if (!ValidBcd(b[i])) return Nak();
      }
      clock_ = b;
      return Ack();
    }
    case 0x10: {
      if (a.empty() || uint8_t(a[0]) > 9) return Nak();
      std::string name = "CONFIG(" + std::to_string(int(uint8_t(a[0]))) + ")";
      auto v = EvaluateText(a.substr(1));
      if (!v) return Nak();
      vars_.SetNumber(name, std::round(*v));
      return Ack();
    }
    case 0x11: {
      if (a.size() != 1) return Silence();
      size_t k = uint8_t(a[0]);
      if (k >= history_.size()) return Reply(" ");
      return Reply(history_[k].ToText());
    }
    case 0x12: case 0x13: case 0x14:
      return HandleMemory(code, a);
    case 0x15: {
      std::string r(kEvents, '\0');
      for (int i = 0; i < kEvents; ++i) r[i] = (event_mask_ >> i) & 1 ? 1 : 0;
      return Reply(r);
    }
    case 0x16:
      ++force_saves_;
      SyncProgramSettingsOut(Buffer::Active);
      programs_.Save(Buffer::Active, kSaveName);
      return Ack();
    case 0x17:
      vars_.Set("FLT", "0");
      vars_.Set("RERR", "0");
      reset_needed_ = false;
      ++resets_;
      return Ack();
    case 0x1B:
      ++estops_;
      running_ = paused_ = false;
      vars_.Set("SWE", "0");
      return Ack();
    case 0x1C:
      ++calibrations_;
      return Ack();
    case 0x1D:
      if (a.empty()) return Nak();
      name_ = a;
      return Ack();
    case 0x1E:
      return Reply(name_.empty() ? " " : name_);
    case 0x1F:
      serial_ = a;
      return Ack();
    default:
      return Silence();
  }
}

int SimDrive::FirstStep() const {
  const Program& p = programs_.Get(Buffer::Active);
  for (int n = 0; n < kProgramLines; ++n)
    if (!p.lines[n].empty()) return n;
  return 0;
}

void SimDrive::NextStep() {
  // On to the next line that holds a step; after the last, back to the first.
  const Program& p = programs_.Get(Buffer::Active);
  for (int n = step_ + 1; n < kProgramLines; ++n)
    if (!p.lines[n].empty()) {
      step_ = n;
      return;
    }
  step_ = FirstStep();
}

Answer SimDrive::HandleInfo(int k, const std::string& text) {
  switch (k) {
    case 1: return Reply(FirmwareText());
    case 2: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d (day %d)", FromBcd(clock_[2]),
                    FromBcd(clock_[3]), FromBcd(clock_[0]), FromBcd(clock_[4]),
                    FromBcd(clock_[5]), FromBcd(clock_[1]));
      return Reply(buf);
    }
    case 3: {
      int used = int(programs_.Library().size());
      return Reply("Free: " + std::to_string(kLibrarySlots - used) + " of " +
                   std::to_string(kLibrarySlots) + " program slots");
    }
    case 4: return Reply(vars_.Has(rt::UCase(rt::Trim(text))) ? "Y" : "N");
    case 5: return Reply(serial_.empty() ? " " : serial_);
    default: return Reply(" ");
  }
}

Answer SimDrive::HandleLetter(const std::string& d) {
  const std::string rest = d.substr(1);
  switch (d[0]) {
    case ':': return ExecCommand(rt::UCase(rest)) ? Ack() : Nak();
    case '=': return Reply(ValueReply(rest));
    case '+': {
      float f = float(EvaluateText(rt::UCase(rt::Trim(rest))).value_or(0));
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      std::string r(4, '\0');
      for (int i = 0; i < 4; ++i) r[i] = char((bits >> (24 - 8 * i)) & 0xFF);
      return Reply(r);
    }
    case 'm': {
      if (rest.empty()) return Silence();
      int k = uint8_t(rest[0]);
      if (k > 1) return Reply(RightAligned("?", 12));
      // A name the drive does not hold yet takes any value once written.
      const VariableTable::Variable* held = vars_.Find(rt::UCase(rt::Trim(rest.substr(1))));
      const VariableTable::Variable v = held ? *held : VariableTable::Variable{};
      return Reply(RightAligned(FormatNumber(k == 0 ? v.min : v.max), 12));
    }
    case 'Q': {
      if (capturing_ && !cap_finished_) {
        if (polls_left_ > 0)
          --polls_left_;
        else
          cap_finished_ = true;
      }
      uint16_t w = StatusWord();
      return Reply(std::string{char(w & 0xFF), char(w >> 8)});
    }
    case 'q': {
      uint16_t w = Status2Word();
      return Reply(std::string{char(w & 0xFF), char(w >> 8)});
    }
    case 'F':
      if (rest.size() == 2 && rest[0] == 'T') {
        return Reply(FaultTextOf(uint8_t(rest[1])));
      }
      return HandleFlash(rest);
    case 'V': return DefineUserVariable(rest) ? Ack() : Nak();
    case 'v': {
      std::string name = rt::UCase(rt::Trim(rest));
      bool found = false;
      for (std::string& s : uv_) {
        if (!s.empty() && (name == "*" || s == name)) {
          vars_.Erase(s);
          s.clear();
          found = true;
        }
      }
      return found || name == "*" ? Ack() : Nak();
    }
    case '}': {
      if (rest.size() != 1) return Silence();
      std::string s = UserVariableSlot(uint8_t(rest[0]));
      return Reply(s.empty() ? " " : s);
    }
    case 'I':
      if (rest.empty()) return Silence();
      return HandleInfo(uint8_t(rest[0]), rest.substr(1));
    case 'R':
      restarts_.push_back(rest);
      Restart();
      return Ack();
    case 'T': {
      if (rest.size() != 1 || uint8_t(rest[0]) >= kEvents) return Silence();
      const std::string& t = events_[uint8_t(rest[0])];
      return Reply(t.empty() ? " " : t);
    }
    case 'Z': return HandleSpecial(rest);
    case 'L': case 'l': case 'E': case 'e': case 'P':
      return HandleProgram(d);
    default:
      return Silence();
  }
}

void SimDrive::Restart() {
  running_ = paused_ = false;
  capturing_ = cap_finished_ = false;
  flash_programming_ = false;
  step_ = 0;
  nv_pending_.reset();
  if (programs_.Find(kSaveName)) {
    programs_.Load(Buffer::Active, kSaveName);
    SyncProgramSettingsIn(Buffer::Active);
  }
}

// ---------- programs ----------

void SimDrive::SyncProgramSettingsOut(Buffer b) {
  Program& p = programs_.Get(b);
  p.ratio = vars_.Text(b == Buffer::Active ? "TR" : "TTR").value_or("1");
  p.units = vars_.Text(b == Buffer::Active ? "UU" : "TUU").value_or("5");
}

void SimDrive::SyncProgramSettingsIn(Buffer b) {
  const Program& p = programs_.Get(b);
  vars_.Set(b == Buffer::Active ? "TR" : "TTR", p.ratio);
  vars_.Set(b == Buffer::Active ? "UU" : "TUU", p.units);
}

Answer SimDrive::HandleProgram(const std::string& d) {
  char c = d[0];
  if (c == 'L' || c == 'l') {
    if (d.size() < 2 || (c == 'L' && d.size() != 2)) return Silence();
    return Reply(programs_.ReadReply(c == 'L' ? Buffer::Active : Buffer::Library, uint8_t(d[1])));
  }
  if (c == 'E' || c == 'e') {
    if (d.size() < 2) return Silence();
    programs_.SetLine(c == 'E' ? Buffer::Active : Buffer::Library, uint8_t(d[1]), d.substr(2));
    return Ack();
  }
  // P commands
  if (d.size() < 2) return Silence();
  std::string name = d.substr(2);
  switch (d[1]) {
    case 'D':
      if (d.size() != 3) return Silence();
      return Reply(programs_.SlotName(uint8_t(d[2])));
    case 'X': return programs_.Delete(name) ? Ack() : Nak();
    case 'L':
    case 'l': {
      Buffer b = d[1] == 'L' ? Buffer::Active : Buffer::Library;
      if (!programs_.Load(b, name)) return Nak();
      SyncProgramSettingsIn(b);
      return Ack();
    }
    case 'S':
    case 's': {
      Buffer b = d[1] == 'S' ? Buffer::Active : Buffer::Library;
      SyncProgramSettingsOut(b);
      return programs_.Save(b, name) ? Ack() : Nak();
    }
    case 'C':
    case 'c': {
      Buffer b = d[1] == 'C' ? Buffer::Active : Buffer::Library;
      programs_.Clear(b);
      SyncProgramSettingsIn(b);
      return Ack();
    }
    default: return Silence();
  }
}

// ---------- capture ----------

std::string SimDrive::CaptureBlock(int block) const {
  if (block < 0 || block > 1) return "";
  if (!cap_override_[block].empty()) return cap_override_[block];
  std::string s(kCaptureBlock, '\0');
  int channel = cap_settings_[1 + block];
  double cycles = 1 + channel % 4;
  double amp = 40 + 20 * (channel % 4);
  for (int k = 0; k < kCaptureBlock; ++k)
    s[k] = char(std::lround(128 + amp * std::sin(2 * kPi * cycles * k / kCaptureBlock +
                                                block * kPi / 2)));
  return s;
}

void SimDrive::SetCaptureBlock(int block, const std::string& bytes) {
  if (block < 0 || block > 1) return;
  std::string b = bytes;
  b.resize(kCaptureBlock, '\0');
  cap_override_[block] = b;
}

std::string SimDrive::ScaleText(int trace) const {
  if (trace >= 0 && trace <= 1 && !scale_override_[trace].empty()) return scale_override_[trace];
  int channel = trace >= 0 && trace <= 1 ? cap_settings_[1 + trace] : 0;
  double scale = 1.0 + 0.25 * (channel % 8);
  return FormatNumber(scale) + "," + FormatNumber(-128.0 / scale);
}

Answer SimDrive::HandleCapture(uint8_t code, const std::string& a) {
  switch (code) {
    case 0x0B:
    case 0x18:
      if (a.size() != 3) return Nak();
      for (int i = 0; i < 3; ++i) cap_settings_[i] = uint8_t(a[i]);
      cap_trigger_ = code == 0x18;
      capturing_ = true;
      cap_finished_ = capture_polls_ <= 0;
      polls_left_ = capture_polls_;
      return Ack();
    case 0x0E:
      capturing_ = cap_finished_ = false;
      return Ack();
    case 0x0D:
      if (a.size() != 1 || uint8_t(a[0]) > 1) return Silence();
      return Reply(CaptureBlock(uint8_t(a[0])));
    case 0x0C: {
      if (a.size() != 1) return Silence();
      int trace = uint8_t(a[0]);
      int channel = trace <= 1 ? cap_settings_[1 + trace] : 0;
      return Reply(std::string(1, char(channel + 1)) + ScaleText(trace));
    }
  }
  return Silence();
}

// ---------- memory, flash, specials ----------

namespace {
std::optional<int> DecimalAddress(const std::string& s) {
  if (s.empty() || s.size() > 7) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}
}  // namespace

std::vector<uint8_t>& SimDrive::Memory() {
  if (nv_.empty()) nv_ = *nv_start_;
  return nv_;
}

Answer SimDrive::HandleMemory(uint8_t code, const std::string& a) {
  if (code == 0x12) {
    auto addr = DecimalAddress(a);
    if (!addr || *addr + kNvBlock > kNvSize) return Nak();
    const std::vector<uint8_t>& nv = std::as_const(*this).Memory();
    return Reply(std::string(nv.begin() + *addr, nv.begin() + *addr + kNvBlock));
  }
  if (code == 0x13) {
    auto addr = DecimalAddress(a);
    if (!addr || *addr >= kNvSize) return Nak();
    nv_pending_ = *addr;
    return Ack();
  }
  // 0x14: the data for the address announced before.
  if (!nv_pending_ || a.empty() || *nv_pending_ + int(a.size()) > kNvSize) return Nak();
  std::memcpy(Memory().data() + *nv_pending_, a.data(), a.size());
  nv_pending_.reset();
  return Ack();
}

Answer SimDrive::HandleFlash(const std::string& a) {
  // A refusal is silence: the host only knows an acknowledgement or none.
  if (a == "S") {
    ++flash_starts_;
    flash_programming_ = true;
    flash_new_.clear();
    return Ack();
  }
  if (!a.empty() && a[0] == 'D') {
    if (!flash_programming_ || a.size() != 1 + kNvBlock) return Silence();
    flash_new_.insert(flash_new_.end(), a.begin() + 1, a.end());
    return Ack();
  }
  if (a == "E") {
    ++flash_ends_;
    if (flash_programming_) flash_image_ = flash_new_;
    flash_programming_ = false;
    return Ack();
  }
  return Silence();
}

Answer SimDrive::HandleSpecial(const std::string& a) {
  specials_.push_back(a);
  if (a == "C") {
    Answer ans;
    ans.pauseMs = special_pause_ms_;
    std::string data = special_;
    data.resize(kSpecialBlocks * kSpecialBlock, '\0');
    for (int i = 0; i < kSpecialBlocks; ++i)
      ans.replies.push_back(data.substr(size_t(i) * kSpecialBlock, kSpecialBlock));
    return ans;
  }
  if (a == "D") {
    // Initialise: programs, parameters, events and user variables go; the
    // factory configuration words and the serial number stay. The drive
    // restarts and says nothing.
    std::array<std::string, 10> config;
    for (int i = 0; i < 10; ++i)
      config[i] = vars_.Text("CONFIG(" + std::to_string(i) + ")").value_or("0");
    Initialise();
    for (int i = 0; i < 10; ++i) vars_.Set("CONFIG(" + std::to_string(i) + ")", config[i]);
    return Silence();
  }
  if (a == "A") {
    ++calibrations_;
    return Ack();
  }
  if (a == "B") {
    history_.clear();
    return Ack();
  }
  return Nak();
}

// ---------- text mode ----------

std::vector<std::string> SimDrive::HandleText(const std::string& text) {
  std::string t = rt::UCase(rt::Trim(text));
  if (t.empty()) return {"?"};
  if (t == "WHO") return {FamilyCode(family_) + " " + model_, name_};
  if (t.find('=') != std::string::npos && t.find_first_of("<>!") == std::string::npos) {
    return {ExecCommand(t) ? "OK" : "ERROR"};
  }
  if (t[0] == '!') return {ExecCommand(t) ? "OK" : "ERROR"};
  auto v = EvaluateText(t);
  if (!v) return {"?"};
  return {FormatNumber(*v)};
}

}  // namespace talvero::sim
