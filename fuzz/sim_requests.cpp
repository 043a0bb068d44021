// The simulated drives, which serve scripts/run: arbitrary bytes on their
// line never crash them, and every packet they answer is a valid frame that
// carries the request's sequence number.
#include <string>

#include "fuzz/fuzz_target.h"
#include "sim/sim_line.h"

namespace {

bool ValidFrame(const std::string& f, uint8_t sequence) {
  if (f.size() < 5 || uint8_t(f[0]) != 0x5B || uint8_t(f[1]) != sequence) return false;
  const size_t len = uint8_t(f[2]);
  if (len == 0 || f.size() != len + 4) return false;
  uint8_t sum = 0;
  for (size_t i = 0; i < len; ++i) sum = uint8_t(sum + uint8_t(f[3 + i]));
  return sum == uint8_t(f.back());
}

}  // namespace

TALVERO_FUZZ_TARGET(sim_requests) {
  using talvero::sim::Family;
  talvero::sim::SimLine line;
  line.AddDrive(1, Family::RHO);
  line.AddDrive(2, Family::TAU);
  line.AddDrive(3, Family::PHI);
  line.AddDrive(4, Family::PSI);
  for (size_t i = 0; i < size; ++i) {
    const std::vector<talvero::sim::Output> out = line.Feed(std::string(1, char(data[i])));
    if (out.empty()) continue;
    // Only an answered request has output; it is the last one logged.
    const std::vector<talvero::sim::LoggedRequest> log = line.Log();
    if (log.empty()) continue;
    const talvero::sim::LoggedRequest& r = log.back();
    if (r.text) continue;  // a terminal line answers text
    for (const talvero::sim::Output& o : out)
      FUZZ_CHECK(ValidFrame(o.bytes, r.sequence), "an answer that is not a valid frame");
  }
  return 0;
}
