#pragma once
// Lines for the slow memory and firmware runs and the benchmarks, on the
// window's own link: AttachedLine passes every call to the link attached
// once the window has one; OneDriveLine answers for node 1 only, every other
// node empty without a word on the line, so the searches around the measured
// work (at start-up, and the refresh after a restore or an upload) take no
// time of their own.
#include <memory>
#include <string>

#include "link/isp.h"
#include "mainwin/isp_line.h"

namespace online::testing {

class AttachedLine : public DriveLine {
 public:
  void Attach(ISP& link) { inner_ = std::make_unique<IspLine>(link); }
  void SetLinkSettings(const mainwin::LinkSettings& s) override { inner_->SetLinkSettings(s); }
  void OpenPort(int port) override { inner_->OpenPort(port); }
  long theHandle() override { return inner_->theHandle(); }
  std::string OpenFailure() override { return inner_->OpenFailure(); }
  bool CheckForNodalDrives() override { return inner_->CheckForNodalDrives(); }
  void ClosePort() override { inner_->ClosePort(); }
  bool ProbePort(int port) override { return inner_->ProbePort(port); }
  std::string WhoAmI(int node) override { return inner_->WhoAmI(node); }
  std::string GetDriveName(int node) override { return inner_->GetDriveName(node); }
  std::string GetSerial(int node) override { return inner_->GetSerial(node); }
  std::string Info(int node, int which) override { return inner_->Info(node, which); }
  std::string GetPgmName(int node, int slot) override { return inner_->GetPgmName(node, slot); }

 private:
  std::unique_ptr<IspLine> inner_;
};

class OneDriveLine : public AttachedLine {
 public:
  std::string WhoAmI(int node) override { return node == 1 ? AttachedLine::WhoAmI(node) : ""; }
};

// The window's link with short time-outs for the search at start, so the
// line's empty nodes do not hold a benchmark up; retries 0 keeps the link's.
class FastSearchLine : public AttachedLine {
 public:
  FastSearchLine(int firstByteMs, int nextByteMs, int retries = 0)
      : first_(firstByteMs), next_(nextByteMs), retries_(retries) {}
  void SetLinkSettings(const mainwin::LinkSettings& s) override {
    mainwin::LinkSettings fast = s;
    fast.firstByteTimeout = first_;
    fast.nextByteTimeout = next_;
    if (retries_ > 0) fast.retries = retries_;
    AttachedLine::SetLinkSettings(fast);
  }

 private:
  int first_, next_, retries_;
};

}  // namespace online::testing
