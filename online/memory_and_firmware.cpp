#include "online/memory_and_firmware.h"

#include <QAction>
#include <functional>
#include <string>

#include "mainwin/main_win.h"
#include "online/firmware_upload.h"
#include "online/nv_image.h"

namespace online {

void InstallMemoryAndFirmware(MainWin& w) {
  // Items that are not ours go on to whoever handled them before.
  std::function<void(const std::string&)> previous = w.MenuCommandHook;
  w.MenuCommandHook = [&w, previous](const std::string& item) {
    if (item == "AA_MEM2FILE") AA_MEM2FILE_Click(w);
    else if (item == "AA_FILE2MEM") AA_FILE2MEM_Click(w);
    else if (previous) previous(item);
  };
  QObject::connect(w.SpUpload, &QAction::triggered, &w, [&w]() { SpUpload_Click(w); });
}

}  // namespace online
