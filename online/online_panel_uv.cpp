// The "Variables" tab: the drive's user variables, defined, deleted and set.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "link/failure_watch.h"
#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "mainwin/stat_strip.h"
#include "online/model/uv_name.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "runtime/cp1252.h"
#include "runtime/cstr.h"
#include "store/syntax.h"

using talvero::online::kUVDefineTitle;

std::string OnlinePanel::SelectedUV() const {
  QListWidgetItem* it = win_.StatStrip->UV_Select->currentItem();
  if (!it || !it->isSelected()) return "";
  return it->text().toStdString();
}

void OnlinePanel::RefreshUV() {
  // The node is taken once; a tree click meanwhile is refused, ticks go on.
  mainwin::LongOperation op(win_, win_.CurNode);
  if (!op) return;
  const int node = op.Node();
  if (node < 0) return;
  StatStrip& strip = *win_.StatStrip;
  win_.MousePointer(11);
  strip.UV_PV->clear();
  strip.UV_Select->clear();
  strip.DeleteUV->setEnabled(false);
  strip.UV_Change->setEnabled(false);
  talvero::TheClock().ProcessEvents();
  for (int slot = 0; slot <= 47; ++slot) {
    const std::string name = win_.Link.GetUVName(node, uint8_t(slot));
    if (!name.empty()) strip.UV_Select->addItem(QString::fromStdString(name));
  }
  win_.MousePointer(0);
  if (!SelectedUV().empty()) {
    strip.DeleteUV->setEnabled(true);
    strip.UV_Change->setEnabled(true);
  }
}

void OnlinePanel::ShowUV() {
  const std::string name = SelectedUV();
  if (name.empty() || win_.CurNode < 0) return;
  const float v = win_.Link.NewValueOf(win_.CurNode, name);
  win_.StatStrip->UV_PV->setText(QString::fromStdString(rt::CStrSingle(v)));
}

void OnlinePanel::UV_Select_Click() {
  if (SelectedUV().empty()) return;
  StatStrip& strip = *win_.StatStrip;
  strip.AddUV->setEnabled(true);
  strip.DeleteUV->setEnabled(true);
  strip.UV_Change->setEnabled(true);
  strip.UV_PV->clear();
  ShowUV();
}

void OnlinePanel::AddUV_Click() {
  if (!DriveSelected()) return;
  talvero::Prompter& ask = talvero::ThePrompter();
  const auto answer = ask.Input("Name of New User Variable?", kUVDefineTitle, "");
  if (!answer || answer->empty()) return;
  const talvero::online::UVNameCheck check = talvero::online::CheckUVName(*answer);
  if (!check.ok()) {
    ask.Message({check.refusal, kUVDefineTitle, talvero::Buttons::Ok, talvero::Icon::None, 0});
    return;
  }
  const int node = win_.CurNode;
  FailureWatch watch(win_.Link);
  const std::string free = win_.Link.Info(node, 4, check.name);
  if (watch.Failed()) {
    ask.Message({"Cannot define " + check.name + ": the drive did not answer.", kUVDefineTitle,
                 talvero::Buttons::Ok, talvero::Icon::None, 0});
    return;
  }
  if (free != "N") {
    ask.Message({"Cannot define " + check.name + " as it already exists.", kUVDefineTitle,
                 talvero::Buttons::Ok, talvero::Icon::None, 0});
    return;
  }
  win_.Link.AddUVName(node, check.name);
  RefreshUV();
}

void OnlinePanel::DeleteUV_Click() {
  const std::string name = SelectedUV();
  if (name.empty() || !DriveSelected()) return;
  const talvero::Answer a = talvero::ThePrompter().Message(
      {"Delete " + name + " ? ", "Delete User Variable...", talvero::Buttons::OkCancel, talvero::Icon::None, 0});
  if (a != talvero::Answer::Ok) return;
  win_.Link.DelUVName(win_.CurNode, name);
  RefreshUV();
}

void OnlinePanel::UV_Change_Click() {
  const std::string name = SelectedUV();
  if (name.empty() || !DriveSelected()) return;
  const std::string e = win_.StatStrip->UV_NV->text().toStdString();
  if (!Syntax::IsValidExpression(e)) {
    talvero::ThePrompter().Message({"A valid expression (without any spaces) is required.", "Talvero",
                                    talvero::Buttons::Ok, talvero::Icon::Critical, 0});
    return;
  }
  // Sent as ":!NAME=" and the expression.
  if (const std::string tooLong =
          online::TooLongForDrive(e, online::RequestRoom(3 + rt::CharCount(name)), "expression");
      !tooLong.empty()) {
    talvero::ThePrompter().Message({tooLong, "Talvero", talvero::Buttons::Ok, talvero::Icon::Critical, 0});
    return;
  }
  win_.Link.Exec(win_.CurNode, "!" + name + "=" + e);
  ShowUV();
}
