#include "online/model/firmware_flash.h"

namespace online {

const char* const kFirmwareBoxTitle = "Firmware Upload...";
const char* const kFirmwareGaveUp =
    "Failed to program after 30 attempts.\nThe drive's flash is left erased or partly programmed: the drive "
    "needs a new firmware upload before it can run.";
const char* const kFirmwareNoStart =
    "Failed to program after 30 attempts.\nThe drive acknowledged no start: if it no longer answers as "
    "before, its flash was erased and the drive needs a new firmware upload.";
const char* const kFirmwareLineLost =
    "The line to the drive was lost while programming.\nThe drive's flash is left erased or partly programmed: "
    "the drive needs a new firmware upload before it can run.";
const char* const kFirmwareLineLostUnstarted =
    "The line to the drive was lost before it acknowledged a start: if it no longer answers as before, its "
    "flash was erased and the drive needs a new firmware upload.";
const char* const kFirmwareStopped = "Firmware update stopped; the drive was not changed.";

int FlashEraseMs(const std::string& family) {
  return family == "PHI" || family == "PSI" ? 20000 : 4000;
}

std::string FlashBytesText(int64_t sent, int64_t total) {
  return std::to_string(sent) + " bytes of " + std::to_string(total);
}

FlashEnd FlashFirmware(ISP& link, int node, const std::string& family, const std::string& image,
                       FlashUi& ui) {
  const int64_t blocks = int64_t(image.size()) / kFlashBlockSize;
  const int64_t total = blocks * kFlashBlockSize;
  int starts = 0, restarts = 0;
  bool accepted = false;
  for (;;) {
    if (!accepted && ui.StopWanted()) return FlashEnd::Stopped;
    // A dead line fails every attempt at once: no retry can succeed.
    const auto lost = [&] { return accepted ? FlashEnd::LineLost : FlashEnd::LineLostUnstarted; };
    if (!link.Flash(node, "S")) {
      if (link.LineGone()) return lost();
      ui.Stat("Delaying...");
      link.GoSleep(1000);
      link.FlushPackets();
      if (++starts >= kFlashMaxStarts) return accepted ? FlashEnd::GaveUp : FlashEnd::NoStart;
      continue;
    }
    if (!accepted) {
      accepted = true;
      ui.StartAccepted();
    }
    ui.Stat("Erasing FLASH memory...");
    link.GoSleep(FlashEraseMs(family));
    bool whole = true;
    for (int64_t n = 1; n <= blocks; ++n) {
      ui.Stat(FlashBytesText(n * kFlashBlockSize, total));
      ui.Pump();
      if (!link.Flash(node, "D" + image.substr(size_t((n - 1) * kFlashBlockSize), kFlashBlockSize))) {
        whole = false;
        break;
      }
    }
    // Only an acknowledged end means the drive took the whole image.
    if (whole && link.Flash(node, "E")) return FlashEnd::Programmed;
    if (link.LineGone()) return lost();
    ui.Stat(FlashBytesText(0, total));
    if (!whole) link.Flash(node, "E");
    link.GoSleep(1000);
    if (++restarts >= kFlashMaxRestarts) return FlashEnd::GaveUp;
  }
}

talvero::MessageBox FirmwareWarning() {
  return talvero::MessageBox{
      "FIRMWARE UPDATE WARNINGS:\n\n"
      "(1) The amplifier will be DISABLED and WILL NOT enable until\n"
      "     after programming is complete !\n\n"
      "(2) This might cause UNEXPECTED MOTION on vertical loads or\n"
      "     systems that require the drive to be enabled at all times !\n\n"
      "(3) POWERING DOWN the amplifier DURING PROGRAMMING\n"
      "     can cause the firmware update to FAIL !\n\n"
      "ARE YOU SURE YOU WANT TO UPDATE THE FIRMWARE IN THE DRIVE ???",
      "Firmware Update Warnings", talvero::Buttons::YesNo, talvero::Icon::Critical, 1};
}

talvero::FileDialog FirmwareDialog() {
  talvero::FileDialog d;
  d.title = "New firmware...";
  d.filter = "*.BIN|*.BIN";
  d.filterIndex = 1;
  d.fileName = "*.BIN";
  d.mustExist = true;
  return d;
}

std::optional<FirmwareFileCheck> CheckFirmwareFile(const std::string& path, const talvero::FileRead& file) {
  FirmwareFileCheck c;
  c.box.icon = talvero::Icon::Exclamation;
  if (file.end == talvero::FileRead::End::Unreadable) {
    c.box.text = "Couldn't read " + path + ": " + file.reason + ". Nothing was sent to the drive.";
    return c;
  }
  if (file.end == talvero::FileRead::End::OutOfBounds) {
    c.box.text = path + " " + talvero::HoldsText(file) + "; a drive's flash takes at most " +
                 std::to_string(kFirmwareMaxBytes) + ". Nothing was sent to the drive.";
    return c;
  }
  const size_t size = file.bytes.size();
  if (size < size_t(kFlashBlockSize)) {
    c.box.text = path + " holds " + std::to_string(size) + " bytes, less than one block of " +
                 std::to_string(kFlashBlockSize) + ": it is no firmware. Nothing was sent to the drive.";
    return c;
  }
  const size_t rest = size % kFlashBlockSize;
  if (rest == 0) return std::nullopt;
  c.question = true;
  c.box.text = (rest == 1 ? std::string("The last byte of the file does not fill a block of ")
                           : "The last " + std::to_string(rest) + " bytes of the file do not fill a block of ") +
               std::to_string(kFlashBlockSize) + " and will not be sent. Continue?";
  c.box.buttons = talvero::Buttons::YesNo;
  c.box.icon = talvero::Icon::Question;
  c.box.defaultButton = 1;
  return c;
}

talvero::MessageBox FirmwareProgrammedBox() {
  return talvero::MessageBox{"Programmed OK.\nClick to Reset and Reload Software...", kFirmwareBoxTitle,
                             talvero::Buttons::Ok, talvero::Icon::None, 0};
}

talvero::MessageBox FirmwareResetWarning() {
  return talvero::MessageBox{
      "WARNING: This drive reset may cause the program to execute\n"
      "due to active events; make sure the system is safe to reset\n"
      "and restart before clicking OK.",
      "WARNING", talvero::Buttons::Ok, talvero::Icon::Exclamation, 0};
}

}  // namespace online
