#pragma once
// One read of several requests to one drive behind a view or an editor: a
// mainwin::DriveRead that, while window events run between a request's
// tries, holds the window's long-operation guard, so a click meanwhile cannot
// fill another view or start another read under this one. A read whose
// requests are answered at once runs no events and takes no guard.
#include <functional>
#include <optional>

#include "mainwin/drive_read.h"
#include "mainwin/long_operation.h"

class MainWin;

namespace editing {

class ViewRead {
 public:
  ViewRead(MainWin& win, int node);
  ~ViewRead();
  ViewRead(const ViewRead&) = delete;
  ViewRead& operator=(const ViewRead&) = delete;

  // mainwin::DriveRead::Ask: nothing is sent once a request failed.
  bool Ask(const std::function<void()>& request) { return read_.Ask(request); }
  bool Failed() const { return read_.Failed(); }
  const mainwin::DriveRead& Drive() const { return read_; }

 private:
  MainWin& win_;
  mainwin::DriveRead read_;
  std::function<bool(int)> retry_;  // the DriveRead's own
  std::optional<mainwin::LongOperation> guard_;
};

}  // namespace editing
