#include "online/admin_support.h"

#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"

namespace online {

std::optional<int> DriveOnLine(const MainWin& win) {
  const int node = win.CurNode;
  if (!win.AxisSelected || win.AppSelected || !win.NodeTables.HasDrive(node)) return std::nullopt;
  return node;
}

void Inform(const std::string& text, const std::string& title) {
  talvero::ThePrompter().Message({text, title, talvero::Buttons::Ok, talvero::Icon::None, 0});
}

bool ConfirmOk(const std::string& text) {
  return talvero::ThePrompter().Message(
             {text, "Talvero", talvero::Buttons::OkCancel, talvero::Icon::Question, 1}) ==
         talvero::Answer::Ok;
}

bool ConfirmInitialise() {
  return ConfirmOk("Are you really sure you want to initialize this axis ?") &&
         ConfirmOk("ALL programs, parameters and events will be lost...there is NO UNDO!   Continue ?");
}

bool AcceptDriveText(const DriveText& text, const std::string& what, size_t maxBytes) {
  switch (text.problem) {
    case DriveTextProblem::None: return true;
    case DriveTextProblem::Character:
      Inform("The " + what + " holds a character that a drive cannot store. Nothing was sent.");
      return false;
    case DriveTextProblem::TooLong:
      Inform("The " + what + " is too long: a drive takes at most " + std::to_string(maxBytes) +
             " characters. Nothing was sent.");
      return false;
  }
  return false;
}

}  // namespace online
