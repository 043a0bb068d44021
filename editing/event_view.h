#pragma once
// The events view's two sides: the drive at a node over the window's link,
// and the window's list.
#include "store/threads_mod.h"

class ISP;
class MainWin;

namespace editing {

class LinkEventDrive : public ThreadsMod::EventDrive {
 public:
  LinkEventDrive(ISP& link, int node) : link_(link), node_(node) {}
  std::string GetThread(int event) override;
  uint16_t GetThreadStat() override;
  bool SetThread(int event, const std::string& text) override;
  bool Exec(const std::string& command) override;

 private:
  ISP& link_;
  int node_;
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
