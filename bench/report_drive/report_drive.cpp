// Times a full drive report (every item of the report dialog, display mode,
// the report window closed as soon as it shows) against a simulated RHO
// drive at node 1 paced at 19200 baud, and sets it next to its floor: every
// byte both ways at 10 bits a byte, each request's fixed pause or its
// reply's wire time, whichever is longer (the reply arrives during the
// pause). The figure the issue names, bytes plus pauses, is printed too.
//
//   bench_report_drive [--line PATH] [--out DIR]
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "bench/window_bench.h"
#include "bench/wire_floor.h"
#include "mainwin/isp_line.h"
#include "online/testing/one_drive_line.h"
#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port_object.h"
#include "platform/ui/qt/window_factory.h"
#include "platform/ui/scripted_prompter.h"
#include "reports/install.h"
#include "reports/model/rtf_reader.h"
#include "reports/pr.h"
#include "reports/print_app.h"
#include "sim/pty_server.h"
#include "sim/sim_line.h"

namespace {

using benchwire::kByteMs;

// The link's own port, counting every byte and the floor of each request.
class CountingPort : public talvero::SerialPort {
 public:
  explicit CountingPort(std::unique_ptr<talvero::SerialPort> inner) : inner_(std::move(inner)) {}
  ~CountingPort() override { Close(); }

  void SetPortNumber(int n) override { inner_->SetPortNumber(n); }
  void SetSpeed(int baud) override { inner_->SetSpeed(baud); }
  void SetDataBits(int bits) override { inner_->SetDataBits(bits); }
  void SetLineSetting(talvero::LineSetting w, int v) override { inner_->SetLineSetting(w, v); }
  int32_t Open() override { return inner_->Open(); }
  void Close() override {
    Finish();
    inner_->Close();
  }
  int ReadByte(int32_t timeoutMs) override {
    const int b = inner_->ReadByte(timeoutMs);
    if (b >= 0) ++replyBytes_;
    return b;
  }
  void WriteByte(uint8_t byte) override { Written(std::string(1, char(byte))); }
  void WriteString(const std::string& bytes) override { Written(bytes); }
  std::string ReadString(int maxLen, int32_t timeoutMs) override {
    std::string s = inner_->ReadString(maxLen, timeoutMs);
    replyBytes_ += s.size();
    return s;
  }
  talvero::PortFailure LastFailure() const override { return inner_->LastFailure(); }

  void Reset() {
    Finish();
    bytesOut = bytesIn = 0;
    requests = 0;
    floorMs = issueFloorMs = 0;
    pending_.clear();
  }
  // Ends the request in flight, so its reply counts.
  void Finish() {
    if (requestBytes_ == 0) return;
    const double pause = Pause(data_);
    const double req = double(requestBytes_) * kByteMs, rep = double(replyBytes_) * kByteMs;
    floorMs += req + std::max(pause, rep);
    issueFloorMs += req + rep + pause;
    bytesOut += requestBytes_;
    bytesIn += replyBytes_;
    ++requests;
    requestBytes_ = replyBytes_ = 0;
    data_.clear();
  }

  uint64_t bytesOut = 0, bytesIn = 0, requests = 0;
  double floorMs = 0, issueFloorMs = 0;

 private:
  static constexpr uint8_t kStart = 0x5B;  // '[' opens every request

  // The fixed pauses of the link's requests that the report makes.
  static double Pause(const std::string& d) {
    if (d.compare(0, 2, "PD") == 0 || d.compare(0, 2, "Pl") == 0) return 30;
    if (!d.empty() && (d[0] == 'T' || d[0] == 'I')) return 10;
    if (!d.empty() && d[0] == '+') return 30;
    return 0;
  }

  // A packet is start, node, sequence, length, data, checksum.
  void Written(const std::string& bytes) {
    for (char c : bytes) {
      if (pending_.empty()) {
        if (uint8_t(c) != kStart) continue;
        Finish();  // a new request: the last one's reply is all in
      }
      pending_ += c;
      ++requestBytes_;
      if (pending_.size() >= 4 && pending_.size() == 5 + size_t(uint8_t(pending_[3]))) {
        data_ = pending_.substr(4, pending_.size() - 5);
        pending_.clear();
      }
    }
    inner_->WriteString(bytes);
  }

  std::unique_ptr<talvero::SerialPort> inner_;
  std::string pending_, data_;
  uint64_t requestBytes_ = 0, replyBytes_ = 0;
};

// Closes the report window each time it shows.
class CloseOnShow : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show)
      if (auto* d = qobject_cast<QDialog*>(o)) QTimer::singleShot(0, d, [d]() { d->done(0); });
    return false;
  }
};

