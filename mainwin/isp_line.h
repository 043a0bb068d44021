#pragma once
// The main window's view of the program's link.
#include "link/isp.h"
#include "mainwin/drive_line.h"

class IspLine : public DriveLine {
 public:
  explicit IspLine(ISP& link) : link_(link) {}
  void SetLinkSettings(const mainwin::LinkSettings& s) override;
  void OpenPort(int port) override { link_.OpenPort(int16_t(port)); }
  long theHandle() override { return link_.theHandle(); }
  std::string OpenFailure() override;
  bool CheckForNodalDrives() override { return link_.CheckForNodalDrives(); }
  void ClosePort() override { link_.ClosePort(); }
  bool ProbePort(int port) override;
  std::string ProbeFailure() override { return probeFailure_; }
  std::string WhoAmI(int node) override { return link_.WhoAmI(node); }
  std::string Identify(int node, const std::function<bool()>& stop) override { return link_.WhoAmI(node, stop); }
  bool LastReplyDamaged() override { return link_.LastReplyDamaged; }
  std::string GetDriveName(int node) override { return link_.GetDriveName(node); }
  std::string GetSerial(int node) override { return link_.GetSerial(node); }
  std::string Info(int node, int which) override { return link_.Info(node, uint8_t(which), ""); }
  std::string GetPgmName(int node, int slot) override { return link_.GetPgmName(node, uint8_t(slot)); }
  std::optional<bool> Running(int node) override;
  bool LoadTEB(int node, const std::string& name) override { return link_.LoadTEB(node, name); }
  bool SaveTEB(int node, const std::string& name) override { return link_.SaveTEB(node, name); }
  bool DeletePgm(int node, const std::string& name) override { return link_.DeletePgm(node, name); }

 private:
  ISP& link_;
  std::string probeFailure_;
};
