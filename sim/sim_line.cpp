#include "sim/sim_line.h"

#include <chrono>

namespace talvero::sim {

int64_t SimLine::NowMs() const {
  if (clock_) return clock_();
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SimLine::SetClock(std::function<int64_t()> nowMs) {
  std::lock_guard<std::mutex> lock(mu_);
  clock_ = std::move(nowMs);
}

SimDrive& SimLine::AddDrive(int node, Family family) {
  std::lock_guard<std::mutex> lock(mu_);
  auto& slot = drives_[node];
  slot = std::make_unique<SimDrive>(node, family);
  return *slot;
}

void SimLine::RemoveDrive(int node) {
  std::lock_guard<std::mutex> lock(mu_);
  drives_.erase(node);
}

bool SimLine::HasDrive(int node) const {
  std::lock_guard<std::mutex> lock(mu_);
  return drives_.count(node) != 0;
}

std::vector<int> SimLine::Nodes() const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<int> n;
  for (const auto& [node, d] : drives_) n.push_back(node);
  return n;
}

SimDrive& SimLine::Drive(int node) {
  std::lock_guard<std::mutex> lock(mu_);
  return *drives_.at(node);
}

SimDrive* SimLine::Find(int node) {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = drives_.find(node);
  return it == drives_.end() ? nullptr : it->second.get();
}

void SimLine::SetMode(LineMode m) {
  std::lock_guard<std::mutex> lock(mu_);
  mode_ = m;
  modem_line_.clear();
}

LineMode SimLine::Mode() const {
  std::lock_guard<std::mutex> lock(mu_);
  return mode_;
}

void SimLine::AddFault(const FaultRule& rule) {
  std::lock_guard<std::mutex> lock(mu_);
  faults_.Add(rule);
}

void SimLine::ClearFaults() {
  std::lock_guard<std::mutex> lock(mu_);
  faults_.Clear();
}

void SimLine::SeedFaults(uint32_t seed) {
  std::lock_guard<std::mutex> lock(mu_);
  faults_.Seed(seed);
}

void SimLine::ResetFraming() {
  std::lock_guard<std::mutex> lock(mu_);
  decoder_.Reset();
}

bool SimLine::InFrame() const {
  std::lock_guard<std::mutex> lock(mu_);
  return decoder_.InFrame();
}

std::vector<LoggedRequest> SimLine::Log() const {
  std::lock_guard<std::mutex> lock(mu_);
  return log_;
}

std::vector<std::string> SimLine::Requests(int node) const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<std::string> r;
  for (const LoggedRequest& l : log_)
    if (l.node == node && !l.text) r.push_back(l.data);
  return r;
}

void SimLine::ClearLog() {
  std::lock_guard<std::mutex> lock(mu_);
  log_.clear();
}

std::vector<Output> SimLine::Feed(const std::string& bytes) {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<Output> out;
  if (mode_ != LineMode::Drives) {
    out.push_back(Output{0, bytes});  // both echo
    if (mode_ == LineMode::Modem) {
      for (char c : bytes) {
        if (c == '\r') {
          if (modem_line_.find("AT") != std::string::npos) out.push_back(Output{0, "\r\nOK\r\n"});
          modem_line_.clear();
        } else if (modem_line_.size() < 256) {
          modem_line_ += c;
        }
      }
    }
    return out;
  }
  for (char c : bytes)
    if (auto r = decoder_.Feed(uint8_t(c))) HandleRequest(*r, out);
  return out;
}

void SimLine::HandleRequest(const Request& r, std::vector<Output>& out) {
  LoggedRequest entry{r.node, r.sequence, r.data, r.kind == Request::Kind::Text, false};
  auto it = drives_.find(r.node);
  // A frame with a bad checksum, or for a node nobody holds, goes unanswered.
  if (!r.checksumOk || it == drives_.end()) {
    log_.push_back(entry);
    return;
  }
  AppliedFaults f = faults_.Match(r.node, r.data, NowMs());
  if (f.silent) {
    log_.push_back(entry);
    return;
  }
  SimDrive& d = *it->second;
  if (r.kind == Request::Kind::Text) {
    std::string text;
    for (const std::string& line : d.HandleText(r.data)) text += line + d.TextLineEnd();
    entry.answered = true;
    log_.push_back(entry);
    out.push_back(Output{f.delayMs, text});
    return;
  }
  Answer a = d.Handle(r.data);
  int n = int(a.replies.size());
  if (f.cutAtReply >= 0 && f.cutAtReply < n) n = f.cutAtReply;
  entry.answered = n > 0;
  log_.push_back(entry);
  for (int i = 0; i < n; ++i) {
    std::string framed = faults_.Damage(f, i, EncodeReply(r.sequence, a.replies[size_t(i)]));
    out.push_back(Output{i == 0 ? f.delayMs + a.pauseMs : 0, framed});
  }
  if (f.noise > 0) out.push_back(Output{0, faults_.Noise(f.noise)});
}

}  // namespace talvero::sim
