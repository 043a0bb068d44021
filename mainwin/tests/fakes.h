#pragma once
// A line of drives and a settings store in memory, for the window tests.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "mainwin/drive_line.h"

struct FakeDrive {
  std::string identity;  // "!TAU..." as the drive answers
  std::string name, serial, info;
  std::vector<std::string> library;
};

class FakeLine : public DriveLine {
 public:
  std::set<int> probeable{1};
  std::set<int> openable{1};
  std::string failure = "The port is in use by another program.";
  std::string probeFailure;  // why a port outside probeable fails its probe
  std::map<int, FakeDrive> drives;
  bool lineOk = true;
  std::function<void(int node)> onWhoAmI;

  mainwin::LinkSettings settings;
  std::vector<int> opened;  // every OpenPort call
  std::vector<int> probed;
  std::vector<int> asked;   // WhoAmI nodes
  int closes = 0;
  int lineChecks = 0;
  long handle = 0;

  void SetLinkSettings(const mainwin::LinkSettings& s) override { settings = s; }
  void OpenPort(int port) override {
    opened.push_back(port);
    handle = port > 0 && openable.count(port) ? 100 + port : 0;
  }
  long theHandle() override { return handle; }
  std::string OpenFailure() override { return handle > 0 ? "" : failure; }
  bool CheckForNodalDrives() override {
    ++lineChecks;
    return lineOk;
  }
  void ClosePort() override {
    ++closes;
    handle = 0;
  }
  bool ProbePort(int port) override {
    probed.push_back(port);
    return probeable.count(port) != 0;
  }
  std::string ProbeFailure() override { return probeFailure; }
  std::string WhoAmI(int node) override {
    asked.push_back(node);
    if (onWhoAmI) onWhoAmI(node);
    auto it = drives.find(node);
    return handle > 0 && it != drives.end() ? it->second.identity : "";
  }
  std::string GetDriveName(int node) override { return drives[node].name; }
  std::string GetSerial(int node) override { return drives[node].serial; }
  std::string Info(int node, int) override { return drives[node].info; }
  std::string GetPgmName(int node, int slot) override {
    const auto& lib = drives[node].library;
    return slot < int(lib.size()) ? lib[slot] : "~~~~~~~~";
  }
  // Running state per node; a node missing here does not answer.
  std::map<int, bool> running;
  std::optional<bool> Running(int node) override {
    auto it = running.find(node);
    if (it == running.end()) return std::nullopt;
    return it->second;
  }
  std::vector<std::string> libraryCalls;  // "load HOME", "save NEW", "delete HOME"
  bool LoadTEB(int, const std::string& name) override {
    libraryCalls.push_back("load " + name);
    return true;
  }
  bool SaveTEB(int, const std::string& name) override {
    libraryCalls.push_back("save " + name);
    return true;
  }
  bool DeletePgm(int, const std::string& name) override {
    libraryCalls.push_back("delete " + name);
    return true;
  }
};

struct MapSettings {
  std::map<std::string, std::string> values;  // "Section/Key"
  int writes = 0;
  mainwin::SettingsIO io() {
    return {[this](const std::string& s, const std::string& k, const std::string& def) {
              auto it = values.find(s + "/" + k);
              return it == values.end() ? def : it->second;
            },
            [this](const std::string& s, const std::string& k, const std::string& v) {
              ++writes;
              values[s + "/" + k] = v;
            }};
  }
};
