// The library database and the open applications.
#include <QApplication>
#include <QCoreApplication>

#include "mainwin/main_win.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/model/file_menu.h"
#include "mainwin/model/tree_branches.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/shared_services.h"
#include "mainwin/tree_branches.h"
#include "platform/jet/jet_file.h"
#include "platform/ui/prompter.h"
#include "store/applic.h"
#include "store/legacy_application.h"
#include "store/library_database.h"

bool MainWin::OpenLibrary() {
  std::string path = env_.libraryPath;
  if (path.empty()) path = QCoreApplication::applicationDirPath().toStdString() + "/KOVdata.KOV";
  auto lib = LibraryDatabase::Open(path);
  if (!lib) {
    talvero::ThePrompter().Critical("Cannot open the library database " + path + ":\n" + lib.error +
                                    "\n\nTalvero cannot run without it and will close.");
    return false;
  }
  Library = std::move(*lib);
  LibraryDB = Library->LibraryDB.get();
  MotorsRS = Library->MotorsRS.get();
  ParametersRS = Library->ParametersRS.get();
  StepsRS = Library->StepsRS.get();
  ThreadsRS = Library->ThreadsRS.get();
  IORS = Library->IORS.get();
  // Complete record counts from the start.
  MotorsRS->MoveLast();
  ParametersRS->MoveLast();
  return true;
}

Applic& MainWin::Slot(int slot) {
  if (!Apps[slot]) Apps[slot] = std::make_unique<Applic>();
  return *Apps[slot];
}

Applic* MainWin::OpenApp(int slot) const {
  return slot >= 1 && slot <= kSlots && AppOpen[size_t(slot)] ? Apps[size_t(slot)].get() : nullptr;
}

bool MainWin::OpenAnApp(const std::string& path) {
  talvero::AppSlotViews views;
  for (int s = 1; s <= kSlots; ++s)
    views[s - 1] = {AppOpen[s], AppOpen[s] ? talvero::RealPath(Apps[s]->Path()) : std::string()};
  talvero::SlotChoice choice = talvero::ChooseSlotForOpen(path, views);
  if (choice.kind == talvero::SlotChoiceKind::Full) {
    if (choice.message) talvero::ThePrompter().Message(*choice.message);
    return false;
  }
  const int slot = choice.slot;
  if (choice.kind == talvero::SlotChoiceKind::OpenInto) {
    if (talvero::jet::RecogniseFile(path) != talvero::jet::Kind::NotJet && !ConvertLegacyApp(path)) return false;
    Applic& app = Slot(slot);
    auto status = app.AOpen(path);
    AppOpen[slot] = app.IsOpen();
    if (!AppOpen[slot]) {
      talvero::ThePrompter().Critical(talvero::OpenAppFailure(path, status.error));
      return false;
    }
    // Said once here; each refused edit says it again in its own words.
    if (app.ReadOnly() && !app.Database()->FolderRefusal().empty())
      talvero::ThePrompter().Info(path + " is open for viewing only: " + app.Database()->FolderRefusal() + ".");
    AddAppBranch(slot);
  }
  const std::string key = TreeKey::Make("AP", {slot}).Format();
  Sys->Select(key);
  Sys_NodeClick(Sys->SelectedKey());
  return true;
}

namespace {

std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool MainWin::ConvertLegacyApp(const std::string& path) {
  namespace st = talvero::store;
  talvero::Prompter& ask = talvero::ThePrompter();
  const auto cantConvert = [&](const std::string& why) {
    ask.Critical("Can't convert application " + path + ": " + why + ". The file is left as it was.");
    return false;
  };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // Opened and read once: what is kept and replaced after Yes is this file.
  auto original = st::LegacyOriginal::Open(path);
  auto app = original ? st::ReadLegacyApplication(*original) : talvero::dao::Result<st::LegacyApplication>::Fail(original.error);
  QApplication::restoreOverrideCursor();
  if (!app) {
    ask.Critical(talvero::OpenAppFailure(path, app.error));
    return false;
  }
  const std::string kept = st::KeptOriginalName(path);
  if (std::string why = st::ConversionRefusal(*original, kept); !why.empty()) return cantConvert(why);
  std::string text = FileName(path) + " was written by an earlier version. Talvero converts it to its own format " +
                     "and keeps the original as " + FileName(kept) + ". Convert it?";
  if (!app->damaged.empty()) text += "\n\n" + app->damaged;
  if (!app->skipped.empty()) {
    text += "\n\nLeft out of the conversion:";
    for (const std::string& line : app->skipped) text += "\n" + line;
  }
  if (ask.Message({text, "Talvero", talvero::Buttons::YesNo, talvero::Icon::Question}) != talvero::Answer::Yes)
    return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const st::Conversion done = st::ConvertLegacyApplication(*app, *original, kept);
  QApplication::restoreOverrideCursor();
  switch (done.end) {
    case st::ConvertEnd::Done:
      return true;
    case st::ConvertEnd::Failed:
      return cantConvert(done.error);
    case st::ConvertEnd::Changed:
    case st::ConvertEnd::Removed: {
      std::string told = FileName(path) +
                         (done.end == st::ConvertEnd::Changed ? " changed" : " was removed") +
                         " while the question was shown; nothing was converted.";
      if (!done.error.empty()) told += " " + done.error + ".";
      ask.Critical(told);
      return false;
    }
  }
  return false;
}

void MainWin::AddAppBranch(int slot) {
  const Applic& app = *Apps[slot];
  talvero::AppBranchSource src;
  src.slot = slot;
  src.text = Clean(app.Name);
  for (int p = 1; p <= Applic::GetMaxPgm(); ++p) src.programs.push_back(app.GetPgmName(int16_t(p)));
  for (int x = 1; x <= Applic::GetMaxAxis(); ++x)
    src.axes.push_back({app.GetAxisName(int16_t(x)), app.LongName(int16_t(x)), app.WhatType(int16_t(x))});
  mainwin::AddNodes(*Sys, talvero::AppBranch(src));
}

std::string MainWin::Internal_read(const std::string& name) {
  std::string v = Internal_read_string(name);
  return v.empty() || v == "MISSING" ? "0" : v;
}

std::string MainWin::Internal_read_string(const std::string& name) {
  Applic* app = CurNode < 0 ? OpenApp(CurApp) : nullptr;
  if (!app) return "";
  return app->GetParam(int16_t(-CurNode), name);
}

bool MainWin::Internal_write(const std::string& name, const std::string& value) {
  Applic* app = CurNode < 0 ? OpenApp(CurApp) : nullptr;
  return app && app->PutParam(int16_t(-CurNode), name, value).ok();
}
