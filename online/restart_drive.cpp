#include "online/restart_drive.h"

#include "mainwin/main_win.h"
#include "platform/clock/clock.h"

namespace online {

void RestartAndRefresh(MainWin& w, std::optional<mainwin::LongOperation>& op, const std::string& text,
                       int waitMs) {
  talvero::TheClock().ProcessEvents();
  w.Link.BigReset(op->Node(), text);
  w.Link.GoSleep(waitMs);
  talvero::TheClock().ProcessEvents();
  // The refresh selects the tree's root, which the held operation would refuse.
  op.reset();
  w.SpRef_Click();
}

}  // namespace online
