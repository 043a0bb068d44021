#include "bench/silent_drive/entry_runner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/ui/passing_prompter.h"
#include "sim/fault_plan.h"
#include "sim/sim_line.h"

namespace silentbench {

namespace {

constexpr int kNode = 1;
constexpr const char* kNotAnswer = "not answer";  // "does not answer", "did not answer"

double NowMs() { return double(talvero::TheSystemClock().NowMs()); }

void RunFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Answers every box as its first button would (OK, Yes), each input box
// with the next scripted text, every file dialog with Cancel; keeps the texts.
class AnsweringPrompter : public talvero::PassingPrompter {
 public:
  AnsweringPrompter(talvero::Prompter& inner, const std::vector<std::string>& inputs)
      : PassingPrompter(inner), inputs_(inputs.begin(), inputs.end()) {}
  talvero::Answer Message(const talvero::MessageBox& box) override {
    texts.push_back(box.text);
    switch (box.buttons) {
      case talvero::Buttons::YesNo:
      case talvero::Buttons::YesNoCancel: return talvero::Answer::Yes;
      case talvero::Buttons::RetryCancel: return talvero::Answer::Cancel;
      case talvero::Buttons::AbortRetryIgnore: return talvero::Answer::Abort;
      default: return talvero::Answer::Ok;
    }
  }
  std::optional<std::string> Input(const std::string& prompt, const std::string&, const std::string&) override {
    texts.push_back(prompt);
    if (inputs_.empty()) return std::nullopt;
    std::string next = inputs_.front();
    inputs_.pop_front();
    return next;
  }
  std::optional<std::string> OpenFile(const talvero::FileDialog&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const talvero::FileDialog&) override { return std::nullopt; }
  std::optional<uint32_t> PickColour(uint32_t) override { return std::nullopt; }
  bool PrinterSetup() override { return false; }

  std::vector<std::string> texts;

