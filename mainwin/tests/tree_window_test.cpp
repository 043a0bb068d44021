// The tree of the real main window: node clicks, context menus, renames.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QContextMenuEvent>
#include <QMenu>

#include "mainwin/model/context_menus.h"
#include <QMouseEvent>
#include <QTest>

#include "mainwin/copy_target_data.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/stat_strip.h"
#include "mainwin/tests/tree_window_fixture.h"
#include "store/applic.h"
#include "store/library_database.h"

namespace {

using talvero::Answer;

TEST_F(TreeWindowTest, NodeClickSetsTheSelectionTheItemsAndTheView) {
  MainWin& w = Start({{"cell", {{"X1", "RHO"}, {"Z", "PSI"}}, {"HOME"}}});
  struct Case {
    std::string key;
    int node, app;
    bool axis, appSel, program, events, status;
    std::vector<std::string> enabled;  // of the items every click sets
    std::string fill;
  };
  const Case cases[] = {
      {"#4", 4, 1, true, false, false, false, false,
       {"SpUpload", "SetupWiz_Axis", "SetupWiz_T", "SetupWiz_IO", "File_Print"}, ""},
      {"#31", 31, 1, true, false, false, false, false,
       {"SpUpload", "SetupWiz_Axis", "SetupWiz_IO", "File_Print"}, ""},
      {"SM4", 4, 1, true, false, false, false, false, {}, "par SM4"},
      {"PP1", 1, 1, true, false, true, false, false, {}, "pgm PP1"},
      {"PL1", 1, 1, true, false, false, false, false, {}, ""},
      {"LE1,2", 1, 1, true, false, true, false, false, {}, "pgm LE1,2"},
      {"SS4", 4, 1, true, false, false, false, true, {}, "status"},
      {"TH4", 4, 1, true, false, false, true, false, {}, "events"},
      {"AP1", 4, 1, false, true, false, false, false, {"File_CloseApp", "File_Print"}, ""},
      {"AX-2,1", -2, 1, true, true, false, false, false,
       {"File_CloseApp", "SetupWiz_Axis", "SetupWiz_IO"}, ""},
      {"AX-1,1", -1, 1, true, true, false, false, false,
       {"File_CloseApp", "SetupWiz_Axis", "SetupWiz_T", "SetupWiz_IO"}, ""},
      {"TU-1,1", -1, 1, true, true, false, false, false, {"File_CloseApp"}, "par TU-1,1"},
      {"EV-2,1", -2, 1, true, true, false, true, false, {}, "events"},
      {"PR-1", -2, 1, false, true, false, false, false, {"File_CloseApp"}, ""},
      {"PR-1,1", -2, 1, false, true, true, false, false, {"File_CloseApp"}, "pgm PR-1,1"},
      {"!SY", -2, 1, false, false, false, false, false, {}, ""},
  };
  const char* items[] = {"Edit_Copy",     "Edit_Paste", "File_CloseApp", "SpUpload",
                         "SetupWiz_Axis", "SetupWiz_T", "SetupWiz_IO",   "File_Print"};
  for (const Case& c : cases) {
    fills.clear();
    const int before = updates;
    Click(c.key);
    EXPECT_EQ(w.SelKey, c.key);
    EXPECT_EQ(w.CurNode, c.node) << c.key;
    EXPECT_EQ(w.CurApp, c.app) << c.key;
    EXPECT_EQ(w.AxisSelected, c.axis) << c.key;
    EXPECT_EQ(w.AppSelected, c.appSel) << c.key;
    EXPECT_EQ(w.ProgramNodeSelected, c.program) << c.key;
    EXPECT_EQ(w.EventViewShown, c.events) << c.key;
    EXPECT_EQ(!w.StatStrip->isHidden(), c.status) << c.key;
    EXPECT_EQ(!w.EditList->isHidden(), !c.status) << c.key;
    EXPECT_EQ(w.StepMarkerRow, -1);
    for (const char* item : items) {
      const bool on = std::find(c.enabled.begin(), c.enabled.end(), item) != c.enabled.end();
      EXPECT_EQ(w.Item(item)->isEnabled(), on) << c.key << " " << item;
    }
    EXPECT_EQ(fills, c.fill.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.fill})
        << c.key;
    EXPECT_EQ(updates, before + 1) << c.key << ": the state follows every selection";
  }
  Click("LE1,2");
  EXPECT_EQ(w.CurPgmName, "CUT 2");
  Click("PR-1,1");
  EXPECT_EQ(w.CurPgm, 1);
  EXPECT_EQ(w.CurApplic, w.Apps[1].get());
  Click("PP1");
  EXPECT_TRUE(w.ActiveProgramShown);
  EXPECT_EQ(w.ViewKey, "PP1");

