// The "Variables" tab: the drive's user variables, defined, deleted and set.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "mainwin/drive_read.h"
#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "mainwin/stat_strip.h"
#include "online/model/uv_name.h"
#include "online/online_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
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
  mainwin::DriveRead read(win_, node);
  for (int slot = 0; slot <= 47; ++slot) {
    std::string name;
    if (!read.Ask([&]() { name = win_.Link.GetUVName(node, uint8_t(slot)); })) break;
    if (!name.empty()) strip.UV_Select->addItem(QString::fromStdString(name));
  }
  win_.MousePointer(0);
  if (read.Failed()) {
    ShowUVNotAnswering(read);
    return;
  }
  if (!SelectedUV().empty()) {
    strip.DeleteUV->setEnabled(true);
    strip.UV_Change->setEnabled(true);
  }
}

void OnlinePanel::ShowUV() {
  const std::string name = SelectedUV();
  if (name.empty() || win_.CurNode < 0) return;
  const int node = win_.CurNode;
  mainwin::DriveRead read(win_, node);
  float v = 0;
  if (!read.Ask([&]() { v = win_.Link.NewValueOf(node, name); })) {
    ShowUVNotAnswering(read);
    return;
  }
  win_.StatStrip->UV_PV->setText(QString::fromStdString(rt::CStrSingle(v)));
}

void OnlinePanel::ShowUVNotAnswering(const mainwin::DriveRead& read) {
  StatStrip& strip = *win_.StatStrip;
  // The names read before the silence may be stale: none is shown as if read.
  strip.UV_Select->clear();
  auto* line = new QListWidgetItem(QString::fromStdString(read.NotAnswering() + "."));
  line->setFlags(Qt::ItemIsEnabled);  // a message, not a variable to pick
  strip.UV_Select->addItem(line);
  strip.UV_PV->clear();
  strip.DeleteUV->setEnabled(false);
  strip.UV_Change->setEnabled(false);
  win_.AwaitAnswer(read.Node(), [this]() {
    const StatStrip& s = *win_.StatStrip;
    if (!s.isHidden() && s.CurrentCaption() == "Variables") RefreshUV();
  });
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
  mainwin::DriveRead read(win_, node);
  std::string free;
  if (read.Ask([&]() { free = win_.Link.Info(node, 4, check.name); }) && free != "N") {
    ask.Message({"Cannot define " + check.name + " as it already exists.", kUVDefineTitle,
                 talvero::Buttons::Ok, talvero::Icon::None, 0});
    return;
  }
  read.Ask([&]() { win_.Link.AddUVName(node, check.name); });
  if (read.Failed()) {
    ask.Message({"Cannot define " + check.name + ": the drive did not answer.", kUVDefineTitle,
                 talvero::Buttons::Ok, talvero::Icon::None, 0});
    ShowUVNotAnswering(read);
    return;
  }
  RefreshUV();
}

void OnlinePanel::DeleteUV_Click() {
  const std::string name = SelectedUV();
  if (name.empty() || !DriveSelected()) return;
  const talvero::Answer a = talvero::ThePrompter().Message(
      {"Delete " + name + " ? ", "Delete User Variable...", talvero::Buttons::OkCancel, talvero::Icon::None, 0});
  if (a != talvero::Answer::Ok) return;
  mainwin::DriveRead read(win_, win_.CurNode);
  if (!read.Ask([&]() { win_.Link.DelUVName(read.Node(), name); })) {
    ShowUVNotAnswering(read);
    return;
  }
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
  if (const std::string tooLong = talvero::online::UVValueTooLong(name, e); !tooLong.empty()) {
    talvero::ThePrompter().Message({tooLong, "Talvero", talvero::Buttons::Ok, talvero::Icon::Critical, 0});
    return;
  }
  mainwin::DriveRead read(win_, win_.CurNode);
  if (!read.Ask([&]() { win_.Link.Exec(read.Node(), "!" + name + "=" + e); })) {
    ShowUVNotAnswering(read);
    return;
  }
  ShowUV();
}
