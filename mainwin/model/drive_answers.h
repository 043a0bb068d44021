#pragma once
// Which drives the window finds silent, shared by the status tick and every
// read a click starts. A drive that fails a request is sent nothing more in
// that pass (a tick, a refresh), and while it stays silent each pass gives it
// one try; its first answer makes it a drive that answers again.
#include <bitset>

namespace talvero {

class DriveAnswers {
 public:
  void BeginPass() { failedThisPass_.reset(); }
  // A tree click is one pass: what its view found silent, the click's own
  // status read does not ask again.
  void HoldPass(bool held) { held_ = held; }
  bool PassHeld() const { return held_; }
  bool Silent(int node) const { return In(node) && silent_[size_t(node)]; }
  bool FailedThisPass(int node) const { return In(node) && failedThisPass_[size_t(node)]; }
  void Answered(int node) {
    if (In(node)) silent_[size_t(node)] = false;
  }
  void Failed(int node) {
    if (!In(node)) return;
    silent_[size_t(node)] = true;
    failedThisPass_[size_t(node)] = true;
  }

 private:
  static bool In(int node) { return node >= 0 && node < 256; }
  std::bitset<256> silent_, failedThisPass_;
  bool held_ = false;
};

}  // namespace talvero
