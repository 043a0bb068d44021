// The tree's pop-up menus, and the application and axis commands in them.
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QTimer>

#include "mainwin/copy_target_data.h"
#include "mainwin/drive_read.h"
#include "mainwin/main_win.h"
#include "mainwin/model/context_menus.h"
#include "mainwin/model/file_menu.h"
#include "mainwin/model/tree_branches.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/tree_branches.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/plain_text.h"
#include "store/applic.h"

namespace {

// Drive and file texts are shown as they are: "&" is no access key.
QString Caption(const std::string& text, bool literal) {
  return literal ? talvero::LiteralMenuText(text) : talvero::ToQ(text);
}

constexpr const char* kTargetItem = "talvero_copy_item";  // the copy item an entry belongs to

}  // namespace

void MainWin::ConnectContextMenus() {
  const std::map<std::string, std::function<void()>> own = {
      {"AP_Close", [this]() { AP_Close_Click(); }},
      {"AP_NewAxRho", [this]() { NewAxis("RHO"); }},
      {"AP_NewAxTau", [this]() { NewAxis("TAU"); }},
      {"AP_NewAxPHI", [this]() { NewAxis("PHI"); }},
      {"AP_NewAxPSI", [this]() { NewAxis("PSI"); }},
      {"AX_Del", [this]() { AX_Del_Click(); }},
      {"LE_Rename", [this]() { StartRename(); }},
      {"PR_Rename", [this]() { StartRename(); }},
  };
  for (QMenu* m : {AAMenu, PPMenu, LEMenu, PLMenu, THMenu, EVMenu, PAMenu, PRMenu, APMenu, AXMenu}) {
    for (QAction* a : m->actions()) {
      if (a->isSeparator()) continue;
      const std::string name = a->objectName().toStdString();
      if (QMenu* sub = a->menu()) {
        // The design-time entry 0 "none"; the loaded entries connect when loaded.
        const std::string item = sub->objectName().toStdString();
        QAction* first = sub->actions().value(0);
        first->setProperty(kTargetItem, QString::fromStdString(item));
        connect(first, &QAction::triggered, this, [this, first, item]() {
          if (first->data().canConvert<talvero::CopyTarget>() && CopyTargetHook)
            CopyTargetHook(item, first->data().value<talvero::CopyTarget>());
        });
        continue;
      }
      auto it = own.find(name);
      if (it != own.end()) {
        connect(a, &QAction::triggered, this, it->second);
      } else {
        connect(a, &QAction::triggered, this, [this, name]() {
          if (MenuCommandHook) MenuCommandHook(name);
        });
      }
    }
    connect(m, &QMenu::aboutToHide, this, [this, m]() {
      // After the chosen entry's handler: the menu closes before it runs.
      QTimer::singleShot(0, this, [this, m]() { UnloadTargets(m); });
      if (shownMenu_ == m) shownMenu_ = nullptr;
    });
  }
}

void MainWin::UnloadTargets(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    QMenu* sub = a->menu();
    if (!sub) continue;
    const QList<QAction*> entries = sub->actions();
    for (int i = int(entries.size()) - 1; i >= 1; --i) {
      sub->removeAction(entries[i]);
      entries[i]->deleteLater();
    }
    if (!entries.isEmpty()) {
      entries[0]->setText("none");
      entries[0]->setData(QVariant());
      entries[0]->setEnabled(true);
    }
  }
}

QMenu* MainWin::ShownContextMenu() const { return shownMenu_; }

void MainWin::Sys_MouseDown(int Button, int /*Shift*/, int /*X*/, int /*Y*/) {
  if (Button != 2) return;
  ShowContextMenu(QCursor::pos());
}

void MainWin::Sys_KeyPress(int KeyAscii) {
  if (KeyAscii == 32) Sys_MouseDown(2, 0, 0, 0);
}

