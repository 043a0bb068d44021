#pragma once
// A drive's whole non-volatile memory as an image: 1024 blocks of 128 bytes,
// byte n of the image at address n, nothing else in the file.
#include <optional>
#include <string>

#include "link/isp.h"
#include "platform/files/replacing_file.h"
#include "platform/files/whole_file.h"
#include "platform/ui/prompter.h"

namespace online {

constexpr int kNvBlockSize = 128;
constexpr int kNvBlocks = 1024;
constexpr int kNvImageSize = kNvBlockSize * kNvBlocks;  // 131072

// The progress bar (0..255) after the block at address: the address over
// 512, at most 255.
int NvProgress(int address);
// "Block n of 1024" after block n (1-based).
std::string NvBlockCaption(int blocksDone);

// What a transfer needs of the window between two blocks.
class NvTransferUi {
 public:
  virtual ~NvTransferUi() = default;
  virtual void Pump() = 0;  // let pending window events run
  // Asked after each pump; true ends the transfer before the next block.
  virtual bool StopWanted() = 0;
  virtual void BlockDone(int blocksDone, int address) = 0;
};

enum class NvEnd { Done, LinkFailed, FileFailed, Stopped };
struct NvResult {
  NvEnd end = NvEnd::Done;
  int blocks = 0;         // blocks transferred
  std::string fileError;  // FileFailed: the system's reason
};

// Reads every block of the drive into the file (not committed here).
NvResult ReadNvImage(ISP& link, int node, talvero::ReplacingFile& file, NvTransferUi& ui);
// Writes the image (exactly kNvImageSize bytes) block by block.
NvResult WriteNvImage(ISP& link, int node, const std::string& image, NvTransferUi& ui);

// The dialogs and boxes of the two commands.
talvero::FileDialog NvSaveDialog();
talvero::FileDialog NvRestoreDialog();
// The three questions before a restore, in order.
talvero::MessageBox NvRestoreQuestion(int k);
// Why a chosen file is no image; nullopt when it is one.
// The file is read with ReadWholeFile(path, kNvImageSize, kNvImageSize).
std::optional<std::string> NvImageRefusal(const std::string& path, const talvero::FileRead& file);
std::string NvSaveFileError(const std::string& path, const std::string& reason);

extern const char* const kNvReadFailed;
extern const char* const kNvEStopFailed;
extern const char* const kNvStopQuestion;
// A refused block after `blocks` were acknowledged.
std::string NvWriteFailed(int blocks);
std::string NvRestoreStopped(int blocks);

}  // namespace online
