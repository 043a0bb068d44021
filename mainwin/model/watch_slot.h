#pragma once
// One of the ten watch slots of the main window: what a watch line reads on
// every status tick and how it shows the value.
#include <string>

namespace talvero {

struct WatchSlotData {
  std::string WatchExpr;   // "" = the slot is empty and its line is left alone
  std::string WatchLabel;  // put before the value
  std::string WatchFmt;    // display picture
  int WatchNode = 0;       // the drive the slot reads, whatever is selected
  std::string WatchUnits;  // after the value; "~u" stands for the drive's unit name
  float WatchScale = 1.0f; // divisor of the value read
};

}  // namespace talvero
