#include "online/model/nv_transfer.h"

#include <algorithm>

#include "link/failure_watch.h"

namespace online {

const char* const kNvReadFailed = "Read failed.";
const char* const kNvEStopFailed = "Couldn't E-stop the axis.";
const char* const kNvStopQuestion =
    "Stop the restore? The drive keeps the blocks written so far, stays stopped and is not "
    "restarted.";

int NvProgress(int address) { return std::min(255, address / 512); }

std::string NvBlockCaption(int blocksDone) {
  return "Block " + std::to_string(blocksDone) + " of " + std::to_string(kNvBlocks);
}

namespace {
// The 1024 blocks in address order, window events and the stop control
// between them; block(address) moves one and says how it ended.
template <class Block>
NvResult EachBlock(NvTransferUi& ui, Block&& block) {
  NvResult r;
  for (int b = 0; b < kNvBlocks; ++b) {
    const int address = b * kNvBlockSize;
    ui.Pump();
    if (ui.StopWanted()) {
      r.end = NvEnd::Stopped;
      return r;
    }
    r.end = block(address, r);
    if (r.end != NvEnd::Done) return r;
    r.blocks = b + 1;
    ui.BlockDone(r.blocks, address);
  }
  return r;
}
}  // namespace

NvResult ReadNvImage(ISP& link, int node, talvero::ReplacingFile& file, NvTransferUi& ui) {
  return EachBlock(ui, [&](int address, NvResult& r) {
    FailureWatch watch(link);
    const std::string block = link.ReadNV(node, address);
    if (watch.Failed() || block.size() != size_t(kNvBlockSize)) return NvEnd::LinkFailed;
    if (auto err = file.Write(block)) {
      r.fileError = *err;
      return NvEnd::FileFailed;
    }
    return NvEnd::Done;
  });
}

NvResult WriteNvImage(ISP& link, int node, const std::string& image, NvTransferUi& ui) {
  return EachBlock(ui, [&](int address, NvResult&) {
    return link.WriteNV(node, address, image.substr(size_t(address), kNvBlockSize)) ? NvEnd::Done
                                                                                     : NvEnd::LinkFailed;
  });
}

namespace {
talvero::FileDialog ImageDialog(const char* title) {
  talvero::FileDialog d;
  d.title = title;
  d.filter = "*.SNA|*.SNA";
  d.filterIndex = 1;
  d.defaultExt = "SNA";
  d.fileName = "*.SNA";
  return d;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

talvero::FileDialog NvSaveDialog() {
  talvero::FileDialog d = ImageDialog("Save NV memory to...");
  d.confirmOverwrite = true;
  return d;
}

talvero::FileDialog NvRestoreDialog() {
  talvero::FileDialog d = ImageDialog("Restore NV memory from...");
  d.mustExist = true;
  return d;
}

talvero::MessageBox NvRestoreQuestion(int k) {
  static const char* const kTexts[3] = {
      "Are you sure you want to upload non-volatile memory?",
      "The amplifier will be DISABLED and WILL NOT enable until\nafter upload is complete !\n\n"
      "This might cause UNEXPECTED MOTION !\n\nAre you very sure?",
      "DO NOT power down the amplifier during upload.\n\nDo you understand?"};
  // The second title is spelt so on purpose: it is the text users know.
  static const char* const kTitles[3] = {"NV Upload Warning", "NV UPload Warning", "NV Upload Warning"};
  return talvero::MessageBox{kTexts[k], kTitles[k], talvero::Buttons::YesNo, talvero::Icon::Critical, 0};
}

std::optional<std::string> NvImageRefusal(const std::string& path, const talvero::FileRead& file) {
  if (file.end == talvero::FileRead::End::Unreadable)
    return "Couldn't read " + path + ": " + file.reason + ". Nothing was written; the drive stays stopped.";
  if (file && file.bytes.size() == size_t(kNvImageSize)) return std::nullopt;
  return BaseName(path) + " is not a memory image: it " + talvero::HoldsText(file) + ", an image holds " +
         std::to_string(kNvImageSize) +
         ". Nothing was written; the drive stays stopped.";
}

std::string NvSaveFileError(const std::string& path, const std::string& reason) {
  return "Couldn't save the memory image to " + path + ": " + reason + ".";
}

std::string NvWriteFailed(int blocks) {
  // The refused block may be in the drive all the same: only its
  // acknowledgement may have been lost.
  const std::string failed = std::to_string(blocks + 1);
  std::string text = "Write failed at block " + failed + " of " + std::to_string(kNvBlocks) + ": ";
  if (blocks == 0) text += "block 1 may have been written.";
  else if (blocks == 1) text += "block 1 was written and block 2 may have been.";
  else text += "blocks 1 to " + std::to_string(blocks) + " were written and block " + failed + " may have been.";
  return text + " The drive holds a partly written image and stays stopped; restore a whole image before "
                "running it.";
}

std::string NvRestoreStopped(int blocks) {
  return "Restore stopped after " + std::to_string(blocks) + " of " + std::to_string(kNvBlocks) +
         " blocks. The drive is stopped and holds part of an image; restore a whole image before "
         "enabling it.";
}

}  // namespace online
