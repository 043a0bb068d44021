// The program view: the 256 steps of an application program, or of a
// drive's active or library program, one row per line.
#include <QProgressBar>

#include "editing/editor.h"
#include "editing/transfers.h"
#include "editing/model/program_read.h"
#include "editing/model/program_settings.h"
#include "editing/view_read.h"
#include "link/isp.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "mainwin/model/units_list.h"
#include "platform/clock/clock.h"
#include "store/applic.h"

namespace editing {

namespace {

// The drive's program lines, each one request of the view's read.
class ReadLines : public talvero::ProgramLineSource {
 public:
  ReadLines(ViewRead& read, ISP& link, int node, const std::string& name)
      : read_(read), link_(link), node_(node), name_(name) {}
  std::optional<std::string> Line(int line) override {
    std::string reply;
    if (!read_.Ask([&] { reply = link_.GetPgmLine(node_, uint8_t(line), name_); })) return std::nullopt;
    return reply;
  }

 private:
  ViewRead& read_;
  ISP& link_;
  int node_;
  const std::string& name_;
};

}  // namespace

void Editor::EditPgm() {
  win_.ProgramViewShown = true;
  win_.MousePointer(11);
  EditListView& list = *win_.EditList;
  list.Clear();
  list.SetTabWidth(0, 240);
  for (int line = 0; line <= Program::GetMaxLines(); ++line) program_.MakeEmpty(line);

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
    const bool library = !name.empty();
    ISP& link = win_.Link;
    ViewRead read(win_, node);
    // A library program is read from the drive's edit buffer.
    if (library) read.Ask([&] { link.LoadTEB(node, name); });
    const auto props = talvero::ReadProgramProps(link, node, name, int(talvero::UnitsList.size()),
                                                 [&](const std::function<void()>& r) { return read.Ask(r); });
    // The link's failure values, as the settings dialog has always been given them.
    win_.Transmission = props ? props->ratio : 0.0f;
    win_.UnitsName = talvero::UnitsName(props ? props->units : 0);
    Display();
    if (!read.Failed()) {
      ReadLines source(read, link, node, name);
      talvero::ReadDriveProgram(
          source, [this](int line, const std::string& text) { program_.Decode(line, text); },
          [this](int line) { win_.Prog->setValue(line); });
    }
    win_.Prog->setValue(Program::GetMaxLines());
    if (read.Failed()) {
      // Nothing half read is shown, so nothing half read can be written back.
      for (int line = 0; line <= Program::GetMaxLines(); ++line) program_.MakeEmpty(line);
      return ShowNotAnswering(read.Drive());
    }
  }

  list.SetNoRedraw(true);
  for (int line = 0; line <= Program::GetMaxLines(); ++line) list.AddItem(program_.Decomp(line));
  ComputeLBData();
  list.SetNoRedraw(false);
  win_.MousePointer(0);
  win_.Prog->setValue(0);
}

}  // namespace editing