  // A second click on the same node does nothing; a forced one fills again.
  fills.clear();
  Click("PP1");
  EXPECT_TRUE(fills.empty());
  w.ForceNodeClick = true;
  Click("PP1");
  w.ForceNodeClick = false;
  EXPECT_EQ(fills, std::vector<std::string>{"pgm PP1"});

  // Clicking with the mouse goes through the same handler.
  QTreeWidgetItem* item = nullptr;
  for (QTreeWidgetItem* it : w.Sys->findItems("Status", Qt::MatchExactly | Qt::MatchRecursive))
    if (QtSysTree::KeyOf(it) == "SS1") item = it;
  ASSERT_NE(item, nullptr);
  w.show();
  w.Sys->scrollToItem(item);
  QTest::mouseClick(w.Sys->viewport(), Qt::LeftButton, {}, w.Sys->visualItemRect(item).center());
  EXPECT_EQ(w.SelKey, "SS1");
  EXPECT_TRUE(w.StatStrip->isVisible());
}

// The shown menu's item states by name; "-" marks a hidden item.
std::map<std::string, bool> States(QMenu* m) {
  std::map<std::string, bool> out;
  for (QAction* a : m->actions()) {
    if (a->isSeparator()) continue;
    std::string name = a->menu() ? a->menu()->objectName().toStdString() : a->objectName().toStdString();
    out[a->isVisible() ? name : "-" + name] = a->isEnabled();
  }
  return out;
}

std::vector<std::string> Targets(QMenu* m, const char* item) {
  std::vector<std::string> out;
  for (QAction* a : m->findChild<QMenu*>(item)->actions())
    out.push_back((a->isEnabled() ? "" : "(off) ") + a->text().toStdString());
  return out;
}

