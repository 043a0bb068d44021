#include "bench/silent_drive/entry_points.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QLabel>
#include <QTimer>
#include <memory>

#include "mainwin/main_win.h"
#include "mainwin/qt_sys_tree.h"
#include "mainwin/stat_strip.h"
#include "online/online_panel.h"
#include "platform/ui/qt/window_factory.h"
#include "reports/pr.h"
#include "reports/print_app.h"

namespace silentbench {

namespace {

enum Tab { kGeneral = 0, kFaults = 1, kIO = 2, kVariables = 3 };

// A tree node clicked as a user does; a node that is already selected is
// left first, so its view is filled again.
void Visit(MainWin& win, const std::string& key) {
  if (win.SelKey == key) Visit(win, "!SY");
  win.Sys->Select(key);
  win.Sys_NodeClick(key);
}

void OnTab(MainWin& win, int tab) {
  Visit(win, "!SY");
  Visit(win, "SS1");
  if (win.StatStrip->currentIndex() != tab) win.StatStrip->setCurrentIndex(tab);
}

bool Shown(const char* name) { return talvero::TheWindowFactory().IsVisible(name); }

void Close(const char* name) {
  if (QWidget* w = talvero::TheWindowFactory().Existing(name)) w->close();
}

// A tab reached from another one.
EntryPoint TabEntry(MainWin& win, const std::string& name, int from, int to, bool always) {
  return {name, [&win, from] { OnTab(win, from); }, [&win, to] { win.StatStrip->setCurrentIndex(to); },
          nullptr, nullptr, {}, always};
}

// A tree node's view, reached from the drives root.
EntryPoint NodeEntry(MainWin& win, const std::string& name, const std::string& key, bool always) {
  return {name, [&win] { Visit(win, "!SY"); }, [&win, key] { Visit(win, key); }, nullptr, nullptr, {}, always};
}

// A modal window a menu item opens; the read is over once it shows.
EntryPoint WindowEntry(MainWin& win, const std::string& name, QAction* item, const char* window) {
  return {name, [&win] { Visit(win, "#1"); }, [item] { item->trigger(); }, [window] { return Shown(window); },
          [window] { Close(window); }, {}, true};
}

}  // namespace

std::vector<EntryPoint> EntryPoints(MainWin& win, OnlinePanel& panel) {
  std::vector<EntryPoint> list;
  list.push_back(TabEntry(win, "Variables tab", kGeneral, kVariables, true));
  list.push_back(NodeEntry(win, "parameter view", "SU1", true));
  list.push_back(NodeEntry(win, "event view", "TH1", true));
  list.push_back(NodeEntry(win, "program view", "PP1", true));
  win.Item("AA_SetConfig")->setEnabled(true);  // service mode: the dialog is offered
  list.push_back(WindowEntry(win, "configuration dialog", win.Item("AA_SetConfig"), "CF_Form"));
  list.push_back(WindowEntry(win, "setup wizard, first page", win.SetupWiz_Axis, "AxisSetup"));

  // The report: the dialog lists its sections; all chosen, shown on screen.
  auto chosen = std::make_shared<bool>(false);
  list.push_back({"drive report", [&win, chosen] {
                    Visit(win, "#1");
                    *chosen = false;
                  },
                  [&win] { win.File_Print->trigger(); },
                  [chosen] {
                    auto* dialog = qobject_cast<reports::PrintApp*>(talvero::TheWindowFactory().Existing("PrintApp"));
                    if (!dialog || !dialog->isVisible()) return false;
                    // The dialog's own list read found the drive silent: that read is the one measured.
                    if (!dialog->Notice->text().isEmpty()) return true;
                    if (!*chosen && dialog->Disp->isEnabled()) {
                      *chosen = true;
                      QTimer::singleShot(0, dialog, [dialog] {
                        dialog->SelectAll_Click();
                        dialog->Disp_Click();
                      });
                    }
                    return dialog->Report().isVisible();
                  },
                  [] {
                    auto* dialog = qobject_cast<reports::PrintApp*>(talvero::TheWindowFactory().Existing("PrintApp"));
                    if (!dialog) return;
                    if (dialog->Report().isVisible()) dialog->Report().done(0);
                    else dialog->close();
                  },
                  {},
                  true});

  // The online panel's other reads and the drive menu's, with --all.
  list.push_back(TabEntry(win, "General tab", kVariables, kGeneral, false));
  list.push_back(TabEntry(win, "Faults tab", kGeneral, kFaults, false));
  list.push_back(TabEntry(win, "IO tab", kGeneral, kIO, false));
  list.push_back({"a variable defined", [&win] { OnTab(win, kVariables); }, [&panel] { panel.AddUV_Click(); },
                  nullptr, nullptr, {"B2"}, false});
  list.push_back({"a variable set",
                  [&win] {
                    OnTab(win, kVariables);
                    win.StatStrip->UV_Select->setCurrentRow(0);
                    win.StatStrip->UV_NV->setText("5");
                  },
                  [&win] { win.StatStrip->UV_Change->click(); }, nullptr, nullptr, {}, false});
  list.push_back({"drive menu opened", [&win] { Visit(win, "#1"); }, [&win] { win.Sys_MouseDown(2, 0, 0, 0); },
                  nullptr, [&win] { win.AAMenu->hide(); }, {}, false});
  list.push_back({"firmware information", [&win] { Visit(win, "#1"); },
                  [&win] { win.Item("AA_Firm")->trigger(); }, nullptr, nullptr, {}, false});
  list.push_back(NodeEntry(win, "library program view", "LE1,0", false));
  return list;
}

}  // namespace silentbench
