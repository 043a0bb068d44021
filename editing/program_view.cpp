// The program view: the 256 steps of an application program, or of a
// drive's active or library program, one row per line.
#include <QProgressBar>

#include "editing/editor.h"
#include "editing/transfers.h"
#include "editing/model/link_program_source.h"
#include "link/failure_watch.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "mainwin/model/units_list.h"
#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "store/applic.h"

namespace editing {

void Editor::EditPgm() {
  win_.ProgramViewShown = true;
  win_.MousePointer(11);
  EditListView& list = *win_.EditList;
  list.Clear();
  list.SetTabWidth(0, 240);
  for (int line = 0; line <= Program::GetMaxLines(); ++line) program_.MakeEmpty(line);

  bool read = true;
  if (win_.AppSelected) {
    if (Applic* app = SelectedApp()) {
      const auto pgm = int16_t(win_.CurPgm);
      win_.UnitsName = app->GetUnits(pgm);
      win_.Transmission = app->GetTrans(pgm);
      win_.PgmDescription = app->GetPD(pgm);
      Display();
      const int last = app->GetMaxLineNumber(pgm);
      for (int line = 0; line <= last && line <= Program::GetMaxLines(); ++line) {
        win_.Prog->setValue(line);
        const std::string text = app->GetPgmStep(pgm, line);
        if (!text.empty()) program_.Decode(line, text);
      }
      win_.Prog->setValue(255);
    }
  } else {
    win_.PgmDescription = DriveProgramDescription(win_.CurNode);
  }

  if (win_.AxisSelected && !win_.AppSelected) {
    const int node = win_.CurNode;
    const std::string name = win_.CurPgmName;
    FailureWatch watch(win_.Link);
    // A library program is read from the drive's edit buffer.
    if (!name.empty()) win_.Link.LoadTEB(node, name);
    float ratio = 0;
    int16_t units = 0;
    if (!watch.Failed())
      win_.Link.GetPgmProp(node, name, int(talvero::UnitsList.size()), ratio, units);
    win_.Transmission = ratio;
    win_.UnitsName = talvero::UnitsName(units);
    Display();
    if (!watch.Failed()) {
      talvero::LinkProgramSource source(win_.Link, node, name);
      read = talvero::ReadDriveProgram(
                 source, [this](int line, const std::string& text) { program_.Decode(line, text); },
                 [this](int line) { win_.Prog->setValue(line); })
                 .complete;
    }
    read = read && !watch.Failed();
    win_.Prog->setValue(Program::GetMaxLines());
  }

  if (!read) {
    // Nothing half read is shown, so nothing half read can be written back.
    for (int line = 0; line <= Program::GetMaxLines(); ++line) program_.MakeEmpty(line);
    win_.ProgramViewShown = false;
    win_.MousePointer(0);
    win_.Prog->setValue(0);
    talvero::ThePrompter().Critical("Node " + std::to_string(win_.CurNode) +
                                    " did not answer; the program could not be read.");
    return;
  }

  list.SetNoRedraw(true);
  for (int line = 0; line <= Program::GetMaxLines(); ++line) list.AddItem(program_.Decomp(line));
  ComputeLBData();
  list.SetNoRedraw(false);
  win_.MousePointer(0);
  win_.Prog->setValue(0);
}

}  // namespace editing
