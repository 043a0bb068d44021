#include "online/nv_image.h"

#include <optional>

#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "online/model/nv_transfer.h"
#include "online/restart_drive.h"
#include "online/transfer_progress.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"

namespace online {

namespace {

class WindowTransferUi : public NvTransferUi {
 public:
  WindowTransferUi(TransferProgress& progress, bool askBeforeStop)
      : progress_(progress), ask_(askBeforeStop) {}
  void Pump() override { talvero::TheClock().ProcessEvents(); }
  bool StopWanted() override {
    if (!progress_.StopClicked()) return false;
    if (!ask_) return true;
    const talvero::MessageBox q{kNvStopQuestion, "Talvero", talvero::Buttons::YesNo,
                                talvero::Icon::Question, 1};
    if (talvero::ThePrompter().Message(q) == talvero::Answer::Yes) return true;
    progress_.ClearStop();
    return false;
  }
  void BlockDone(int blocksDone, int address) override { progress_.BlockDone(blocksDone, address); }

 private:
  TransferProgress& progress_;
  bool ask_;
};

}  // namespace

void AA_MEM2FILE_Click(MainWin& w) {
  mainwin::LongOperation op(w, w.CurNode);
  if (!op) return;
  talvero::Prompter& ask = talvero::ThePrompter();
  const std::optional<std::string> path = ask.SaveFile(NvSaveDialog());
  if (!path) return;
  talvero::ReplacingFile file(*path);
  if (auto err = file.Open()) {
    ask.Plain(NvSaveFileError(*path, *err));
    return;
  }
  TransferProgress progress(w);
  Hourglass hourglass(w);
  talvero::TheClock().ProcessEvents();
  WindowTransferUi ui(progress, false);
  NvResult r = ReadNvImage(w.Link, op.Node(), file, ui);
  if (r.end == NvEnd::Done)
    if (auto err = file.Commit()) {
      r.end = NvEnd::FileFailed;
      r.fileError = *err;
    }
  hourglass.Release();
  if (r.end == NvEnd::LinkFailed) ask.Plain(kNvReadFailed);
  if (r.end == NvEnd::FileFailed) ask.Plain(NvSaveFileError(*path, r.fileError));
  progress.Reset();
}

void AA_FILE2MEM_Click(MainWin& w) {
  std::optional<mainwin::LongOperation> op;
  op.emplace(w, w.CurNode);
  if (!*op) return;
  const int node = op->Node();
  talvero::Prompter& ask = talvero::ThePrompter();
  for (int k = 0; k < 3; ++k)
    if (ask.Message(NvRestoreQuestion(k)) != talvero::Answer::Yes) return;
  if (!w.Link.EStop(node)) {
    ask.Plain(kNvEStopFailed);
    return;
  }
  const std::optional<std::string> path = ask.OpenFile(NvRestoreDialog());
  if (!path) return;
  const talvero::FileRead image = talvero::ReadWholeFile(*path, kNvImageSize, kNvImageSize);
  if (auto refusal = NvImageRefusal(*path, image)) {
    ask.Plain(*refusal);
    return;
  }
  {
    TransferProgress progress(w);
    Hourglass hourglass(w);
    talvero::TheClock().ProcessEvents();
    WindowTransferUi ui(progress, true);
    const NvResult r = WriteNvImage(w.Link, node, image.bytes, ui);
    hourglass.Release();
    if (r.end == NvEnd::LinkFailed) ask.Plain(NvWriteFailed(r.blocks));
    if (r.end == NvEnd::Stopped) ask.Plain(NvRestoreStopped(r.blocks));
    progress.Reset();
    if (r.end != NvEnd::Done) return;
  }
  RestartAndRefresh(w, op, "E", 1000);
}

}  // namespace online
