// The File menu: new, open and close applications, printing.
#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "mainwin/main_win.h"
#include "mainwin/model/file_menu.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/qt_sys_tree.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "store/applic.h"

void MainWin::File_NewApp_Click() {
  const std::optional<std::string> answer =
      talvero::ThePrompter().Input(talvero::kNewAppPrompt, talvero::kNewAppTitle, "");
  const talvero::NewAppName name = talvero::CheckNewAppName(
      answer, QDir::currentPath().toStdString(),
      [](const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); });
  if (name.cancelled) return;
  if (name.refusal) {
    talvero::ThePrompter().Message(*name.refusal);
    return;
  }
  talvero::AppSlotViews views;
  for (int s = 1; s <= kSlots; ++s) views[size_t(s - 1)].open = AppOpen[s];
  const talvero::SlotChoice choice = talvero::ChooseSlotForNew(views);
  if (choice.kind == talvero::SlotChoiceKind::Full) {
    if (choice.message) talvero::ThePrompter().Message(*choice.message);
    return;
  }
  Applic& app = Slot(choice.slot);
  app.Create(name.path);  // a failure shows its own message
  AppOpen[choice.slot] = app.IsOpen();
  if (!AppOpen[choice.slot]) return;
  AddAppBranch(choice.slot);
  SelectAndClick(TreeKey::Make("AP", {choice.slot}).Format());
}

void MainWin::File_OpenApp_Click() {
  if (std::optional<std::string> path = talvero::ThePrompter().OpenFile(talvero::OpenAppDialog()))
    OpenAnApp(*path);
}

void MainWin::File_CloseApp_Click() {
  if (AppSelected) CloseApp(CurApp);
}

void MainWin::File_Print_Click() { talvero::TheWindowFactory().ShowModal("PrintApp"); }

void MainWin::File_PrintSetup_Click() { talvero::ThePrompter().PrinterSetup(); }
