#include "online/firmware_upload.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <optional>

#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "mainwin/pop.h"
#include "online/model/firmware_flash.h"
#include "online/restart_drive.h"
#include "online/transfer_progress.h"
#include "platform/clock/clock.h"
#include "platform/files/whole_file.h"
#include "platform/ui/prompter.h"

namespace online {

namespace {

// The line to the flash loader alone: the status timer off and the watch
// lines hidden, both as they were again at the end, the progress window up
// over the disabled main window until closed.
class LineToItself {
 public:
  explicit LineToItself(MainWin& w)
      : w_(w), hourglass_(w), timerWasOn_(w.TStat->isActive()), watchWasHidden_(w.Watch->isHidden()) {
    w_.TStat->stop();
    w_.Watch->hide();
    w_.Pop()->StatOn("Firmware Update");
    popOn_ = true;
  }
  ~LineToItself() {
    ClosePop();
    hourglass_.Release();
    Restore();
  }
  void ClosePop() {
    if (popOn_) w_.Pop()->StatOff();
    popOn_ = false;
  }
  void DefaultPointer() { hourglass_.Release(); }
  void Restore() {
    if (timerWasOn_ && !w_.TStat->isActive()) w_.TStat->start();
    w_.Watch->setHidden(watchWasHidden_);
  }

 private:
  MainWin& w_;
  Hourglass hourglass_;
  bool timerWasOn_, watchWasHidden_;
  bool popOn_ = false;
};

// The progress window as the upload sees it. Once the drive has begun to
// erase, stopping would leave it without firmware: the Stop button goes grey
// and Control-C, Escape and closing are ignored.
class PopFlashUi : public QObject, public FlashUi {
 public:
  explicit PopFlashUi(POP& pop) : pop_(pop), tip_(pop.Stop->toolTip()) {
    pop_.Stop->setToolTip("Ends the update before the drive is changed (Control-C)");
  }
  ~PopFlashUi() override {
    pop_.removeEventFilter(this);
    pop_.Stop->setEnabled(true);
    pop_.Stop->setToolTip(tip_);
  }
  void Stat(const std::string& text) override { pop_.Stat(text); }
  void Pump() override { talvero::TheClock().ProcessEvents(); }
  bool StopWanted() override { return pop_.Clicked(); }
  void StartAccepted() override {
    pop_.Stop->setEnabled(false);
    pop_.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == &pop_) {
      if (e->type() == QEvent::Close) {
        e->ignore();
        return true;
      }
      if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (IsControlC(k) || k->key() == Qt::Key_Escape) return true;
      }
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  POP& pop_;
  QString tip_;
};

bool DriveOnLineSelected(const MainWin& w) {
  return w.AxisSelected && !w.AppSelected && w.CurNode >= 1 && w.NodeTables.HasDrive(w.CurNode);
}

}  // namespace

void SpUpload_Click(MainWin& w) {
  if (!DriveOnLineSelected(w)) return;
  std::optional<mainwin::LongOperation> op;
  op.emplace(w, w.CurNode);
  if (!*op) return;
  const int node = op->Node();
  talvero::Prompter& ask = talvero::ThePrompter();
  if (ask.Message(FirmwareWarning()) != talvero::Answer::Yes) return;
  const std::optional<std::string> path = ask.OpenFile(FirmwareDialog());
  if (!path) return;
  // Read once: every attempt sends these bytes, whatever becomes of the file.
  const talvero::FileRead file = talvero::ReadWholeFile(*path, 0, kFirmwareMaxBytes);
  if (auto check = CheckFirmwareFile(*path, file)) {
    const talvero::Answer a = ask.Message(check->box);
    if (!check->question || a != talvero::Answer::Yes) return;
  }
  const std::string image = file.bytes.substr(0, file.bytes.size() / kFlashBlockSize * kFlashBlockSize);

  LineToItself line(w);
  FlashEnd end;
  {
    PopFlashUi ui(*w.Pop());
    end = FlashFirmware(w.Link, node, w.NodeTables.FamilyOf(node), image, ui);
  }
  switch (end) {
    case FlashEnd::Programmed:
      w.Prog->setValue(0);
      line.ClosePop();
      line.DefaultPointer();
      ask.Message(FirmwareProgrammedBox());
      ask.Message(FirmwareResetWarning());
      RestartAndRefresh(w, op, "F", 2000);
      line.Restore();
      break;
    case FlashEnd::GaveUp:
    case FlashEnd::NoStart:
    case FlashEnd::LineLost:
    case FlashEnd::LineLostUnstarted:
      line.DefaultPointer();
      ask.Message({end == FlashEnd::GaveUp             ? kFirmwareGaveUp
                   : end == FlashEnd::NoStart          ? kFirmwareNoStart
                   : end == FlashEnd::LineLost         ? kFirmwareLineLost
                                                       : kFirmwareLineLostUnstarted,
                   kFirmwareBoxTitle,
                   talvero::Buttons::Ok, talvero::Icon::None, 0});
      line.Restore();
      line.ClosePop();
      break;
    case FlashEnd::Stopped:
      line.ClosePop();
      line.DefaultPointer();
      ask.Plain(kFirmwareStopped);
      break;
  }
}

}  // namespace online
