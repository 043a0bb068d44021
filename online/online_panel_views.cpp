// The status tabs: their dispatch, the status text, the fault history and
// the service reset on a click of the status bar.
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>

#include "link/fault_word.h"
#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "mainwin/stat_strip.h"
#include "online/model/fault_history.h"
#include "online/model/status_panels.h"
#include "online/model/status_text.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "runtime/val.h"

using namespace talvero::online;

void OnlinePanel::StatStrip_Click(int /*previousTab*/) {
  if (!win_.AxisSelected) return;
  StatStrip& strip = *win_.StatStrip;
  if (strip.isHidden()) return;  // no status node selected: nothing to fill
  win_.Form_Resize();
  const QString tab = strip.CurrentCaption();
  if (tab == "General") {
    ShowStatus();
  } else if (tab == "Faults") {
    ShowDiagH();
  } else if (tab == "IO") {
    SetupIOTab();
    ShowIO();
  } else if (tab == "Variables") {
    RefreshUV();
    ShowUV();
    // Hidden and shown again so that both repaint.
    strip.Frame1->hide();
    strip.UV_NV->hide();
    strip.Frame1->show();
    strip.UV_NV->show();
  }
}

void OnlinePanel::ShowStatus() {
  if (PopUpShowing()) return;
  const int node = win_.CurNode;
  if (node < 0 || node > 31) return;
  ISP& link = win_.Link;
  DriveStatusSnapshot s;
  s.driveText = win_.GetDriveNameByNode(node);
  s.node = node;
  Pass pass(*this);
  if (!Ask(node, [&]() { s.status = link.Status(node); })) {
    if (!passGivenUp_) ShowStatusNotAnswering(node);
    return;
  }
  // After the first request that fails, the rest is not sent.
  std::string flt, vel, rerr;
  bool answered = Ask(node, [&]() { flt = link.ValueOf(node, "FLT"); });
  for (int code : FaultCodes(flt)) {
    std::string text;
    answered = answered && Ask(node, [&]() { text = link.FaultText(node, uint8_t(code)); });
    s.faultTexts.push_back(text);
  }
  answered = answered && Ask(node, [&]() { vel = link.ValueOf(node, "VEL"); }) &&
             Ask(node, [&]() { rerr = link.ValueOf(node, "RERR"); });
  if (!answered) {
    if (!passGivenUp_) ShowStatusNotAnswering(node);
    return;
  }
  s.velocity = rt::Val(vel);
  s.runTimeFault = rt::Val(rerr);
  const talvero::LocalDateTime d = talvero::TheClock().Now();
  const QDateTime when(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
  s.when = QLocale().toString(when, QLocale::ShortFormat).toStdString();
  statusText_ = talvero::online::StatusText(s);
  win_.StatStrip->GS_stat->setText(QString::fromStdString(statusText_).replace('\r', '\n'));
}

void OnlinePanel::ShowDiagH() {
  // The node is taken once; a tree click meanwhile is refused, ticks go on.
  mainwin::LongOperation op(win_, win_.CurNode);
  if (!op) return;
  const int node = op.Node();
  if (node < 0) return;
  ISP& link = win_.Link;
  QListWidget* list = win_.StatStrip->FaultList;
  Pass pass(*this);
  win_.MousePointer(11);
  list->clear();
  FaultDetail.clear();
  int row = 0;
  for (int k = 0; k <= 15; ++k) {
    talvero::TheClock().ProcessEvents();
    win_.Prog->setValue(16 * k);
    std::string raw;
    if (!Ask(node, [&]() { raw = link.GetDiag(node, uint8_t(k)); })) {
      ShowFaultsNotAnswering(node);
      break;
    }
    const auto record = ParseFaultRecord(raw);
    if (!record) continue;
    const std::string detail = FaultDetailText(*record, win_.IONumberBase);
    bool answered = true;
    for (int code : FaultCodes(record->faults)) {
      std::string text;
      if (!(answered = Ask(node, [&]() { text = link.FaultText(node, uint8_t(code)); }))) break;
      list->addItem(QString::fromStdString(FaultRowText(row, text, record->text)));
      FaultDetail.push_back(detail);
      ++row;
    }
    if (!answered) {
      if (!passGivenUp_) ShowFaultsNotAnswering(node);
      break;
    }
  }
  win_.Prog->setValue(0);
  win_.MousePointer(0);
}

void OnlinePanel::ShowDiagFull() {
  QListWidget* list = win_.StatStrip->FaultList;
  QListWidgetItem* it = list->currentItem();
  if (!it || !it->isSelected()) return;
  const int row = list->row(it);
  if (row < 0 || size_t(row) >= FaultDetail.size() || FaultDetail[size_t(row)].empty()) return;
  talvero::ThePrompter().Message({FaultDetail[size_t(row)], FaultTitle(it->text().toStdString()),
                                  talvero::Buttons::Ok, talvero::Icon::Information, 0});
}

void OnlinePanel::FaultList_KeyPress(int keyAscii) {
  if (keyAscii == 32) ShowDiagFull();
}

void OnlinePanel::ShowStatusNotAnswering(int node) {
  statusText_ = NotAnswering(node) + ".";
  win_.StatStrip->GS_stat->setText(QString::fromStdString(statusText_));
}

void OnlinePanel::ShowFaultsNotAnswering(int node) {
  QListWidget* list = win_.StatStrip->FaultList;
  list->clear();
  FaultDetail.clear();
  list->addItem(QString::fromStdString(NotAnswering(node) + "."));
  FaultDetail.push_back("");
}

void OnlinePanel::FollowAnswering(bool wasAnswering) {
  StatStrip& strip = *win_.StatStrip;
  if (strip.isHidden()) return;
  const int node = win_.CurNode;
  const QString tab = strip.CurrentCaption();
  if (tab == "General") {
    if (wasAnswering) ShowStatusNotAnswering(node);
    else ShowStatus();
  } else if (tab == "Faults") {
    if (wasAnswering) ShowFaultsNotAnswering(node);
    else ShowDiagH();
  }
}

void OnlinePanel::Mon1_Click() {
  if (win_.AxisSelected && !win_.AppSelected && win_.ServiceMode() && win_.CurNode > 0)
    win_.Link.Reset(win_.CurNode);
}
