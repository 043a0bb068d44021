#include "online/drive_menu.h"

#include <functional>
#include <map>

#include "mainwin/drive_read.h"
#include "mainwin/main_win.h"
#include "online/admin_support.h"
#include "online/cf_form.h"
#include "online/model/config_words.h"
#include "online/model/drive_text.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"

namespace online {

namespace {

// Each command's requests are one read of its drive: after one has failed all
// its tries the rest is not sent, and the box says so. The read is made once
// the user has answered, so no box or dialog runs inside it.
bool Answered(const mainwin::DriveRead& read) {
  if (!read.Failed()) return true;
  Inform(read.NotAnswering() + ".");
  return false;
}

void AA_Firm(MainWin& w, int node) {
  mainwin::DriveRead read(w, node);
  std::string text, clock;
  read.Ask([&]() { text = w.Link.Info(node, 1, ""); });
  const bool rho = w.NodeTables.FamilyOf(node) == "RHO";
  if (rho) read.Ask([&]() { clock = w.Link.Info(node, 2, ""); });
  if (!Answered(read)) return;
  if (rho) text += "Date/Time set as: " + clock;
  Inform(text, "Axis information...");  // the link gives the drive's text as UTF-8
}

void AA_SDT(MainWin& w, int node) {
  mainwin::DriveRead read(w, node);
  read.Ask([&]() { w.Link.SetTime(node); });
  Answered(read);
}

// "word 9 was", "words 8 and 9 were", "words 3 to 9 were": from word k of count on.
std::string WordsFrom(size_t k, size_t count) {
  if (k + 1 == count) return "word " + std::to_string(k) + " was";
  return "words " + std::to_string(k) + (k + 2 == count ? " and " : " to ") + std::to_string(count - 1) +
         " were";
}

void AA_SetConfig(MainWin& w, int node) {
  if (!w.ServiceMode()) return;  // factory settings: service mode only
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  auto* form = qobject_cast<CF_Form*>(wf.Window("CF_Form"));
  if (!form) return;
  form->Open(node);
  wf.ShowModal("CF_Form");
  const std::vector<std::string> words = SplitConfigList(form->ConfigList);
  mainwin::DriveRead read(w, node);
  for (size_t k = 0; k < words.size(); ++k) {
    if (read.Ask([&]() { w.Link.SetConfig(node, uint8_t(k), words[k]); })) continue;
    Inform(read.NotAnswering() + ": configuration " + WordsFrom(k, words.size()) +
           " not set. Check the configuration and set it again.");
    return;
  }
}

void AA_DriveName(MainWin& w, int node) {
  const std::optional<std::string> answer = talvero::ThePrompter().Input("Drive name?", "Talvero", "");
  if (!answer || answer->empty()) return;
  const DriveText name = ToDriveText(*answer, kMaxDriveTextBytes);
  if (!AcceptDriveText(name, "drive name", kMaxDriveTextBytes)) return;
  mainwin::DriveRead read(w, node);
  read.Ask([&]() { w.Link.SetDriveName(node, *answer); });  // checked above; the link converts it
  if (Answered(read)) w.SpRef_Click();
}

void AA_Cal(MainWin& w, int node) {
  mainwin::DriveRead read(w, node);
  for (int i = 0; i < 10; ++i)
    if (!read.Ask([&]() { w.Link.Cal(node); })) break;
  Answered(read);
}

void AA_Zap(MainWin& w, int node) {
  if (!ConfirmInitialise()) return;
  w.Link.Special(node, "D");
  w.Link.GoSleep(500);
  w.RefreshTree();
}

void AA_KillUV(MainWin& w, int node) {
  if (!ConfirmOk("ALL user variables will be lost...there is NO UNDO!   Continue ?")) return;
  mainwin::DriveRead read(w, node);
  read.Ask([&]() { w.Link.DelUVName(node, "*"); });
  Answered(read);
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