TEST_F(TreeWindowTest, ContextMenusFollowTheSelectedNode) {
  line.running = {{1, true}, {4, false}};  // node 31 does not answer
  MainWin& w = Start({{"alpha", {{"R1", "RHO"}, {"T1", "TAU"}}, {"HOME"}},
                      {"beta", {{"T2", "TAU"}}, {}}});
  w.show();
  const std::string a = App(1), b = App(2);
  auto open = [&](const std::string& key) {
    Click(key);
    w.Sys_KeyPress(32);
    QMenu* m = w.ShownContextMenu();
    EXPECT_NE(m, nullptr) << key;
    return m;
  };

  QMenu* m = open("#4");
  EXPECT_EQ(m->objectName(), "AAMenu");
  EXPECT_EQ(w.Item("AA_Serial")->text(), "S/N : 10Lift");
  EXPECT_FALSE(w.Item("AA_SDT")->isEnabled()) << "no clock on this family";
  EXPECT_FALSE(w.Item("AA_SetConfig")->isEnabled());
  m->hide();
  EXPECT_TRUE(open("#1") && w.Item("AA_SDT")->isEnabled());
  w.ShownContextMenu()->hide();

  m = open("PP1");  // running
  EXPECT_EQ(States(m), (std::map<std::string, bool>{
                           {"PP_Copy", true}, {"PP_Store", true}, {"PP_Clear", false}, {"PP_EditProp", false}}));
  EXPECT_EQ(Targets(m, "PP_Copy"), (std::vector<std::string>{a, b}));
  m->hide();

  m = open("LE1,2");
  EXPECT_FALSE(w.Item("LE_Activate")->isEnabled());
  m->hide();

  // Node 31 gives no answer to the running query: it may be running.
  w.Sys->Add("PL31", "LE31,0", "JOG", "pgm");
  m = open("LE31,0");
  EXPECT_FALSE(w.Item("LE_Activate")->isEnabled());
  m->hide();

  m = open("PA4");  // a TAU drive: only TAU axes are targets
  EXPECT_EQ(Targets(m, "PA_Copy"), (std::vector<std::string>{a + " : T1", b + " : T2"}));
  EXPECT_FALSE(w.Item("PA_Paste")->isEnabled());
  EXPECT_FALSE(w.Item("PA_Init")->isEnabled());
  m->hide();

  w.ParameterCopyCount = 12;
  w.ParameterCopyFamily = "TAU";
  m = open("PA-2,1");  // axis T1
  EXPECT_EQ(Targets(m, "PA_Copy"), (std::vector<std::string>{"KV110i/d Lift (Node 4)", "Parameter Copy Buffer"}));
  EXPECT_TRUE(w.Item("PA_Paste")->isEnabled());
  m->hide();

  m = open("PR-1,1");
  EXPECT_EQ(States(m), (std::map<std::string, bool>{{"PR_Copy", true},
                                                     {"-PR_New", false},
                                                     {"PR_Rename", true},
                                                     {"PR_Delete", true},
                                                     {"PR_Prop", true}}));
  EXPECT_EQ(Targets(m, "PR_Copy"),
            (std::vector<std::string>{"(off) KV110c Feed (Node 1), Active Program",
                                      "KV110c Feed (Node 1), Program Library",
                                      "KV110i/d Lift (Node 4), Active Program",
                                      "KV110i/d Lift (Node 4), Program Library",
                                      "(off) KS130i/d <b>Arm</b> && co (Node 31), Active Program",
                                      "KS130i/d <b>Arm</b> && co (Node 31), Program Library"}));
  // A target carries what it names; the handler gets it, not the caption.
  std::vector<std::pair<std::string, talvero::CopyTarget>> chosen;
  w.CopyTargetHook = [&](const std::string& item, const talvero::CopyTarget& t) { chosen.emplace_back(item, t); };
  m->findChild<QMenu*>("PR_Copy")->actions()[3]->trigger();
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0].first, "PR_Copy");
  EXPECT_EQ(chosen[0].second, (talvero::CopyTarget{talvero::TargetKind::DriveProgramLibrary, 0, 0, 4}));
  m->hide();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Targets(m, "PR_Copy"), std::vector<std::string>{"none"}) << "entries unloaded after the pop-up";

  m = open("PR-1");
  EXPECT_FALSE(w.Item("PR_Rename")->isVisible());
  EXPECT_TRUE(w.Item("PR_New")->isVisible());
  m->hide();

  m = open("TH1");
  EXPECT_EQ(Targets(m, "TH_Copy"), (std::vector<std::string>{a + " : R1", a + " : T1", b + " : T2"}));
  m->hide();
  m = open("EV-1,2");
  EXPECT_EQ(Targets(m, "EV_Copy").size(), 3u);
  m->hide();
  m = open("AP2");
  EXPECT_EQ(w.Item("AP_RFN")->text().toStdString(), "Filename: " + b);
  m->hide();
  EXPECT_EQ(open("AX-1,2")->objectName(), "AXMenu");
  w.ShownContextMenu()->hide();

  // The roots have no menu.
  Click("!SY");
  w.Sys_KeyPress(32);
  EXPECT_EQ(w.ShownContextMenu(), nullptr);

  // The right button over another node selects it first, as a left click
  // does, and opens its menu: the drive menu aims at the drive pointed at.
  Click("#4");
  QTreeWidgetItem* feed = w.Sys->findItems("KV110c Feed (Node 1)", Qt::MatchExactly | Qt::MatchRecursive)[0];
  QTest::mousePress(w.Sys->viewport(), Qt::RightButton, {}, w.Sys->visualItemRect(feed).center());
  ASSERT_NE(w.ShownContextMenu(), nullptr);
  EXPECT_EQ(w.ShownContextMenu()->objectName(), "AAMenu");
  EXPECT_EQ(w.Item("AA_Serial")->text(), "S/N : 10Feed");
  EXPECT_EQ(w.Sys->SelectedKey(), "#1");
  EXPECT_EQ(w.SelKey, "#1");
  EXPECT_EQ(w.CurNode, 1);
  w.ShownContextMenu()->hide();
  // Empty space opens nothing and keeps the selection.
  w.Sys->collapseAll();
  QTreeWidgetItem* last = w.Sys->topLevelItem(w.Sys->topLevelItemCount() - 1);
  const QPoint empty(5, w.Sys->visualItemRect(last).bottom() + 6);
  ASSERT_EQ(w.Sys->itemAt(empty), nullptr);
  QTest::mousePress(w.Sys->viewport(), Qt::RightButton, {}, empty);
  EXPECT_EQ(w.ShownContextMenu(), nullptr);
  EXPECT_EQ(w.Sys->SelectedKey(), "#1");
  // The menu key selects as a click would and opens the current node's menu.
  Click("AP2");
  w.Sys->expandAll();
  w.Sys->setCurrentItem(feed);
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(1, 1), w.Sys->mapToGlobal(QPoint(1, 1)));
  QApplication::sendEvent(w.Sys, &key);
  ASSERT_NE(w.ShownContextMenu(), nullptr);
  EXPECT_EQ(w.ShownContextMenu()->objectName(), "AAMenu");
  EXPECT_EQ(w.SelKey, "#1");
  w.ShownContextMenu()->hide();
  QTest::keyClick(w.Sys, Qt::Key_Space);
  ASSERT_NE(w.ShownContextMenu(), nullptr);
  EXPECT_EQ(w.ShownContextMenu()->objectName(), "AAMenu");
  w.ShownContextMenu()->hide();
  // Both open the menu where the pointer is.
  const QPoint pointer = w.Sys->viewport()->mapToGlobal(QPoint(60, 40));
  QCursor::setPos(pointer);
  QTest::keyClick(w.Sys, Qt::Key_Space);
  ASSERT_NE(w.ShownContextMenu(), nullptr);
  EXPECT_EQ(w.ShownContextMenu()->pos(), pointer);
  w.ShownContextMenu()->hide();
}

