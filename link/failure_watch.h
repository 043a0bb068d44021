#pragma once
// Tells a failed link operation from a real answer. The link answers a
// failure with "", "0" or False, which are also real values; only its
// running failure tally tells them apart.
//
//   FailureWatch watch(link);
//   std::string v = link.ValueOf(node, "PPG");
//   if (watch.Failed()) ... the drive did not answer ...
#include <cstdint>
#include <string>

#include "link/isp.h"

class FailureWatch {
 public:
  explicit FailureWatch(const ISP& link) : link_(link), before_(link.FailedOperations) {}
  // Whether any operation since the watch was made (or last re-armed) failed.
  bool Failed() const { return link_.FailedOperations != before_; }
  // How many failed since then.
  uint64_t Failures() const { return link_.FailedOperations - before_; }
  void Rearm() { before_ = link_.FailedOperations; }

 private:
  const ISP& link_;
  uint64_t before_;
};

// The head of a message about a failed request: "Node n did not answer; ", or
// "Node n gave no valid answer; " when bytes came back but no valid reply.
inline std::string NotAnsweredHead(int node, bool damaged) {
  return "Node " + std::to_string(node) + (damaged ? " gave no valid answer; " : " did not answer; ");
}
