#pragma once
// The end of a command that changed what a drive runs: the restart request,
// its wait, then the tree searched afresh with its root selected.
#include <optional>
#include <string>

#include "mainwin/long_operation.h"

class MainWin;

namespace online {

// Restarts the operation's drive with text (the link's BigReset), waits
// waitMs, lets go of the operation and refreshes the tree.
void RestartAndRefresh(MainWin& w, std::optional<mainwin::LongOperation>& op, const std::string& text,
                       int waitMs);

}  // namespace online
