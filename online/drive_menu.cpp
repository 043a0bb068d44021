#include "online/drive_menu.h"

#include <functional>
#include <map>

#include "mainwin/main_win.h"
#include "online/admin_support.h"
#include "online/cf_form.h"
#include "online/model/config_words.h"
#include "online/model/drive_text.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"

namespace online {

namespace {

void AA_Firm(MainWin& w, int node) {
  std::string text = w.Link.Info(node, 1, "");
  if (w.NodeTables.FamilyOf(node) == "RHO") text += "Date/Time set as: " + w.Link.Info(node, 2, "");
  Inform(text, "Axis information...");  // the link gives the drive's text as UTF-8
}

void AA_SDT(MainWin& w, int node) { w.Link.SetTime(node); }

void AA_SetConfig(MainWin& w, int node) {
  if (!w.ServiceMode()) return;  // factory settings: service mode only
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  auto* form = qobject_cast<CF_Form*>(wf.Window("CF_Form"));
  if (!form) return;
  form->Open(node);
  wf.ShowModal("CF_Form");
  const std::vector<std::string> words = SplitConfigList(form->ConfigList);
  // Every word is tried; those the drive did not acknowledge are named once.
  std::string refused;
  for (size_t k = 0; k < words.size(); ++k) {
    if (w.Link.SetConfig(node, uint8_t(k), words[k])) continue;
    refused += (refused.empty() ? "" : ", ") + std::to_string(k);
  }
  if (!refused.empty())
    Inform("The drive did not accept configuration word(s) " + refused +
           ". Check the configuration and set it again.");
}

void AA_DriveName(MainWin& w, int node) {
  const std::optional<std::string> answer = talvero::ThePrompter().Input("Drive name?", "Talvero", "");
  if (!answer || answer->empty()) return;
  const DriveText name = ToDriveText(*answer, kMaxDriveTextBytes);
  if (!AcceptDriveText(name, "drive name", kMaxDriveTextBytes)) return;
  w.Link.SetDriveName(node, *answer);  // checked above; the link converts it
  w.SpRef_Click();
}

void AA_Cal(MainWin& w, int node) {
  for (int i = 0; i < 10; ++i) w.Link.Cal(node);
}

void AA_Zap(MainWin& w, int node) {
  if (!ConfirmInitialise()) return;
  w.Link.Special(node, "D");
  w.Link.GoSleep(500);
  w.RefreshTree();
}

void AA_KillUV(MainWin& w, int node) {
  if (!ConfirmOk("ALL user variables will be lost...there is NO UNDO!   Continue ?")) return;
  w.Link.DelUVName(node, "*");
}

}  // namespace

bool RunDriveMenuCommand(MainWin& win, const std::string& item) {
  static const std::map<std::string, void (*)(MainWin&, int)> commands = {
      {"AA_Firm", AA_Firm},           {"AA_SDT", AA_SDT}, {"AA_SetConfig", AA_SetConfig},
      {"AA_DriveName", AA_DriveName}, {"AA_Cal", AA_Cal}, {"AA_Zap", AA_Zap},
      {"AA_KillUV", AA_KillUV},
  };
  auto it = commands.find(item);
  if (it == commands.end()) return false;
  if (const std::optional<int> node = DriveOnLine(win)) it->second(win, *node);
  return true;
}

void InstallDriveMenu(MainWin& win) {
  talvero::TheWindowFactory().Register(
      "CF_Form", [&win](QWidget* parent) -> QWidget* { return new CF_Form(win, parent); });
  std::function<void(const std::string&)> next = win.MenuCommandHook;
  win.MenuCommandHook = [&win, next](const std::string& item) {
    if (RunDriveMenuCommand(win, item)) return;
    if (next) next(item);
  };
}

}  // namespace online
