#pragma once
// Replacing a drive's firmware through its flash loader: a start packet that
// erases the flash, the file in blocks of 128 bytes, an end packet.
#include <optional>
#include <string>

#include "link/isp.h"
#include "platform/files/whole_file.h"
#include "platform/ui/prompter.h"

namespace online {

constexpr int kFlashBlockSize = 128;
constexpr int kFlashMaxStarts = 30;    // refused starts before giving up
constexpr int kFlashMaxRestarts = 30;  // restarts after refused blocks before giving up
// The largest file taken: eight times a drive's whole memory, a wide margin
// over any flash, and an upload still of minutes, not days.
constexpr uint64_t kFirmwareMaxBytes = 1 << 20;

// The wait after an accepted start, by the drive's family code.
int FlashEraseMs(const std::string& family);
// "n bytes of total".
std::string FlashBytesText(int64_t sent, int64_t total);

// What the upload needs of the progress window.
class FlashUi {
 public:
  virtual ~FlashUi() = default;
  virtual void Stat(const std::string& text) = 0;
  virtual void Pump() = 0;
  // Consulted before each start until one is accepted; true ends the upload.
  virtual bool StopWanted() = 0;
  // The first accepted start: from now on the drive's flash is being erased
  // and the upload can no longer be stopped.
  virtual void StartAccepted() = 0;
};

// GaveUp after the drive had begun to erase; NoStart when it acknowledged no
// start at all (a line that is down, say).
// LineLost and LineLostUnstarted: the line hung up, after or before the
// drive acknowledged a start.
enum class FlashEnd { Programmed, GaveUp, NoStart, Stopped, LineLost, LineLostUnstarted };

// Runs the start / blocks / end sequence until the drive acknowledges the end
// of a whole image, or gives up. image holds whole blocks only.
FlashEnd FlashFirmware(ISP& link, int node, const std::string& family, const std::string& image,
                       FlashUi& ui);

// The boxes and the dialog of the command.
talvero::MessageBox FirmwareWarning();
talvero::FileDialog FirmwareDialog();
// What the file allows: nullopt when it can be sent whole; otherwise the box
// to show, and whether it is a question (Yes sends the whole blocks).
struct FirmwareFileCheck {
  talvero::MessageBox box;
  bool question = false;
};
std::optional<FirmwareFileCheck> CheckFirmwareFile(const std::string& path, const talvero::FileRead& file);

extern const char* const kFirmwareBoxTitle;
extern const char* const kFirmwareGaveUp;
extern const char* const kFirmwareNoStart;
extern const char* const kFirmwareLineLost;
extern const char* const kFirmwareLineLostUnstarted;
extern const char* const kFirmwareStopped;
talvero::MessageBox FirmwareProgrammedBox();
talvero::MessageBox FirmwareResetWarning();

}  // namespace online
