#include "mainwin/model/rename_check.h"

#include "runtime/cp1252.h"
#include "runtime/text.h"

namespace talvero {

namespace {

constexpr size_t kDriveNameMax = 8;
constexpr size_t kAppNameField = 32;  // the application file's name field

// The tree's rename boxes carry an OK button and no icon.
MessageBox Plain(std::string text) {
  return MessageBox{std::move(text), "Talvero", Buttons::Ok, Icon::None};
}

RenameCheck Refuse(std::string text) {
  RenameCheck r;
  r.refusal = Plain(std::move(text));
  return r;
}

bool DriveNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '_';
}

}  // namespace

RenameCheck CheckAppProgramRename(std::string_view newText,
                                  const std::vector<std::string>& programs) {
  std::string name = rt::Trim(newText);
  if (name.empty()) return Refuse("Invalid name.");
  if (rt::CharCount(name) > kAppNameField) return Refuse("Name cannot exceed 32 characters.");
  const std::string upper = rt::UCase(name);
  for (size_t p = 0; p < programs.size() && p < 64; ++p)
    if (rt::UCase(rt::Trim(programs[p])) == upper)
      return Refuse("Can't rename program: name already used.");
  RenameCheck r;
  r.name = std::move(name);
  return r;
}

RenameCheck CheckDriveProgramRename(std::string_view newText, std::string_view oldName,
                                    const std::vector<LibraryEntry>& library) {
  std::string name = rt::Trim(rt::UCase(newText));
  if (name.empty()) return Refuse("Invalid name.");
  for (char c : name)
    if (!DriveNameCharacter(c)) return Refuse("Invalid name: Use alphanumeric characters only.");
  if (name.size() > kDriveNameMax) return Refuse("Name cannot exceed 8 characters.");
  // Even if the library could not be read, the old name itself is taken:
  // saving over it and then deleting it would lose the program.
  if (name == rt::Trim(rt::UCase(oldName))) return Refuse("Name already used.");
  for (const auto& e : library)
    if (e.name == name) return Refuse("Name already used.");
  RenameCheck r;
  r.name = std::move(name);
  return r;
}

DriveRenamePlan PlanDriveRename(const RenameCheck& checked, std::string_view oldName) {
  return {checked.name, std::string(oldName)};
}

DriveRenameOutcome FinishDriveRename(const DriveRenamePlan& plan, bool saved, bool deleted) {
  DriveRenameOutcome o;
  if (!saved) {
    o.message = Plain("Trouble renaming.");
    return o;
  }
  if (!deleted) {
    o.message = Plain("Couldn't rename.");
    o.relistLibrary = true;
    return o;
  }
  o.accept = true;
  o.nodeText = plan.saveAs;
  o.curPgmName = plan.saveAs;
  return o;
}

}  // namespace talvero
