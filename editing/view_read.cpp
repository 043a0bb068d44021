#include "editing/view_read.h"

#include "mainwin/main_win.h"

namespace editing {

ViewRead::ViewRead(MainWin& win, int node) : win_(win), read_(win, node), retry_(win.Link.BeforeRetry) {
  win_.Link.BeforeRetry = [this](int n) {
    // Held already when the caller runs a long operation of its own.
    if (!guard_ && !win_.RunningOperation()) guard_.emplace(win_, read_.Node());
    return retry_(n);
  };
}

ViewRead::~ViewRead() { win_.Link.BeforeRetry = std::move(retry_); }

}  // namespace editing
