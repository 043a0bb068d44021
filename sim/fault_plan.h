#pragma once
// Faults injected into the simulated line, per node and per command.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace talvero::sim {

enum class FaultKind {
  Silence,        // the node answers nothing at all
  MissingReply,   // the request is lost: not acted on, not answered
  BadChecksum,    // the reply's checksum byte is one off
  WrongSequence,  // the reply carries the sequence number of the request before
  ShortReply,     // the reply's last byte is not sent
  CorruptBytes,   // each reply byte is altered with probability rate
  DropBytes,      // each reply byte is lost with probability rate
  Delay,          // the reply comes delayMs late
  Babble,         // noise bytes follow the reply: a line that does not go quiet
};

struct FaultRule {
  FaultKind kind = FaultKind::Silence;
  int node = 0;             // 0 = every node
  std::string command;      // request data must start with it; "" = any request
  int count = -1;           // how many matching requests it hits; -1 = all
  double rate = 0;          // CorruptBytes, DropBytes
  int delayMs = 0;          // Delay
  int noise = 0;            // Babble: how many bytes of noise
  int reply = -1;           // for answers of many replies: from this reply on (-1 = all);
                            // MissingReply with a reply index ends the answer there
  int after = 0;            // matching requests let through before the rule applies
  int forMs = -1;           // once it applies, for how long (line time); -1 = for good
  int64_t startedMs = -1;   // when it first applied

  static FaultRule Kind(FaultKind kind, int node, std::string cmd = "", int k = -1) {
    FaultRule r;
    r.kind = kind;
    r.node = node;
    r.command = std::move(cmd);
    r.count = k;
    return r;
  }
  static FaultRule Silent(int node) { return Kind(FaultKind::Silence, node); }
  // Silent from its (n+1)-th request on, for ms milliseconds (-1: for good).
  static FaultRule SilentFrom(int node, int n, int ms = -1) {
    FaultRule r = Kind(FaultKind::Silence, node);
    r.after = n;
    r.forMs = ms;
    return r;
  }
  static FaultRule Missing(int node, std::string cmd, int k) {
    return Kind(FaultKind::MissingReply, node, std::move(cmd), k);
  }
  static FaultRule Rate(FaultKind kind, int node, double rate, std::string cmd = "") {
    FaultRule r = Kind(kind, node, std::move(cmd));
    r.rate = rate;
    return r;
  }
  static FaultRule Babbling(int node, int bytes, std::string cmd = "", int k = -1) {
    FaultRule r = Kind(FaultKind::Babble, node, std::move(cmd), k);
    r.noise = bytes;
    return r;
  }
  static FaultRule Delayed(int node, int ms, std::string cmd = "", int k = -1) {
    FaultRule r = Kind(FaultKind::Delay, node, std::move(cmd), k);
    r.delayMs = ms;
    return r;
  }
};

// The faults that apply to one request, drawn from the plan.
struct AppliedFaults {
  bool silent = false;      // request ignored
  int cutAtReply = -1;      // replies from this index on are not sent
  int delayMs = 0;
  int noise = 0;
  std::vector<FaultRule> byteFaults;  // the rules that alter reply bytes
};

class FaultPlan {
 public:
  void Add(const FaultRule& r) { rules_.push_back(r); }
  void Clear() { rules_.clear(); }
  void Seed(uint32_t seed) { rng_.seed(seed); }
  bool Empty() const { return rules_.empty(); }

  // Matches the rules against one request at line time nowMs and uses up
  // their counts.
  AppliedFaults Match(int node, const std::string& data, int64_t nowMs = 0);
  // Frames one reply (index i of the answer) through the faults that hit it.
  std::string Damage(const AppliedFaults& f, int replyIndex, std::string framed);
  // Bytes that never form a reply: no "[" among them.
  std::string Noise(int n);

 private:
  std::vector<FaultRule> rules_;
  std::mt19937 rng_{12345};
};

}  // namespace talvero::sim
