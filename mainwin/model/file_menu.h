#pragma once
// The File menu's and the application menus' rules that need no window: the
// check of a new application's name, the slot an application opens into, and
// the fixed texts of their boxes.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/ui/prompter.h"

namespace talvero {

constexpr int kAppSlots = 16;

inline constexpr const char* kNewAppPrompt = "Name of new application:";
inline constexpr const char* kNewAppTitle = "New Application...";
inline constexpr const char* kNewAxisPrompt = "Name of new axis:";
inline constexpr const char* kNewAxisTitle = "New Axis...";

// The "Open Existing Application..." dialog.
FileDialog OpenAppDialog();
// "Really delete <name>?" with OK and Cancel.
MessageBox DeleteAxisQuestion(const std::string& axisName);

struct NewAppName {
  bool cancelled = false;             // empty answer or Cancel: end without a message
  std::optional<MessageBox> refusal;  // show it; nothing is created
  std::string path;                   // dir/name.APP, to create
};
// answer is what the input box returned (nullopt on Cancel); dir the folder
// new applications go to. A name that could leave the folder or break the
// list of open applications is refused; an existing file is never replaced.
NewAppName CheckNewAppName(const std::optional<std::string>& answer, const std::string& dir,
                           const std::function<bool(const std::string& path)>& fileExists);

struct AppSlotView {
  bool open = false;
  std::string realPath;  // of the file open in the slot
};
using AppSlotViews = std::array<AppSlotView, kAppSlots>;  // index 0 = slot 1

enum class SlotChoiceKind {
  OpenInto,    // open or create the file in `slot`
  SelectOpen,  // the file is open already in `slot`: select it, open nothing
  Full,        // show `message`, nothing changes
};
struct SlotChoice {
  SlotChoiceKind kind = SlotChoiceKind::Full;
  int slot = 0;  // 1..16
  std::optional<MessageBox> message;
};

// The file's real path, for comparing what is open (symbolic links and "."
// or ".." resolved; a file that does not exist yet keeps its absolute form).
std::string RealPath(const std::string& path);

// "Can't open application P: why", with the path named once though the
// reason names it too ("can't open P: ...", "...: P").
std::string OpenAppFailure(const std::string& path, const std::string& why);

// OpenAnApp: the slot that has this file, else the first free one.
SlotChoice ChooseSlotForOpen(const std::string& path, const AppSlotViews& slots,
                             const std::function<std::string(const std::string&)>& realPath =
                                 RealPath);
// New application: the first free slot.
SlotChoice ChooseSlotForNew(const AppSlotViews& slots);

}  // namespace talvero
