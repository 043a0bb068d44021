#pragma once
// A serial line of simulated drives: bytes from the host in, the drives'
// bytes out. Thread-safe, so a server thread can feed it while a test reads
// and sets drive state.
//
//   SimLine line;
//   line.AddDrive(1, Family::RHO);
//   line.AddDrive(4, Family::TAU);
//   line.AddDrive(31, Family::PSI);
//   PtyServer server(line);                    // sim/pty_server.h
//   server.Start({.paced = false});            // server.SlavePath() is the port
//   line.AddFault(FaultRule::Missing(4, "FS", 2));                  // two starts lost
//   line.AddFault(FaultRule::Rate(FaultKind::CorruptBytes, 0, 0.02)); // every node
//   ... the host talks to the line ...
//   line.With(4, [](SimDrive& d) { return d.ProgramLine(Buffer::Active, 3); });
//   line.Requests(4);                          // the data of every packet node 4 got
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/drive_family.h"
#include "sim/drive_framing.h"
#include "sim/fault_plan.h"
#include "sim/sim_drive.h"

namespace talvero::sim {

// What the line answers as a whole: packet-mode drives, a modem (echoes and
// answers "OK" to an "AT" line), or a drive set to node 0 (echoes everything).
enum class LineMode { Drives, Modem, NodeZero };

struct LoggedRequest {
  int node = 0;
  uint8_t sequence = 0;
  std::string data;      // packet data, or the text of a terminal line
  bool text = false;     // a terminal line "[NN]..."
  bool answered = false;
};

// Bytes to write after a pause.
struct Output {
  int delayMs = 0;
  std::string bytes;
};

class SimLine {
 public:
  // Adds (or replaces) the drive at a node (1..31).
  SimDrive& AddDrive(int node, Family family);
  void RemoveDrive(int node);
  bool HasDrive(int node) const;
  std::vector<int> Nodes() const;

  // Unlocked access: for set-up, and for reads while the host is between
  // requests. Use With() while a server may be answering.
  SimDrive& Drive(int node);  // the node must hold a drive
  SimDrive* Find(int node);   // nullptr when it holds none
  template <class F>
  auto With(int node, F&& f) {
    std::lock_guard<std::mutex> lock(mu_);
    return f(*drives_.at(node));
  }

  void SetMode(LineMode m);
  LineMode Mode() const;

  // The line's time for faults that last a while: the steady clock unless set.
  void SetClock(std::function<int64_t()> nowMs);
  void AddFault(const FaultRule& rule);
  void ClearFaults();
  void SeedFaults(uint32_t seed);

  // Processes bytes from the host; returns what the line sends back.
  std::vector<Output> Feed(const std::string& bytes);
  // Drops a frame cut off mid-way; the server calls it when the line goes quiet.
  void ResetFraming();
  bool InFrame() const;

  std::vector<LoggedRequest> Log() const;
  // The data of the packets a node was sent, oldest first.
  std::vector<std::string> Requests(int node) const;
  void ClearLog();

 private:
  void HandleRequest(const Request& r, std::vector<Output>& out);
  int64_t NowMs() const;

  mutable std::mutex mu_;
  std::map<int, std::unique_ptr<SimDrive>> drives_;
  LineMode mode_ = LineMode::Drives;
  RequestDecoder decoder_;
  FaultPlan faults_;
  std::vector<LoggedRequest> log_;
  std::string modem_line_;
  std::function<int64_t()> clock_;
};

}  // namespace talvero::sim
