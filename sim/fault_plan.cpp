#include "sim/fault_plan.h"

namespace talvero::sim {

AppliedFaults FaultPlan::Match(int node, const std::string& data, int64_t nowMs) {
  AppliedFaults f;
  for (FaultRule& r : rules_) {
    if (r.count == 0) continue;
    if (r.node != 0 && r.node != node) continue;
    if (!r.command.empty() && data.compare(0, r.command.size(), r.command) != 0) continue;
    if (r.after > 0) {
      --r.after;
      continue;
    }
    if (r.startedMs < 0) r.startedMs = nowMs;
    if (r.forMs >= 0 && nowMs - r.startedMs >= r.forMs) {
      r.count = 0;  // its time is over
      continue;
    }
    if (r.count > 0) --r.count;
    switch (r.kind) {
      case FaultKind::Silence: f.silent = true; break;
      case FaultKind::MissingReply:
        if (r.reply < 0)
          f.silent = true;
        else if (f.cutAtReply < 0 || r.reply < f.cutAtReply)
          f.cutAtReply = r.reply;
        break;
      case FaultKind::Delay: f.delayMs += r.delayMs; break;
      case FaultKind::Babble: f.noise += r.noise; break;
      default: f.byteFaults.push_back(r); break;
    }
  }
  return f;
}

std::string FaultPlan::Damage(const AppliedFaults& f, int i, std::string framed) {
  for (const FaultRule& r : f.byteFaults) {
    if (r.reply >= 0 && i < r.reply) continue;
    if (framed.size() < 4) continue;
    switch (r.kind) {
      case FaultKind::BadChecksum: framed.back() = char(uint8_t(framed.back()) + 1); break;
      case FaultKind::WrongSequence: {
        uint8_t s = uint8_t(framed[1]);
        framed[1] = char(s == 32 ? 64 : s == 0 ? 255 : s - 1);
        break;
      }
      case FaultKind::ShortReply: framed.pop_back(); break;
      case FaultKind::CorruptBytes: {
        std::uniform_real_distribution<double> p(0, 1);
        std::uniform_int_distribution<int> x(1, 255);
        for (char& c : framed)
          if (p(rng_) < r.rate) c = char(uint8_t(c) ^ uint8_t(x(rng_)));
        break;
      }
      case FaultKind::DropBytes: {
        std::uniform_real_distribution<double> p(0, 1);
        std::string kept;
        for (char c : framed)
          if (p(rng_) >= r.rate) kept += c;
        framed = kept;
        break;
      }
      default: break;
    }
  }
  return framed;
}

std::string FaultPlan::Noise(int n) {
  std::uniform_int_distribution<int> x(0, 254);
  std::string s;
  for (int i = 0; i < n; ++i) {
    int b = x(rng_);
    s += char(b >= '[' ? b + 1 : b);
  }
  return s;
}

}  // namespace talvero::sim
