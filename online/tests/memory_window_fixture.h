#pragma once
// The main window on the in-memory line with the memory and firmware
// commands installed, drive 1 selected, and a status timer stand-in: every
// 50th pending-events step runs the tick while TStat is on, and the tick asks
// the selected drive for its two status words as the drive panel does.
#include <QTimer>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "mainwin/tests/sim_window_fixture.h"
#include "online/memory_and_firmware.h"

class MemoryWindowTest : public SimWindowTest {
 protected:
  void Install(MainWin& w) override { online::InstallMemoryAndFirmware(w); }

  // Loaded, on line, drive 1 selected.
  void StartWithDrives() {
    ASSERT_TRUE(StartOnLine());
    win->TStatTickHook = [this]() {
      if (win->AxisSelected && !win->AppSelected && win->CurNode > 0) {
        win->Link.Status(win->CurNode);
        win->Link.Status2(win->CurNode);
      }
    };
    pump = [this]() {
      if (++pumps % 50 == 0 && win->TStat->isActive()) win->TStat_Timer();
      if (each) each();
    };
    Click("#1");
    sim.ClearLog();
    clock.ClearSleeps();
  }

  std::string Path(const std::string& name) const { return (dir.path() + "/" + QString::fromStdString(name)).toStdString(); }
  static std::string Random(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = char(rng() & 0xFF);
    return s;
  }
  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Memory(int node) {
    const std::vector<uint8_t>& m = sim.Drive(node).Memory();
    return std::string(m.begin(), m.end());
  }
  // The data of node's requests that begin with prefix, in order.
  std::vector<std::string> Sent(int node, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& d : sim.Requests(node))
      if (d.compare(0, prefix.size(), prefix) == 0) out.push_back(d);
    return out;
  }
  // The first byte of every request on the line, in order (one letter each).
  std::string Codes() {
    std::string s;
    for (const auto& r : sim.Log())
      if (!r.data.empty()) s.push_back(r.data[0]);
    return s;
  }

  int pumps = 0;
  std::function<void()> each;  // runs at every pending-events step
};
