#pragma once
// Serves a SimLine on a pseudo-terminal from a background thread. The host
// opens SlavePath() as if it were a serial port.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "sim/sim_line.h"

namespace talvero::sim {

struct PtyOptions {
  // Pace bytes at the line's rate: 10 bits a byte at baud bits per second,
  // both ways (a request is handled when its last byte would have arrived).
  bool paced = false;
  int baud = 19200;
  // A frame with no byte for this long is dropped.
  int frameGapMs = 100;
};

class PtyServer {
 public:
  explicit PtyServer(SimLine& line) : line_(line) {}
  ~PtyServer() { Stop(); }
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens the pseudo-terminal and starts serving; false with Error() on failure.
  bool Start(const PtyOptions& options = {});
  void Stop();
  bool Running() const { return thread_.joinable(); }
  const std::string& SlavePath() const { return slave_path_; }
  const std::string& Error() const { return error_; }
  SimLine& Line() { return line_; }

  void SetPaced(bool paced) { paced_ = paced; }
  // Microseconds one byte takes on the wire.
  static double ByteTimeUs(int baud) { return 10.0 * 1e6 / baud; }
  uint64_t BytesIn() const { return bytes_in_; }
  uint64_t BytesOut() const { return bytes_out_; }

 private:
  void Serve();
  bool WaitMs(int ms);  // false when asked to stop
  void WriteAll(const std::string& bytes);

  SimLine& line_;
  PtyOptions options_;
  int master_ = -1;
  int wake_[2] = {-1, -1};
  std::string slave_path_;
  std::string error_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> paced_{false};
  std::atomic<uint64_t> bytes_in_{0};
  std::atomic<uint64_t> bytes_out_{0};
  // Wire time of the last byte in each direction (paced mode), steady clock µs.
  int64_t wire_in_us_ = 0;
  int64_t wire_out_us_ = 0;
};

}  // namespace talvero::sim
