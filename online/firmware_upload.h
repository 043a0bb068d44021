#pragma once
// "&Upload New Firmware...": the selected drive's firmware replaced from a
// file, behind the progress window, with the status timer off.
class MainWin;

namespace online {

void SpUpload_Click(MainWin& w);

}  // namespace online
