#pragma once
// The main window on the in-memory line with the memory and firmware
// commands installed, drive 1 selected, and a status timer stand-in: every
// 50th pending-events step runs the tick while TStat is on, and the tick asks
// the selected drive for its two status words as the drive panel does.
#include <QDir>
#include <QFile>
#include <QTimer>
#include <unistd.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "mainwin/tests/sim_window_fixture.h"
#include "online/memory_and_firmware.h"
#include "platform/files/tests/file_kinds.h"

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

  // Files a command must send nothing of, made at `at` (or one of the
  // system's): the reason a read gives, "" for a regular file too large.
  struct FileNotToSend {
    const char* name;
    std::function<std::string()> make;  // the path to choose
    std::string reason;
  };
  static std::vector<FileNotToSend> FilesNotToSend(const std::string& at) {
    namespace kinds = talvero::testing;
    return {
        {"fifo", [at] { EXPECT_TRUE(kinds::MakeFifo(at)); return at; }, "it is a pipe (fifo), not a file"},
        {"link to /dev/zero", [at] { EXPECT_EQ(::symlink("/dev/zero", at.c_str()), 0); return at; },
         "it is a device, not a file"},
        {"folder", [at] { EXPECT_TRUE(QDir().mkdir(QString::fromStdString(at))); return at; }, "it is a folder"},
        {"2 GiB sparse", [at] { EXPECT_TRUE(kinds::MakeSparse(at, off_t(1) << 31)); return at; }, ""},
        {"unreadable", [] { return std::string(kinds::UnreadableFile()); }, "Permission denied"},
    };
  }
  static void Remove(const std::string& at) {
    QDir(QString::fromStdString(at)).removeRecursively();
    QFile::remove(QString::fromStdString(at));
  }

  int pumps = 0;
  std::function<void()> each;  // runs at every pending-events step
};