void FillDrive(talvero::sim::SimLine& sim) {
  using talvero::sim::Buffer;
  talvero::sim::SimDrive& d = sim.AddDrive(1, talvero::sim::Family::RHO);
  d.SetModel("KV110c");
  d.SetName("Feed");
  talvero::sim::ProgramStore& ps = d.Programs();
  const char* steps[] = {"ACL 100", "MA 10,5", "WT 0.5", "MR 1.5", "HOME", "SPD 20", "WM", "ZP"};
  // 40 steps spread with gaps over the 256 lines.
  for (int i = 0; i < 40; ++i) ps.SetLine(Buffer::Active, i * 6 + (i % 3), steps[i % 8]);
  for (const char* name : {"CUT", "JOG"}) {
    ps.Clear(Buffer::Library);
    for (int i = 0; i < 10; ++i) ps.SetLine(Buffer::Library, i * 3, steps[(i + 3) % 8]);
    ps.Save(Buffer::Library, name);
  }
  d.SetEventText(0, "IF IN1 DO OUT2=1");
  d.SetEventText(3, "ON IN2 GS 10");
  d.SetEventText(7, "IF VEL>100 STOP");
  d.SetEventMask(9);
  for (const char* uv : {"SPEED", "COUNT", "LIMIT", "OFFSET"}) d.DefineUserVariable(uv);
  talvero::sim::FaultRecord r;
  r.faults = 0b101;
  r.inputs = 3;
  r.velocity = 1200;
  r.current = 0.4;
  r.text = "10:00:00";
  d.AddHistoryRecord(r);
  r.faults = 0b10;
  r.outputs = 1024;
  d.AddHistoryRecord(r);
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  const benchwire::LineOptions args = benchwire::ReadLineOptions(argc, argv);
  std::string line = args.line;
  const std::string out = args.out;
  benchwire::WindowBench wb(argc, argv);
  talvero::ScriptedPrompter& prompter = *wb.prompter;  // any message box is a fault of the run

  talvero::sim::SimLine sim;
  talvero::sim::PtyServer server(sim);
  if (line.empty()) FillDrive(sim);
  if (!benchwire::UseLine(server, line)) return 1;

  wb.stored = {{"Setup/COM", "0"}, {"Help/GS", "1"}};
  MainWinEnv env;
  env.settings = wb.Settings();
  env.lockPath = wb.LockPath();
  // The report is timed with the link's own settings; only the search at start is quick.
  online::testing::FastSearchLine searchLine(100, 50);
  env.line = &searchLine;
  auto win = std::make_unique<MainWin>(std::move(env));
  searchLine.Attach(win->Link);
  auto owned = std::make_unique<CountingPort>(std::make_unique<talvero::SerialPortObject>());
  CountingPort& port = *owned;
  win->Link.SetPort(std::move(owned));
  reports::Install(*win);
  if (!win->Form_Load("talvero")) {
    std::fprintf(stderr, "the main window did not start\n");
    return 1;
  }
  win->COM__Click(0);
  if (!win->Sys->Exists("#1")) {
    std::fprintf(stderr, "no drive found at node 1\n");
    return 2;
  }
  win->Sys->Select("#1");
  win->Sys_NodeClick("#1");
  win->Link.FirstByteTimeout = 750;  // the link's defaults for the report
  win->Link.NextByteTimeout = 300;

  auto* dialog = qobject_cast<reports::PrintApp*>(talvero::TheWindowFactory().Window("PrintApp"));
  CloseOnShow closer;
  dialog->Report().installEventFilter(&closer);

  port.Reset();
  const int64_t t0 = talvero::TheClock().NowMs();
  dialog->Activate();  // the list, as a showing builds it
  dialog->SelectAll_Click();
  dialog->Disp_Click();
  const int64_t t1 = talvero::TheClock().NowMs();
  port.Finish();
  const std::string rtf = dialog->Report().Text();
  const std::string text = reports::ReadRtf(rtf).PlainText();

  if (!out.empty()) {
    QDir().mkpath(QString::fromStdString(out));
    QFile f(QDir(QString::fromStdString(out)).filePath("drive-report.rtf"));
    if (f.open(QIODevice::WriteOnly)) f.write(rtf.data(), qint64(rtf.size()));
  }

  const double measured = double(t1 - t0);
  const double floorMs = port.floorMs;  // the port goes with the window
  std::printf("sections               %4d (6 expected: parameters, events, active, 2 library, status)\n",
              Count(text, "\n----- "));
  // Where the drive stopped answering, the report says so in each section it cut.
  const int cut = Count(text, " section is incomplete.");
  std::printf("sections cut           %4d\n", cut);
  std::printf("requests               %4llu\n", (unsigned long long)port.requests);
  std::printf("bytes on the line      %4llu to the drive, %llu back\n", (unsigned long long)port.bytesOut,
              (unsigned long long)port.bytesIn);
  std::printf("bytes + every pause    floor %9.1f ms\n", port.issueFloorMs);
  std::printf("full drive report      measured %9.1f ms  floor %9.1f ms\n", measured, port.floorMs);
  for (const std::string& f : prompter.Failures()) std::fprintf(stderr, "message box: %s\n", f.c_str());

  int wrong = 0;
  if (server.SlavePath() == line) {  // our own drive: its data must all be there
    auto expect = [&](const char* what, int got, int want) {
      if (got == want) return;
      std::fprintf(stderr, "%s: %d, expected %d\n", what, got, want);
      ++wrong;
    };
    expect("sections", Count(text, "\n----- "), 6);
    int activeSteps = 0;
    const size_t a = text.find("----- Active Program"), l = text.find("----- Axis Library Program");
    for (size_t at = text.find(":       ", a); at < l; at = text.find(":       ", at + 1)) ++activeSteps;
    expect("active program steps", activeSteps, 40);
    expect("library steps", Count(text.substr(l, text.find("----- Status") - l), ":       "), 20);
    expect("active events", Count(text, "(Active)"), 2);
    int variables = 0;
    for (const char* uv : {"\n  SPEED=0\n", "\n  COUNT=0\n", "\n  LIMIT=0\n", "\n  OFFSET=0\n"})
      variables += Count(text, uv);
    expect("user variables", variables, 4);
    expect("history entries", Count(text, "   10:00:00\n"), 3);
  }
  win->Form_Terminate();
  win.reset();
  server.Stop();
  talvero::SetPrompter(nullptr);
  std::printf("ratio: %.3f\n", measured / floorMs);
  return wrong || cut || !prompter.Failures().empty() ? 3 : 0;
}
