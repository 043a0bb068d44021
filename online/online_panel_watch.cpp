// The ten watch lines: the watch menu's items and the pass of every tick.
#include <QCursor>
#include <QListWidget>
#include <QMenu>

#include "mainwin/main_win.h"
#include "online/model/drive_text.h"
#include "online/model/watch_line.h"
#include "online/online_panel.h"
#include "platform/ui/prompter.h"
#include "runtime/text.h"
#include "store/syntax.h"

using talvero::WatchSlotData;

int OnlinePanel::SelectedWatchLine() const {
  QListWidgetItem* it = win_.Watch->currentItem();
  if (!it || !it->isSelected()) return -1;
  return win_.Watch->row(it);
}

void OnlinePanel::SetWatchLine(int line, const std::string& text) {
  QListWidgetItem* it = win_.Watch->item(line);
  const QString t = QString::fromStdString(text);
  if (it && it->text() != t) it->setText(t);
}

void OnlinePanel::Watch_DblClick() {
  if (!win_.AxisSelected || win_.AppSelected) return;
  PopUp(win_.WAMenu, QCursor::pos());
}

void OnlinePanel::Watch_KeyPress(int keyAscii) {
  if (keyAscii == 32) Watch_DblClick();
}

namespace {

// The slot takes its new reading; the expression goes in last, so a slot
// is never read half set.
void Fill(WatchSlotData& slot, const WatchSlotData& with) {
  slot.WatchExpr.clear();
  slot.WatchLabel = with.WatchLabel;
  slot.WatchFmt = with.WatchFmt;
  slot.WatchNode = with.WatchNode;
  slot.WatchUnits = with.WatchUnits;
  slot.WatchScale = with.WatchScale;
  slot.WatchExpr = with.WatchExpr;
}

}  // namespace

void OnlinePanel::SetWatchItem(const std::string& item) {
  const int line = SelectedWatchLine();
  const talvero::online::WatchItem* w = talvero::online::FindWatchItem(item);
  if (line < 0 || !w) return;
  Fill(win_.WatchSlot[size_t(line + 1)], talvero::online::SlotFor(*w, win_.CurNode));
  ++watchChanges_;
  SetWatchLine(line, " ");
}

void OnlinePanel::WA_Clear_Click() {
  const int line = SelectedWatchLine();
  if (line < 0) return;
  win_.WatchSlot[size_t(line + 1)].WatchExpr.clear();
  ++watchChanges_;
  SetWatchLine(line, " ");
}

void OnlinePanel::WA_Arb_Click() {
  const int line = SelectedWatchLine();
  if (line < 0) return;
  WatchSlotData& slot = win_.WatchSlot[size_t(line + 1)];
  const auto answer = talvero::ThePrompter().Input("Expression?", "Arbitrary Expression", slot.WatchExpr);
  if (!answer || answer->empty()) return;
  if (!Syntax::IsValidExpression(*answer)) {
    talvero::ThePrompter().Message({"A valid expression (without any spaces) is required.", "Talvero",
                                    talvero::Buttons::Ok, talvero::Icon::Critical, 0});
    return;
  }
  const std::string expr = rt::UCase(rt::Trim(*answer));
  // Asked for with one command byte before it ("+").
  if (const std::string tooLong = online::TooLongForDrive(expr, online::RequestRoom(1), "expression");
      !tooLong.empty()) {
    talvero::ThePrompter().Message({tooLong, "Talvero", talvero::Buttons::Ok, talvero::Icon::Critical, 0});
    return;
  }
  Fill(slot, talvero::online::ArbitrarySlot(expr, win_.CurNode));
  ++watchChanges_;
  SetWatchLine(line, " ");
}

void OnlinePanel::WatchPass() {
  Pass pass(*this);
  for (int k = 1; k <= 10; ++k) {
    const WatchSlotData& slot = win_.WatchSlot[size_t(k)];
    if (slot.WatchExpr.empty()) continue;
    const int node = slot.WatchNode;
    const std::string text = talvero::online::WatchLineText(
        slot, win_.NodeTables.HasDrive(node), [&](const std::string& expr) -> std::optional<float> {
          float v = 0;
          if (!Ask(node, [&]() { v = win_.Link.NewValueOf(node, expr); })) return std::nullopt;
          return v;
        });
    // A handler between two packets may have changed the slot: its text is stale.
    if (passGivenUp_) return;
    SetWatchLine(k - 1, text);
  }
}