// The window's pop-up menus are the model's: the same items in the same order.
TEST_F(TreeWindowTest, EachPopUpMenuHoldsTheModelsItemsInItsOrder) {
  MainWin& w = Start({{"cell", {}, {"HOME"}}});
  for (const talvero::ContextMenu& model : talvero::AllContextMenus()) {
    SCOPED_TRACE(model.name);
    QMenu* m = w.findChild<QMenu*>(QString::fromStdString(model.name), Qt::FindDirectChildrenOnly);
    ASSERT_NE(m, nullptr);
    std::vector<std::string> shown, wanted;
    for (QAction* a : m->actions())
      shown.push_back(a->isSeparator() ? "-" : a->menu() ? a->menu()->objectName().toStdString()
                                                         : a->objectName().toStdString());
    for (const auto& item : model.items) wanted.push_back(item.separator ? "-" : item.name);
    EXPECT_EQ(shown, wanted);
  }
}

TEST_F(TreeWindowTest, RenamingProgramsChecksTheNameFirst) {
  MainWin& w = Start({{"cell", {}, {"HOME", "JOG"}}});
  // An application program, through the tree's editor.
  Click("PR-1,2");
  auto rename = [&](const std::string& text) {
    w.Item(w.SelKey.rfind("LE", 0) == 0 ? "LE_Rename" : "PR_Rename")->trigger();
    auto* editor = w.Sys->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QString::fromStdString(text));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  w.show();
  const std::pair<const char*, const char*> refusals[] = {
      {"  ", "Invalid name."},
      {"home", "Can't rename program: name already used."},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456", "Name cannot exceed 32 characters."},
  };
  for (const auto& [text, message] : refusals) {
    prompter.ExpectMessage(message, Answer::Ok);
    rename(text);
    EXPECT_EQ(w.Sys->Text("PR-1,2"), "JOG") << text;
  }
  rename("  Jog Slow ");
  EXPECT_EQ(w.Sys->Text("PR-1,2"), "Jog Slow");
  EXPECT_EQ(w.Apps[1]->GetPgmName(2), "Jog Slow");
  // A file that cannot take the change keeps the old name, and the box says why.
  const std::string path = w.Apps[1]->Path();
  w.Apps[1]->AClose();
  ASSERT_TRUE(w.Apps[1]->AOpen(path, true).ok());
  prompter.ExpectMessage("Can't rename program: the application file is read-only: " + path,
                         Answer::Ok);
  rename("Other");
  EXPECT_EQ(w.Sys->Text("PR-1,2"), "Jog Slow");

  // A drive's library program: checked in upper case, stored before the old one goes.
  Click("LE1,0");
  const std::pair<const char*, const char*> driveRefusals[] = {
      {"", "Invalid name."},
      {"A-B", "Invalid name: Use alphanumeric characters only."},
      {"NINELETTR", "Name cannot exceed 8 characters."},
      {"cut 2", "Name already used."},
  };
  for (const auto& [text, message] : driveRefusals) {
    prompter.ExpectMessage(message, Answer::Ok);
    rename(text);
    EXPECT_EQ(w.Sys->Text("LE1,0"), "HOME") << text;
  }
  EXPECT_TRUE(line.libraryCalls.empty());
  rename(" new_1 ");
  EXPECT_EQ(line.libraryCalls, (std::vector<std::string>{"load HOME", "save NEW_1", "delete HOME"}));
  EXPECT_EQ(w.Sys->Text("LE1,0"), "NEW_1");
  EXPECT_EQ(w.CurPgmName, "NEW_1");
  // Other nodes have no names to change.
  Click("PA1");
  w.StartRename();
  EXPECT_EQ(w.Sys->viewport()->findChild<QLineEdit*>(), nullptr);
}

}  // namespace
