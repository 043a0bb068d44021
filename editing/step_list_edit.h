#pragma once
// Editing the program view's lines: the Edit menu's block commands, the
// mouse and key selection, the Insert and Delete keys, the help pop-ups and
// the double-click step editor loop. Every changed line is written back at
// once to the application file or the drive.
#include <QObject>
#include <functional>

#include "editing/model/step_list_edit.h"

class MainWin;

namespace editing {

class Editor;
class EdStep;

// Puts the step list's handlers in front of those already set. Call after
// editing::Install.
void InstallStepListEdit(MainWin& win);

class StepListEdit : public QObject {
  Q_OBJECT
 public:
  StepListEdit(MainWin& win, Editor& ed);
  static StepListEdit* Of(MainWin& win);

  // The step clipboard, kept across tree clicks.
  talvero::StepClip Clip;
  int AnchorRow = -1;

  void EditMenu_Click();
  void Edit_Copy_Click();
  void Edit_Paste_Click();
  void Edit_PasteIns_Click();
  void Edit_Clear_Click();
  void Edit_Ins_Click() { Insert(0); }
  void Edit_Del_Click();
  void Edit_SA_Click();

  void EditList_MouseDown(int button, int shift, int x, int y);
  void EditList_MouseUp(int button, int shift, int x, int y);
  void EditList_KeyUp(int keyCode, int shift);
  // The step editor loop; false when the view is not a program's, so the
  // other views' editing runs.
  bool EditList_DblClick();

  EdStep& StepEditor();

 private:
  // Insert of n lines (0: the selection); false when the question was declined.
  bool Insert(int n);
  // The shown program is a drive's active program that runs or does not answer.
  bool ActiveProgramBusy();
  // The same as the status timer last found the drive, asking it nothing.
  bool ActiveProgramLastSeenBusy() const;
  // Runs body with a sink to where the shown program lives: one transaction
  // on an application, the library program loaded first on a drive. On a
  // failed write the user is told and the view rebuilt or cleared.
  bool Write(const std::function<bool(talvero::StepSink&)>& body);
  // The bulk command frame: hourglass, NoRedraw, TopIndex kept, Form_Resize.
  void Bulk(const std::function<void()>& body, bool computeLBData);
  void SelectOnly(int row);
  bool AskInsert(const char* first);

  MainWin& win_;
  Editor& ed_;
};

}  // namespace editing
