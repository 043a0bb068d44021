#pragma once
// The window's line for the slow memory and firmware runs: node 1 through the
// window's own link, every other node empty without a word on the line, so
// the searches around the measured work (at start-up, and the refresh after
// a restore or an upload) take no time of their own.
#include <memory>
#include <string>

#include "link/isp.h"
#include "mainwin/isp_line.h"

namespace online::testing {

class OneDriveLine : public DriveLine {
 public:
  void Attach(ISP& link) { inner_ = std::make_unique<IspLine>(link); }
  void SetLinkSettings(const mainwin::LinkSettings& s) override { inner_->SetLinkSettings(s); }
  void OpenPort(int port) override { inner_->OpenPort(port); }
  long theHandle() override { return inner_->theHandle(); }
  std::string OpenFailure() override { return inner_->OpenFailure(); }
  bool CheckForNodalDrives() override { return inner_->CheckForNodalDrives(); }
  void ClosePort() override { inner_->ClosePort(); }
  bool ProbePort(int port) override { return inner_->ProbePort(port); }
  std::string WhoAmI(int node) override { return node == 1 ? inner_->WhoAmI(node) : ""; }
  std::string GetDriveName(int node) override { return inner_->GetDriveName(node); }
  std::string GetSerial(int node) override { return inner_->GetSerial(node); }
  std::string Info(int node, int which) override { return inner_->Info(node, which); }
  std::string GetPgmName(int node, int slot) override { return inner_->GetPgmName(node, slot); }

 private:
  std::unique_ptr<IspLine> inner_;
};

}  // namespace online::testing