 private:
  std::deque<std::string> inputs_;
};

// Makes the drive answer again once a read has run past its deadline, so a
// read that would hold the window for minutes ends and the run goes on.
class Watchdog {
 public:
  explicit Watchdog(talvero::sim::SimLine& sim) : sim_(sim), thread_([this] { Loop(); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> l(mu_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  void Arm(double ms) {
    std::lock_guard<std::mutex> l(mu_);
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(int64_t(ms));
    armed_ = true;
    fired_ = false;
    cv_.notify_all();
  }
  // Whether it fired.
  bool Disarm() {
    std::lock_guard<std::mutex> l(mu_);
    armed_ = false;
    return fired_;
  }

 private:
  void Loop() {
    std::unique_lock<std::mutex> l(mu_);
    while (!stop_) {
      if (!armed_) {
        cv_.wait(l);
        continue;
      }
      cv_.wait_until(l, deadline_);
      if (armed_ && !stop_ && std::chrono::steady_clock::now() >= deadline_) {
        sim_.ClearFaults();
        fired_ = true;
        armed_ = false;
      }
    }
  }

  talvero::sim::SimLine& sim_;
  std::mutex mu_;
  std::condition_variable cv_;
  std::chrono::steady_clock::time_point deadline_;
  bool armed_ = false, fired_ = false, stop_ = false;
  std::thread thread_;
};

bool Says(const std::string& text) { return text.find(kNotAnswer) != std::string::npos; }

// Any box of the read, or any visible text of any window (the status bar's
// panels aside, which the tick fills), says that the drive does not answer.
bool WindowSays(MainWin& win, const std::vector<std::string>& boxes) {
  for (const std::string& b : boxes)
    if (Says(b)) return true;
  if (win.EditList->isVisible())
    for (int r = 0; r < win.EditList->ListCount(); ++r)
      if (Says(win.EditList->ItemText(r))) return true;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible()) continue;
    QList<QWidget*> all = top->findChildren<QWidget*>();
    all.push_back(top);
    for (QWidget* w : all) {
      if (!w->isVisible()) continue;
      if (std::find(win.Mon1.begin(), win.Mon1.end(), w) != win.Mon1.end()) continue;
      QString t;
      if (auto* l = qobject_cast<QLabel*>(w)) t = l->text();
      else if (auto* b = qobject_cast<QAbstractButton*>(w)) t = b->text();
      else if (auto* g = qobject_cast<QGroupBox*>(w)) t = g->title();
      else if (auto* e = qobject_cast<QLineEdit*>(w)) t = e->text();
      else if (auto* x = qobject_cast<QTextEdit*>(w)) t = x->toPlainText();
      else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) t = p->toPlainText();
      else if (auto* list = qobject_cast<QListWidget*>(w))
        for (int i = 0; i < list->count(); ++i) t += list->item(i)->text() + "\n";
      else if (auto* m = qobject_cast<QMenu*>(w))
        for (QAction* a : m->actions()) t += a->text() + "\n";
      if (Says(t.toStdString())) return true;
    }
  }
  return false;
}

}  // namespace

EntryRunner::EntryRunner(MainWin& win, talvero::sim::SimLine& sim, std::string outDir)
    : win_(win), sim_(sim), out_(std::move(outDir)) {}

double EntryRunner::CycleMs() const {
  // A try on a silent line: the request's pause, the reply's first byte and the flush's.
  return double(win_.Link.Retries) * (2.0 * win_.Link.FirstByteTimeout + 30);
}

void EntryRunner::Answering() {
  sim_.ClearFaults();
  const double until = NowMs() + 4000;
  while (win_.Answers.Silent(kNode) && NowMs() < until) RunFor(50);
}

Figures EntryRunner::Run(const EntryPoint& e, bool known, int index) {
  Answering();
  e.prepare();
  RunFor(200);

  // Which requests the status tick sent: the log's spans over each tick.
  std::vector<std::pair<size_t, size_t>> ticks;
  const std::function<void()> tick = win_.TStatTickHook;
  win_.TStatTickHook = [&] {
    const size_t from = sim_.Log().size();
    tick();
    ticks.push_back({from, sim_.Log().size()});
  };

  AnsweringPrompter prompter(talvero::ThePrompter(), e.inputs);
  Watchdog watchdog(sim_);
  Figures f;
  bool started = false, finished = false;
  double t0 = 0, last = 0, overAt = -1;
  size_t logStart = 0, logOver = 0;
  const auto markOver = [&] {
    overAt = NowMs();
    f.cut = watchdog.Disarm();
    logOver = sim_.Log().size();
    f.says = WindowSays(win_, prompter.texts);
    if (!out_.empty()) {
      QWidget* shown = QApplication::activeModalWidget();
      if (!shown) shown = QApplication::activePopupWidget();
      (shown ? shown : static_cast<QWidget*>(&win_))
          ->grab()
          .save(QString::fromStdString(out_ + "/entry-" + std::to_string(index) + (known ? "-known" : "-first") +
                                       ".png"));
    }
    if (e.close) e.close();
  };
  QEventLoop loop;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const double now = NowMs();
    if (!started || finished) return;
    f.stallMs = std::max(f.stallMs, now - last);
    last = now;
    // A window open with its read still under way has not ended the read: it
    // ends when the window says so.
    if (overAt < 0 && e.over && e.over() && WindowSays(win_, prompter.texts)) markOver();
    // A window the bench does not know to close must not hold the run.
    if (now - t0 > CycleMs() + 30000)
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  // Posted as a click's event is, not from inside a timer's.
  QMetaObject::invokeMethod(&loop, [&] {
    sim_.AddFault(talvero::sim::FaultRule::Silent(kNode));
    if (known) win_.Answers.Failed(kNode);  // as the tick leaves it after a silent pass
    logStart = sim_.Log().size();
    t0 = last = NowMs();
    started = true;
    // Past the target by half a second the read has missed it: the drive answers again.
    watchdog.Arm((known ? 2000 : CycleMs() + 2000) + 500);
    e.start();
    f.stallMs = std::max(f.stallMs, NowMs() - last);
    if (overAt < 0) markOver();
    finished = true;
    loop.quit();
  }, Qt::QueuedConnection);
  probe.start();
  loop.exec();
  win_.TStatTickHook = tick;
  f.overMs = overAt - t0;

  const std::vector<talvero::sim::LoggedRequest> log = sim_.Log();
  std::vector<std::string> read;
  for (size_t i = logStart; i < logOver && i < log.size(); ++i) {
    if (log[i].node != kNode) continue;
    ++f.requests;
    bool byTick = false;
    for (const auto& [from, to] : ticks) byTick = byTick || (i >= from && i < to);
    if (byTick) ++f.tickRequests;
    else read.push_back(log[i].data);
  }
  while (size_t(f.firstTries) < read.size() && read[size_t(f.firstTries)] == read.front()) ++f.firstTries;
  f.afterFailed = int(read.size()) - f.firstTries;
  return f;
}

std::string EntryRunner::Misses(const Figures& f, bool known) const {
  std::string m;
  const auto miss = [&m](const std::string& what) { m += (m.empty() ? "" : ", ") + what; };
  if (f.stallMs > 2000) miss("stall");
  if (f.overMs > (known ? 2000 : CycleMs() + 2000) || f.cut) miss("read too long");
  if (!f.says) miss("not said");
  if (f.afterFailed > 0 || f.firstTries > (known ? 1 : int(win_.Link.Retries))) miss("sent after the failure");
  return m;
}

}  // namespace silentbench
