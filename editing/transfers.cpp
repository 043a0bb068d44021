#include "editing/transfers.h"

#include <functional>
#include <map>

#include "editing/editor.h"
#include "link/failure_watch.h"
#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"
#include "store/applic.h"

namespace editing {

namespace {
constexpr const char* kObjectName = "EditingTransfers";
}

void InstallTransfers(MainWin& win) {
  auto* t = new Transfers(win);
  win.MenuCommandHook = [t, before = win.MenuCommandHook](const std::string& item) {
    if (!t->Command(item) && before) before(item);
  };
  win.CopyTargetHook = [t, before = win.CopyTargetHook](const std::string& item,
                                                        const talvero::CopyTarget& target) {
    if (!t->Copy(item, target) && before) before(item, target);
  };
}

Transfers::Transfers(MainWin& win) : QObject(&win), win_(win) { setObjectName(kObjectName); }

Transfers* Transfers::Of(MainWin& win) {
  return win.findChild<Transfers*>(kObjectName, Qt::FindDirectChildrenOnly);
}

Editor& Transfers::Ed() { return *Editor::Of(win_); }

Applic* Transfers::AppInSlot(int slot) const {
  if (slot < 1 || slot > MainWin::kSlots || !win_.AppOpen[size_t(slot)]) return nullptr;
  return win_.Apps[size_t(slot)].get();
}

void Transfers::NotAnswered(int node, const std::string& what) {
  talvero::ThePrompter().Plain(NotAnsweredHead(node, win_.Link.LastReplyDamaged) + what);
}

bool Transfers::Command(const std::string& item) {
  static const std::map<std::string, void (Transfers::*)()> commands = {
      {"PR_New", &Transfers::PR_New_Click},           {"PR_Delete", &Transfers::PR_Delete_Click},
      {"PR_Prop", &Transfers::PR_Prop_Click},         {"PL_New", &Transfers::PL_New_Click},
      {"LE_Activate", &Transfers::LE_Activate_Click}, {"LE_Delete", &Transfers::LE_Delete_Click},
      {"LE_EditProp", &Transfers::LE_EditProp_Click}, {"PP_Clear", &Transfers::PP_Clear_Click},
      {"PP_Store", &Transfers::PP_Store_Click},       {"PP_EditProp", &Transfers::PP_EditProp_Click},
      {"PA_Paste", &Transfers::PA_Paste_Click},       {"TH_Enable", &Transfers::TH_Enable_Click},
      {"TH_Disable", &Transfers::TH_Disable_Click},
  };
  auto it = commands.find(item);
  if (it == commands.end()) return false;
  if (win_.RunningOperation()) return true;  // the tree keeps its node meanwhile
  (this->*it->second)();
  return true;
}

bool Transfers::Copy(const std::string& item, const talvero::CopyTarget& target) {
  static const std::map<std::string, void (Transfers::*)(const talvero::CopyTarget&)> copies = {
      {"PR_Copy", &Transfers::PR_Copy_Array_Click}, {"PL_Copy", &Transfers::PL_Copy_Array_Click},
      {"LE_Copy", &Transfers::LE_Copy_Array_Click}, {"PP_Copy", &Transfers::PP_Copy_Array_Click},
      {"PA_Copy", &Transfers::PA_Copy_Array_Click}, {"TH_Copy", &Transfers::TH_Copy_Array_Click},
      {"EV_Copy", &Transfers::EV_Copy_Array_Click},
  };
  auto it = copies.find(item);
  if (it == copies.end()) return false;
  if (win_.RunningOperation()) return true;
  (this->*it->second)(target);
  return true;
}

}  // namespace editing
