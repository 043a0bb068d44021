#pragma once
// The events view's two sides: the drive at a node over the window's link,
// and the window's list.
#include <functional>
#include <optional>

#include "editing/view_read.h"
#include "store/threads_mod.h"

class MainWin;

namespace editing {

// Its requests are one read of the drive (ViewRead), begun by the first:
// once one went unanswered, no other is sent.
class LinkEventDrive : public ThreadsMod::EventDrive {
 public:
  LinkEventDrive(MainWin& win, int node) : win_(win), node_(node) {}
  std::string GetThread(int event) override;
  uint16_t GetThreadStat() override;
  bool SetThread(int event, const std::string& text) override;
  bool Exec(const std::string& command) override;
  bool Failed() const override { return read_ && read_->Failed(); }
  // The read, once a request began it.
  const ViewRead* Read() const { return read_ ? &*read_ : nullptr; }

 private:
  bool Ask(const std::function<void()>& request);

  MainWin& win_;
  int node_;
  std::optional<ViewRead> read_;
};

// Rows of the main list with the pictures "on" and "off".
class ListEventView : public ThreadsMod::EventList {
 public:
  explicit ListEventView(MainWin& win) : win_(win) {}
  void SetBusy(bool busy) override;
  void Clear() override;
  void SetTabWidth(int column, int width) override;
  void AddRow(const std::string& text, bool on) override;
  void SetRowText(int row, const std::string& text) override;
  void SetRowPicture(int row, bool on) override;

 private:
  MainWin& win_;
};

}  // namespace editing
