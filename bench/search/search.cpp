// Times the main window from its construction to the end of the drive search
// at start-up, against two simulated drives (nodes 1 and 2) paced at 19200
// baud (or any drive line given with --line), and sets it next to its floor:
// each request of the search on the wire at 10 bits a byte, then its fixed
// pause or its reply's bytes, whichever is longer, and the time an empty node
// costs the link (per try its read time-out and the flush's).
// The link's time-outs are set below the settings' minimums so the run ends
// in seconds; nothing of the user's own files is read or written.
#include <stdlib.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "bench/line_options.h"
#include "link/isp.h"
#include "mainwin/isp_line.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_prompter.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

constexpr int kFirstByteMs = 100, kNextByteMs = 50;
using benchwire::kByteMs;
using benchwire::RequestMs;
constexpr int kNodes = 31;

double NowMs() { return double(talvero::TheClock().NowMs()); }

// The window's link with the bench's time-outs, noting what each request of
// the search cost at the least.
class BenchLine : public DriveLine {
 public:
  void Attach(ISP& link) { inner_ = std::make_unique<IspLine>(link); }

  struct Cost {
    int count = 0;
    double floorMs = 0;
  };
  std::map<std::string, Cost> costs;
  double searchStartMs = 0;

  void SetLinkSettings(const mainwin::LinkSettings& s) override {
    mainwin::LinkSettings fast = s;
    fast.firstByteTimeout = kFirstByteMs;
    fast.nextByteTimeout = kNextByteMs;
    inner_->SetLinkSettings(fast);
  }
  void OpenPort(int port) override { inner_->OpenPort(port); }
  long theHandle() override { return inner_->theHandle(); }
  std::string OpenFailure() override { return inner_->OpenFailure(); }
  bool CheckForNodalDrives() override {
    searchStartMs = NowMs();
    // Five "AT" lines, the link's pause, and its whole wait for an answer.
    Add("line check", 15 * kByteMs + 50 + 250);
    return inner_->CheckForNodalDrives();
  }
  void ClosePort() override { inner_->ClosePort(); }
  bool ProbePort(int port) override { return inner_->ProbePort(port); }

  std::string WhoAmI(int node) override {
    std::string r = inner_->WhoAmI(node);
    if (r.empty()) Add("empty node (3 tries)", 3 * (6 * kByteMs + 50 + kFirstByteMs + kFirstByteMs));
    else Add("identity", RequestMs(1, r.size(), 50));
    return r;
  }
  std::string GetDriveName(int node) override { return Note("name", inner_->GetDriveName(node), 1, 10); }
  std::string GetSerial(int node) override { return Note("serial", inner_->GetSerial(node), 2, 10); }
  std::string Info(int node, int which) override { return Note("information", inner_->Info(node, which), 2, 10); }
  std::string GetPgmName(int node, int slot) override {
    return Note("program name", inner_->GetPgmName(node, slot), 3, 30);
  }

 private:
  void Add(const char* what, double ms) {
    Cost& c = costs[what];
    ++c.count;
    c.floorMs += ms;
  }
  std::string Note(const char* what, std::string reply, size_t requestData, int pauseMs) {
    Add(what, RequestMs(requestData, reply.size(), pauseMs));
    return reply;
  }
  std::unique_ptr<IspLine> inner_;
};

}  // namespace

int main(int argc, char** argv) {
  benchwire::WindowBench bench(argc, argv);
  talvero::ScriptedPrompter& prompter = *bench.prompter;

  using talvero::sim::Buffer;
  using talvero::sim::Family;
  benchwire::LineOptions opts;
  if (!benchwire::ParseLineOptions(argc, argv, opts)) return 64;
  talvero::sim::SimLine sim;
  sim.AddDrive(1, Family::RHO).Programs().Save(Buffer::Active, "HOME");
  sim.Drive(1).Programs().Save(Buffer::Active, "CUT 2");
  sim.AddDrive(2, Family::TAU).Programs().Save(Buffer::Active, "JOG");
  talvero::sim::PtyServer server(sim);
  const std::string device = benchwire::LineDevice(opts, server);
  if (device.empty()) return 1;
  setenv("TALVERO_COM1", device.c_str(), 1);

  // Port 1 only, no first-run greeting.
  bench.stored = {{"Setup/COM", "1"}, {"Setup/CPS", "1"}, {"Help/GS", "1"}};
  BenchLine line;
  MainWinEnv env;
  env.settings = bench.Settings();
  env.line = &line;
  env.lockPath = bench.LockPath();

  const double t0 = NowMs();
  auto win = std::make_unique<MainWin>(std::move(env));
  line.Attach(win->Link);
  const double built = NowMs();
  const bool loaded = win->Form_Load("talvero");
  const double t1 = NowMs();
  const uint64_t bytesIn = server.BytesIn(), bytesOut = server.BytesOut();
  // What the search found, as the tree shows it.
  std::string drives;
  int shown = 0;
  for (int n = 1; n <= kNodes; ++n) {
    const std::string text = win->GetDriveNameByNode(n);
    if (text.empty()) continue;
    ++shown;
    drives += text + "\n";
  }
  win.reset();
  server.Stop();

  for (const std::string& f : prompter.Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());
  if (!loaded || line.searchStartMs == 0) {
    std::fprintf(stderr, "the start-up did not reach the search\n");
    return 1;
  }
  if (!opts.out.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(opts.out, ec);
    std::ofstream(opts.out + "/drives.txt", std::ios::binary) << drives;
    std::printf("wrote %s/drives.txt\n", opts.out.c_str());
  }
  const int identities = line.costs["identity"].count;
  bool right = identities + line.costs["empty node (3 tries)"].count == kNodes && shown == identities;
  if (opts.line.empty()) {
    int found = 0;
    for (const auto& req : sim.Log()) found += req.answered && req.data == "\x01";
    right = right && found == 2 && shown == 2;
    std::printf("drives found           %4d (nodes 1 and 2 expected)\n", found);
  } else {
    std::printf("drives found           %4d\n", shown);
  }
  if (!right) std::fprintf(stderr, "the search did not end with every node asked and each drive shown\n");
  double floorMs = 0;
  for (const auto& [what, c] : line.costs) {
    std::printf("%-22s %4d x         floor %9.1f ms\n", what.c_str(), c.count, c.floorMs);
    floorMs += c.floorMs;
  }
  std::printf("bytes on the line      %4llu to the drives, %llu back\n", (unsigned long long)bytesIn,
              (unsigned long long)bytesOut);
  std::printf("window built           measured %9.1f ms\n", built - t0);
  std::printf("start-up to search     measured %9.1f ms\n", line.searchStartMs - t0);
  std::printf("search                 measured %9.1f ms\n", t1 - line.searchStartMs);
  std::printf("start to search's end  measured %9.1f ms  floor %9.1f ms\n", t1 - t0, floorMs);
  std::printf("ratio: %.3f\n", (t1 - t0) / floorMs);
  if (!prompter.Failures().empty()) return 3;
  return right ? 0 : 2;
}
