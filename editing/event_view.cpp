#include "editing/event_view.h"

#include "link/isp.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"

namespace editing {

std::string LinkEventDrive::GetThread(int event) { return link_.GetThread(node_, uint8_t(event)); }
uint16_t LinkEventDrive::GetThreadStat() { return uint16_t(link_.GetThreadStat(node_)); }
bool LinkEventDrive::SetThread(int event, const std::string& text) { return link_.SetThread(node_, event, text); }
bool LinkEventDrive::Exec(const std::string& command) { return link_.Exec(node_, command); }

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
