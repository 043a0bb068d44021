#pragma once
// The tree's copy and program-store commands: programs between an
// application and a drive's active program or library, and parameter sets
// and events between a drive, an application axis and the parameter copy
// buffer. Each copy holds the window's long-operation guard, takes its node,
// application, axis and names once at the start, and stops at the first
// request the drive does not answer, saying how far it got.
#include <QObject>
#include <string>
#include <utility>
#include <vector>

#include "mainwin/model/context_menus.h"

class MainWin;
class Applic;
class Program;

namespace editing {

class Editor;
class CopyRun;

// Puts the commands in front of the window's menu command and copy target
// hooks; names that are not ours go on to the hooks that were there.
void InstallTransfers(MainWin& win);

class Transfers : public QObject {
  Q_OBJECT
 public:
  explicit Transfers(MainWin& win);
  static Transfers* Of(MainWin& win);

  // False when the item is not one of these commands.
  bool Command(const std::string& item);
  bool Copy(const std::string& item, const talvero::CopyTarget& target);

  // ---- programs
  void PR_Copy_Array_Click(const talvero::CopyTarget& target);
  void PR_New_Click();
  void PR_Delete_Click();
  void PR_Prop_Click();
  void PL_Copy_Array_Click(const talvero::CopyTarget& target);
  void PL_New_Click();
  void LE_Activate_Click();
  void LE_Copy_Array_Click(const talvero::CopyTarget& target);
  void LE_Delete_Click();
  void LE_EditProp_Click();
  void PP_Copy_Array_Click(const talvero::CopyTarget& target);
  void PP_Clear_Click();
  void PP_Store_Click();
  void PP_EditProp_Click();

  // ---- parameters and events
  void PA_Copy_Array_Click(const talvero::CopyTarget& target);
  void PA_Paste_Click();
  void TH_Copy_Array_Click(const talvero::CopyTarget& target);
  void EV_Copy_Array_Click(const talvero::CopyTarget& target);
  void TH_Enable_Click() { EnableAll(true); }
  void TH_Disable_Click() { EnableAll(false); }

  // The parameter copy buffer: name and text per record, in record order.
  const std::vector<std::pair<std::string, std::string>>& CopyBuffer() const { return buffer_; }

 private:
  Editor& Ed();
  Applic* AppInSlot(int slot) const;
  // "Node n did not answer; " + what, or "gave no valid answer" when the
  // failed request brought only damaged replies: said at once, before
  // another request.
  void NotAnswered(int node, const std::string& what);
  // The drive refuses a new active program while it runs; a drive that does
  // not answer is taken as running. True when refused (the box shown).
  bool RefuseWhileRunning(CopyRun& run, int node);
  // Sends the program's steps to a buffer ("" active, " " library) in line
  // order; the line that failed, -1 when all went.
  int SendProgram(Program& pgm, int node, const std::string& buffer);
  void ProgramToDrive(const talvero::CopyTarget& target);
  void AllProgramsToLibrary(int node);
  // The shown program into the application under the name.
  void ShownProgramToApp(int appSlot, const std::string& name);
  // Adds the program's node under the application's programs.
  void AddProgramNode(int appSlot, int pgm, Applic& app);
  void ShowSettings(bool setApplication);
  void EnableAll(bool on);

  MainWin& win_;
  std::vector<std::pair<std::string, std::string>> buffer_;
};

// The description a program read from a drive gets: "Node n (date time)".
std::string DriveProgramDescription(int node);

}  // namespace editing
