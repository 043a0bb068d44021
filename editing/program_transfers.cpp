// Programs between an application and a drive's active program or library,
// and the drive's program store commands.
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QProgressBar>
#include <QTime>

#include "editing/copy_run.h"
#include "editing/editor.h"
#include "editing/model/drive_library.h"
#include "editing/model/link_program_source.h"
#include "editing/model/program_settings.h"
#include "editing/model/transfer_rules.h"
#include "editing/transfers.h"
#include "link/failure_watch.h"
#include "mainwin/main_win.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/model/units_list.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/clock/clock.h"
#include "platform/dao/database.h"
#include "platform/ui/prompter.h"
#include "runtime/cstr.h"
#include "runtime/text.h"
#include "store/applic.h"
#include "store/program.h"

namespace editing {

namespace {

using talvero::ThePrompter;

void Say(const std::string& text) { ThePrompter().Plain(text); }
bool Ask(const std::string& text) { return ThePrompter().Confirm(text); }

std::string Node(int node) { return "Node " + std::to_string(node); }

std::string StoppedAt(int line, const std::string& name) {
  return "the copy stopped at line " + std::to_string(line) + " of " + name + ".";
}

std::string ProgramsKey(int appSlot) { return TreeKey::Make("PR", {-appSlot}).Format(); }
std::string ProgramKey(int appSlot, int pgm) { return TreeKey::Make("PR", {-appSlot, pgm}).Format(); }

// A program's steps and settings written into the application in one
// transaction, adding the program first when it is new. A write that fails
// leaves nothing of it: the new program is taken out again. The program
// number, or -1 when nothing was stored.
struct AppWrite {
  int pgm = -1;
  bool added = false;
};
AppWrite WriteToApp(Applic& app, const std::string& name, Program& pgm, const std::string& description,
                    float ratio, const std::string& units) {
  talvero::dao::Database* db = app.Database();
  if (!db) return {};
  AppWrite w;
  if (app.Pexist(name)) {
    w.pgm = app.CurrentPgm;
  } else {
    app.AddPgm(name);  // says why when it refuses
    if (app.CurrentPgm < 0) return {};
    w.pgm = app.CurrentPgm;
    w.added = true;
  }
  const auto p = int16_t(w.pgm);
  talvero::dao::Status s;
  {
    talvero::dao::Transaction tx(*db);
    s = tx.Started();
    for (int line = 0; s.ok() && line <= Program::GetMaxLines(); ++line) s = app.UpdatePgmStep(p, line, pgm.Encode(line));
    if (s.ok()) s = app.UpdateSettings(p, description, rt::CStrSingle(ratio), units);
    if (s.ok()) s = tx.Commit();
  }
  if (s.ok()) return w;
  if (w.added) app.DelPgm(p);
  Say(name + " was not stored: " + s.error);
  return {};
}

}  // namespace

std::string DriveProgramDescription(int node) {
  const talvero::LocalDateTime t = talvero::TheClock().Now();
  const QDateTime dt(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
  return Node(node) + " (" + QLocale().toString(dt, QLocale::ShortFormat).toStdString() + ")";
}

bool Transfers::RefuseWhileRunning(CopyRun& run, int node) {
  FailureWatch watch(win_.Link);
  const uint16_t status = win_.Link.Status(node);
  if (!watch.Failed() && !ISP::IsRunning(status)) return false;
  run.Pause();
  Say("The program on node " + std::to_string(node) + " is running: stop it first.");
  return true;
}

int Transfers::SendProgram(Program& pgm, int node, const std::string& buffer) {
  FailureWatch watch(win_.Link);
  for (int line = 0; line <= Program::GetMaxLines(); ++line) {
    win_.Prog->setValue(line);
    if (pgm.Get_Op(line) < 0) continue;  // the buffer was cleared first
    win_.Link.SetPgmLine(node, buffer, uint8_t(line), pgm.Encode(line));
    if (watch.Failed()) return line;
  }
  return -1;
}

void Transfers::AddProgramNode(int appSlot, int pgm, Applic& app) {
  const std::string key = ProgramKey(appSlot, pgm);
  win_.Sys->Add(ProgramsKey(appSlot), key, app.GetPgmName(int16_t(pgm)), "doc");
  win_.Sys->EnsureVisible(key);
}

void Transfers::PR_Copy_Array_Click(const talvero::CopyTarget& target) {
  if (target.kind != talvero::TargetKind::DriveActiveProgram &&
      target.kind != talvero::TargetKind::DriveProgramLibrary)
    return;
  if (!win_.ProgramNodeSelected) AllProgramsToLibrary(target.node);
  else ProgramToDrive(target);
}

void Transfers::ProgramToDrive(const talvero::CopyTarget& target) {
  const int node = target.node;
  const std::string pgmName = win_.Sys->Text(win_.SelKey);
  const std::string ratio = rt::CStrSingle(win_.Transmission);
  const int units = talvero::FindUU(win_.UnitsName);
  Program& shown = Ed().ShownProgram();
  ISP& link = win_.Link;

  if (target.kind == talvero::TargetKind::DriveActiveProgram) {
    CopyRun run(win_, node);
    if (!run) return;
    if (RefuseWhileRunning(run, node)) return;
    FailureWatch watch(link);
    link.ClearEB(node);
    if (watch.Failed()) return NotAnswered(node, pgmName + " was not copied.");
    if (int line = SendProgram(shown, node, ""); line >= 0) return NotAnswered(node, StoppedAt(line, pgmName));
    if (!talvero::WriteProgramSettings(link, node, "", ratio, units, talvero::UntilFailure(link)))
      NotAnswered(node, "the settings of " + pgmName + " were not stored.");
    return;
  }

  const talvero::LibraryName name = talvero::DriveLibraryName(pgmName);
  if (!name.valid) return Say("Rename the program: drive library names must be alphanumeric.");
  if (name.tooLong)
    Say("Drive library names cannot exceed 8 characters: name (" + name.name + ") will be truncated !");
  const std::string sent = name.Sent();
  CopyRun run(win_, node);
  if (!run) return;
  const auto names = talvero::ReadLibraryNames(link, node);
  if (!names) return NotAnswered(node, pgmName + " was not copied.");
  if (talvero::HasLibraryName(*names, sent)) {
    if (!run.Confirm("Replace " + sent + "?")) return;
  }
  FailureWatch watch(link);
  link.ClearTEB(node);
  if (watch.Failed()) return NotAnswered(node, pgmName + " was not copied.");
  if (int line = SendProgram(shown, node, " "); line >= 0) return NotAnswered(node, StoppedAt(line, pgmName));
  if (!talvero::WriteProgramSettings(link, node, sent, ratio, units, talvero::UntilFailure(link)))
    return NotAnswered(node, pgmName + " was not stored in the library.");
  win_.RefreshAxisLibrary(node);
}

void Transfers::AllProgramsToLibrary(int node) {
  Applic* app = Ed().SelectedApp();
  if (!app) return;
  struct Item {
    int16_t slot;
    talvero::LibraryName name;
  };
  std::vector<Item> items;
  for (int16_t p = 1; p <= Applic::GetMaxPgm(); ++p) {
    const std::string text = app->GetPgmName(p);
    if (rt::Trim(text).empty()) continue;
    Item item{p, talvero::DriveLibraryName(text)};
    if (!item.name.valid) return Say("Rename library program(s): drive library names must be alphanumeric.");
    if (item.name.tooLong)
      Say("Drive library names cannot exceed 8 characters: name (" + item.name.name + ") will be truncated !");
    items.push_back(item);
  }
  // Two programs cut to the same 8 characters would overwrite each other.
  for (size_t i = 0; i < items.size(); ++i)
    for (size_t j = i + 1; j < items.size(); ++j)
      if (items[i].name.Sent() == items[j].name.Sent())
        return Say("Rename library program(s): " + items[i].name.name + " and " + items[j].name.name +
                   " would both be stored as " + items[i].name.Sent() + ".");

  CopyRun run(win_, node);
  if (!run) return;
  ISP& link = win_.Link;
  const auto names = talvero::ReadLibraryNames(link, node);
  if (!names) return NotAnswered(node, "no program was copied.");
  for (const Item& item : items) {
    if (!talvero::HasLibraryName(*names, item.name.Sent())) continue;
    if (!run.Confirm("Overwrite drive library programs having the same name ?")) return;
    break;
  }
  Program work(win_.StepsRS, &Ed().Display());
  size_t copied = 0;
  for (const Item& item : items) {
    run.Yield();
    if (run.StopRequested()) break;
    FailureWatch watch(link);
    link.ClearTEB(node);
    if (watch.Failed()) {
      NotAnswered(node, item.name.name + " was not copied.");
      break;
    }
    for (int line = 0; line <= Program::GetMaxLines(); ++line) {
      work.MakeEmpty(line);
      const std::string text = app->GetPgmStep(item.slot, line);
      if (!text.empty()) work.Decode(line, text);
    }
    if (int line = SendProgram(work, node, " "); line >= 0) {
      NotAnswered(node, StoppedAt(line, item.name.name));
      break;
    }
    if (!talvero::WriteProgramSettings(link, node, item.name.Sent(), rt::CStrSingle(app->GetTrans(item.slot)),
                                       talvero::FindUU(app->GetUnits(item.slot)), talvero::UntilFailure(link))) {
      NotAnswered(node, item.name.name + " was not stored in the library.");
      break;
    }
    ++copied;
  }
  if (run.StopRequested())
    Say("The copy was stopped after " + std::to_string(copied) + " of " + std::to_string(items.size()) +
        " programs.");
  win_.RefreshAxisLibrary(node);
}

void Transfers::PL_Copy_Array_Click(const talvero::CopyTarget& target) {
  Applic* app = AppInSlot(target.app);
  if (!app || target.kind != talvero::TargetKind::Application) return;
  const int node = win_.CurNode;
  CopyRun run(win_, node);
  if (!run) return;
  ISP& link = win_.Link;
  const auto names = talvero::ReadLibraryNames(link, node);
  if (!names) return NotAnswered(node, "the library could not be read.");
  for (const std::string& name : *names) {
    if (name == talvero::kSaveProgramName || !app->Pexist(name)) continue;
    if (!run.Confirm("Overwrite application programs having the same name ?")) return;
    break;
  }
  // A work program of its own: the shown one and its settings stay as the list shows them.
  Program work(win_.StepsRS, &Ed().Display());
  size_t copied = 0, total = 0;
  for (const std::string& name : *names) total += name != talvero::kSaveProgramName;
  for (const std::string& name : *names) {
    if (name == talvero::kSaveProgramName) continue;
    run.Yield();
    if (run.StopRequested()) break;
    for (int line = 0; line <= Program::GetMaxLines(); ++line) work.MakeEmpty(line);
    const talvero::RequestStep ask = talvero::UntilFailure(link);
    std::optional<talvero::ProgramProps> props;
    if (ask([&] { link.LoadTEB(node, name); }))
      props = talvero::ReadProgramProps(link, node, name, int(talvero::UnitsList.size()), ask);
    if (!props) return NotAnswered(node, name + " was not copied.");
    talvero::LinkProgramSource source(link, node, name);
    const talvero::ProgramReadResult read = talvero::ReadDriveProgram(
        source, [&work](int line, const std::string& text) { work.Decode(line, text); },
        [&run](int line) { run.Progress(line); });
    if (!read.complete) return NotAnswered(node, StoppedAt(read.failedLine, name));
    const AppWrite w = WriteToApp(*app, name, work, DriveProgramDescription(node), props->ratio,
                                  talvero::UnitsName(props->units));
    if (w.pgm < 0) return;
    if (w.added) AddProgramNode(target.app, w.pgm, *app);
    ++copied;
  }
  if (run.StopRequested())
    Say("The copy was stopped after " + std::to_string(copied) + " of " + std::to_string(total) + " programs.");
}

void Transfers::PL_New_Click() {
  const int node = win_.CurNode;
  {
    CopyRun run(win_, node);
    if (!run) return;
    ISP& link = win_.Link;
    const auto names = talvero::ReadLibraryNames(link, node);
    if (!names) return NotAnswered(node, "no program was created.");
    if (talvero::HasLibraryName(*names, "NEW")) {
      run.Pause();
      return Say("Rename or Delete 'NEW' before trying to create a new program.");
    }
    const talvero::RequestStep ask = talvero::UntilFailure(link);
    if (!ask([&] { link.ClearTEB(node); }) ||
        !talvero::WriteProgramSettings(link, node, "NEW", "1", talvero::FindUU("system-rev"), ask))
      return NotAnswered(node, "no program was created.");
    win_.RefreshAxisLibrary(node);
  }
  for (const std::string& key : win_.Sys->Children(TreeKey::Make("PL", {node}).Format())) {
    if (win_.Sys->Text(key) != "NEW") continue;
    win_.Sys->Select(key);
    win_.Sys->StartLabelEdit(key);
    break;
  }
}

void Transfers::LE_Activate_Click() {
  const int node = win_.CurNode;
  const std::string name = win_.Sys->Text(win_.SelKey);
  CopyRun run(win_, node);
  if (!run) return;
  if (RefuseWhileRunning(run, node)) return;
  FailureWatch watch(win_.Link);
  win_.Link.LoadEB(node, name);
  if (!watch.Failed()) win_.Link.ForceSave(node);
  if (watch.Failed()) NotAnswered(node, name + " was not made the active program.");
}

void Transfers::ShownProgramToApp(int appSlot, const std::string& name) {
  Applic* app = AppInSlot(appSlot);
  if (!app) return;
  // A program the view could not read is not written over a stored one.
  if (!win_.ProgramViewShown) return Say("The program could not be read from the drive; nothing was copied.");
  if (app->Pexist(name) && !Ask("Really overwrite application program named " + name + "?")) return;
  CopyRun run(win_, win_.CurNode);
  if (!run) return;
  const AppWrite w =
      WriteToApp(*app, name, Ed().ShownProgram(), win_.PgmDescription, win_.Transmission, win_.UnitsName);
  if (w.added) AddProgramNode(appSlot, w.pgm, *app);
}

void Transfers::LE_Copy_Array_Click(const talvero::CopyTarget& target) {
  if (target.kind == talvero::TargetKind::Application)
    ShownProgramToApp(target.app, win_.Sys->Text(win_.SelKey));
}

void Transfers::PP_Copy_Array_Click(const talvero::CopyTarget& target) {
  if (target.kind == talvero::TargetKind::Application)
    ShownProgramToApp(target.app, Node(win_.CurNode) + " Active");
}

void Transfers::LE_Delete_Click() {
  const int node = win_.CurNode;
  const std::string key = win_.SelKey;
  const std::string name = win_.Sys->Text(key);
  if (!Ask("Really delete " + name + "?")) return;
  if (win_.Link.DeletePgm(node, name)) win_.Sys->Remove(key);
  else ThePrompter().Message({"Couldn't delete: " + name, "Talvero", talvero::Buttons::OkCancel, talvero::Icon::Critical});
  win_.Sys_NodeClick(win_.Sys->SelectedKey());
}

void Transfers::PP_Clear_Click() {
  const int node = win_.CurNode;
  if (!Ask("Really clear this program ?")) return;
  {
    CopyRun run(win_, node);
    if (!run) return;
    if (RefuseWhileRunning(run, node)) return;
    FailureWatch watch(win_.Link);
    win_.Link.ClearEB(node);
    if (!watch.Failed()) win_.Link.SaveEB(node, talvero::kSaveProgramName);
    if (watch.Failed()) NotAnswered(node, "the program was not cleared.");
  }
  Ed().EditPgm();
}

void Transfers::PP_Store_Click() {
  const int node = win_.CurNode;
  const auto typed = ThePrompter().Input("Name to save program as:", "Save Active Program...", "");
  if (!typed || typed->empty()) return;
  const talvero::LibraryName name = talvero::DriveLibraryName(*typed);
  if (name.name.empty()) return;
  if (!name.valid) return Say("Invalid name: Use alphanumeric characters only.");
  if (name.tooLong) return Say("Name cannot exceed 8 characters.");
  CopyRun run(win_, node);
  if (!run) return;
  const auto names = talvero::ReadLibraryNames(win_.Link, node);
  if (!names) return NotAnswered(node, "the program was not stored.");
  if (talvero::HasLibraryName(*names, name.name)) {
    if (!run.Confirm("Replace " + name.name + "?")) return;
  }
  FailureWatch watch(win_.Link);
  win_.Link.SaveEB(node, name.name);
  if (watch.Failed()) return NotAnswered(node, "the program was not stored.");
  win_.RefreshAxisLibrary(node);
}

void Transfers::PR_New_Click() {
  if (!win_.AppSelected) return;
  const int slot = win_.CurApp;
  Applic* app = AppInSlot(slot);
  if (!app) return;
  const auto typed = ThePrompter().Input("Name of new program:", "New Program...", "");
  if (!typed || typed->empty()) return;
  app->AddPgm(*typed);  // says why when it refuses
  if (app->CurrentPgm < 0) return;
  AddProgramNode(slot, app->CurrentPgm, *app);
  const std::string key = ProgramKey(slot, app->CurrentPgm);
  win_.Sys->Select(key);
  win_.Sys_NodeClick(key);
}

void Transfers::PR_Delete_Click() {
  const int slot = win_.CurApp;
  const int pgm = win_.CurPgm;
  Applic* app = AppInSlot(slot);
  if (!app || !win_.ProgramNodeSelected) return;
  if (!Ask("Really delete program " + app->GetPgmName(int16_t(pgm)) + "?")) return;
  if (auto s = app->DelPgm(int16_t(pgm)); !s) return Say(s.error);
  win_.Sys->Remove(ProgramKey(slot, pgm));
  win_.Sys_NodeClick(win_.Sys->SelectedKey());
}

void Transfers::ShowSettings(bool setApplication) {
  if (setApplication) win_.CurApplic = AppInSlot(win_.CurApp);
  if (!Ed().ShowSettings()) return;
  win_.SelKey = "";
  win_.Sys_NodeClick(win_.Sys->SelectedKey());
}

void Transfers::PR_Prop_Click() { ShowSettings(true); }
void Transfers::LE_EditProp_Click() { ShowSettings(false); }
void Transfers::PP_EditProp_Click() { ShowSettings(false); }

}  // namespace editing
