#pragma once
// The checks a program's new name passes before the tree takes it, and the
// order of the drive's save and delete, as data for the window to carry out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mainwin/model/tree_branches.h"
#include "platform/ui/prompter.h"

namespace talvero {

struct RenameCheck {
  std::optional<MessageBox> refusal;  // set: show it and cancel the edit
  std::string name;                   // the checked name to store
  bool ok() const { return !refusal; }
};

// A program of an application (node PR-a,p): programs are slots 1..64
// (index 0 = slot 1). On success: Applic.PgmRename(CurPgm, name).
RenameCheck CheckAppProgramRename(std::string_view newText,
                                  const std::vector<std::string>& programs);

// A program of a drive's library (node LE n,s), oldName being the node's text
// and library the drive's library as read now (ListDriveLibrary).
RenameCheck CheckDriveProgramRename(std::string_view newText, std::string_view oldName,
                                    const std::vector<LibraryEntry>& library);

// The drive rename, in the only safe order: SaveTEB(node, newName) stores the
// edit buffer under the checked name; only when that worked,
// DeletePgm(node, oldName). A failed save leaves the library as it was.
struct DriveRenamePlan {
  std::string saveAs;
  std::string thenDelete;
};
DriveRenamePlan PlanDriveRename(const RenameCheck& checked, std::string_view oldName);

struct DriveRenameOutcome {
  bool accept = false;           // the node takes nodeText; else it keeps its old text
  std::string nodeText;
  // The shown program's new name for CurPgmName, so later edits of the list
  // go to the renamed program and do not bring the old one back.
  std::optional<std::string> curPgmName;
  std::optional<MessageBox> message;
  bool relistLibrary = false;    // RefreshAxisLibrary(node): both names are now stored
};
// deleted is only looked at when saved.
DriveRenameOutcome FinishDriveRename(const DriveRenamePlan& plan, bool saved, bool deleted);

}  // namespace talvero
