#include "editing/event_view.h"

#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"

namespace editing {

bool LinkEventDrive::Ask(const std::function<void()>& request) {
  // Made at the first request: an editor's dialog runs before any.
  if (!read_) read_.emplace(win_, node_);
  return read_->Ask(request);
}

std::string LinkEventDrive::GetThread(int event) {
  std::string text;
  Ask([&] { text = win_.Link.GetThread(node_, uint8_t(event)); });
  return text;
}

uint16_t LinkEventDrive::GetThreadStat() {
  uint16_t mask = 0;
  Ask([&] { mask = uint16_t(win_.Link.GetThreadStat(node_)); });
  return mask;
}

bool LinkEventDrive::SetThread(int event, const std::string& text) {
  bool ok = false;
  Ask([&] { ok = win_.Link.SetThread(node_, event, text); });
  return ok;
}

bool LinkEventDrive::Exec(const std::string& command) {
  bool ok = false;
  Ask([&] { ok = win_.Link.Exec(node_, command); });
  return ok;
}

void ListEventView::SetBusy(bool busy) { win_.MousePointer(busy ? 11 : 0); }
void ListEventView::Clear() { win_.EditList->Clear(); }
void ListEventView::SetTabWidth(int column, int width) { win_.EditList->SetTabWidth(column, width); }
void ListEventView::AddRow(const std::string& text, bool on) {
  win_.EditList->AddItem(text, win_.StepImages.Picture(on ? "on" : "off"));
}
void ListEventView::SetRowText(int row, const std::string& text) { win_.EditList->SetList(row, text); }
void ListEventView::SetRowPicture(int row, bool on) {
  win_.EditList->SetListPicture(row, win_.StepImages.Picture(on ? "on" : "off"));
}

}  // namespace editing