void MainWin::ShowContextMenu(const QPoint& globalPos) {
  talvero::ContextMenuInput in;
  in.selKey = SelKey;
  in.curNode = CurNode;
  in.curApp = CurApp;
  in.appSelected = AppSelected;
  in.programNodeSelected = ProgramNodeSelected;
  in.serviceMode = ServiceMode();
  in.nodes = &NodeTables;
  for (int s = 1; s <= kSlots; ++s) {
    if (!AppOpen[s]) continue;
    talvero::OpenApp app{s, Apps[s]->Name, {}};
    for (int x = 1; x <= Applic::GetMaxAxis(); ++x)
      app.axes.push_back({x, Apps[s]->GetAxisName(int16_t(x)), Apps[s]->WhatType(int16_t(x))});
    in.apps.push_back(std::move(app));
  }
  in.running = [this](int node) { return Line().Running(node); };
  // The drive menu's two texts are one read of the drive: a silent one is
  // asked once, and its menu says so.
  mainwin::DriveRead read(*this, CurNode);
  in.freeText = [this, &read](int node) {
    std::string text;
    if (!read.Ask([&]() { text = Line().Info(node, 3); })) return read.NotAnswering();
    return text;
  };
  in.serial = [this, &read](int node) {
    std::string text;
    read.Ask([&]() { text = Line().GetSerial(node); });
    return text;
  };
  in.copyBufferCount = ParameterCopyCount;
  in.copyBufferFamily = ParameterCopyFamily;
  const std::optional<talvero::ContextMenu> model = talvero::ContextMenuFor(in);
  if (!model) return;

  QMenu* menu = findChild<QMenu*>(QString::fromStdString(model->name), Qt::FindDirectChildrenOnly);
  if (!menu) return;
  UnloadTargets(menu);
  for (const talvero::ContextMenuItem& item : model->items) {
    if (item.separator) continue;
    QAction* a = Item(item.name);
    if (!a) continue;
    a->setText(Caption(item.caption, item.literalCaption));
    a->setEnabled(item.enabled);
    a->setVisible(item.visible);
    QMenu* sub = a->menu();
    if (!sub || item.targets.empty()) continue;
    const std::string array = item.name + "_Array_";
    QAction* first = sub->actions().value(0);
    for (size_t i = 0; i < item.targets.size(); ++i) {
      const talvero::TargetItem& t = item.targets[i];
      QAction* entry = first;
      if (i > 0) {
        entry = sub->addAction(QString());
        entry->setObjectName(QString::fromStdString(array + std::to_string(i)));
        const std::string itemName = item.name;
        connect(entry, &QAction::triggered, this, [this, entry, itemName]() {
          if (CopyTargetHook) CopyTargetHook(itemName, entry->data().value<talvero::CopyTarget>());
        });
      }
      entry->setText(Caption(t.caption, true));
      entry->setEnabled(t.enabled);
      entry->setData(QVariant::fromValue(t.target));
    }
  }
  shownMenu_ = menu;
  menu->popup(globalPos);
}

void MainWin::CloseApp(int slot) {
  Applic* app = OpenApp(slot);
  if (!app) return;
  app->AClose();
  AppOpen[slot] = false;
  if (CurApplic == app) CurApplic = nullptr;
  Sys->Remove(TreeKey::Make("AP", {slot}).Format());
  Sys_NodeClick(Sys->SelectedKey());
}

void MainWin::AP_Close_Click() {
  if (AppSelected) CloseApp(CurApp);
}

void MainWin::NewAxis(const std::string& family) {
  Applic* open = AppSelected ? OpenApp(CurApp) : nullptr;
  if (!open) return;
  const std::optional<std::string> name =
      talvero::ThePrompter().Input(talvero::kNewAxisPrompt, talvero::kNewAxisTitle, "");
  if (!name || name->empty()) return;
  Applic& app = *open;
  const auto status = app.AddAxis(*name, family, ParametersRS);
  const int x = app.NewAxisSlot;
  // Refusals were shown by the application file; the tree stays as it is.
  if (!status.ok() || x < 1) return;
  const std::string longName = app.LongName(int16_t(x));
  mainwin::AddNodes(*Sys, talvero::AxisBranch(x, CurApp, longName, app.GetAxisName(int16_t(x))));
  SelectAndClick(TreeKey::Make("AX", {-x, CurApp}).Format());
}

void MainWin::AX_Del_Click() {
  if (!AxisSelected || !AppSelected || CurNode >= 0) return;
  Applic* open = OpenApp(CurApp);
  if (!open) return;
  Applic& app = *open;
  const int16_t slot = int16_t(-CurNode);
  const std::string name = app.GetAxisName(slot);
  if (talvero::ThePrompter().Message(talvero::DeleteAxisQuestion(name)) != talvero::Answer::Ok)
    return;
  const auto status = app.DelAxis(slot);
  if (!status.ok()) {
    talvero::ThePrompter().Critical("Couldn't delete the axis " + name + ": " + status.error);
    return;
  }
  Sys->Remove(TreeKey::Make("AX", {CurNode, CurApp}).Format());
  Sys_NodeClick(Sys->SelectedKey());
}
