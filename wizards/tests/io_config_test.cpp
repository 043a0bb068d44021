// The I/O configuration dialog over the built catalogue's IO table: the rows
// per family, what opening does to the word, switching, and what the two
// buttons leave on the axis.
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "mainwin/edit_list_box.h"
#include "wizards/io_config.h"
#include "wizards/tests/wizard_fixture.h"

namespace {

using talvero::Answer;
using talvero::sim::FaultRule;

class IOConfigTest : public WizardTest {
 protected:
  wizards::IOConfig& D() { return *wizards::TheIOConfig(); }
  // What the menu does before the dialog shows.
  void Open() {
    win->IOConfigLoadHook();
    D().Form_Activate();
  }
  // A row's text without the picture's column.
  std::string Text(int row) {
    const std::string t = D().IOL->ItemText(row);
    return t.rfind('\t', 0) == 0 ? t.substr(1) : t;
  }
  std::vector<std::string> On() {
    std::vector<std::string> on;
    const auto picture = win->StepImages.Picture("on");
    for (int i = 0; i < D().IOL->ListCount(); ++i) {
      if (D().IOL->ListPicture(i) == picture) on.push_back(Text(i));
      else EXPECT_EQ(D().IOL->ListPicture(i), win->StepImages.Picture("off")) << i;
    }
    return on;
  }
  // Double-clicks the row with that text.
  void Switch(const std::string& text) {
    for (int i = 0; i < D().IOL->ListCount(); ++i)
      if (Text(i) == text) {
        D().IOL->SetSelected(i, true);
        D().IOL_DblClick();
        return;
      }
    ADD_FAILURE() << "no row " << text;
  }
};

TEST_F(IOConfigTest, RhoWordOnAnApplicationAxisAndOnTheDrive) {
  ASSERT_TRUE(Begin());
  Click("AX-1,1");
  Store(1, {{"IOCW", "216"}});
  Open();
  EXPECT_EQ(D().IOTableKey, "RHO");
  EXPECT_EQ(D().IOL->ListCount(), 9);
  EXPECT_TRUE(D().Label1->isHidden());
  EXPECT_NEAR(D().IOL->TabWidth(0), 280, 15) << "the control keeps whole pixels";
  EXPECT_EQ(On(), (std::vector<std::string>{"IN 4\tPause the program", "OUT 1\tDrive OK"}));
  EXPECT_EQ(D().IOCW, 72);
  D().IOSet_Click();
  EXPECT_EQ(Stored(1, "IOCW"), "72");
  EXPECT_TRUE(sim.Log().empty());

  Click("#1");
  sim.Drive(1).SetValue("IOCW", "216");
  sim.ClearLog();
  Open();
  EXPECT_EQ(D().IOCW, 72);
  D().IOSet_Click();
  EXPECT_EQ(sim.Requests(1), (std::vector<std::string>{"=IOCW", ":!IOCW=72"}));
  EXPECT_EQ(DriveValue(1, "IOCW"), "72");
}

TEST_F(IOConfigTest, SwitchingFunctions) {
  ASSERT_TRUE(Begin());
  struct Case { const char* axis; const char* word; std::vector<std::string> rows; std::vector<int32_t> after; };
  const Case cases[] = {
      {"AX-1,1", "72", {"IN 1\tHome switch", "OUT 1\tBrake release"}, {73, 137}},
      {"AX-1,1", "72", {"IN 4\tPause the program"}, {64}},
      {"AX-1,1", "2", {"IN 2,3\tForward/reverse overtravel"}, {4}},
      {"AX-1,1", "6", {"IN 2,3\tForward/reverse overtravel"}, {0}},
      {"AX-3,1", "512", {"IN 8,9\tStep/direction inputs"}, {1024}},
  };
  for (const Case& c : cases) {
    Click(c.axis);
    const int slot = c.axis[3] - '0';
    Store(slot, {{"IOCW", c.word}});
    Open();
    for (size_t i = 0; i < c.rows.size(); ++i) {
      Switch(c.rows[i]);
      EXPECT_EQ(D().IOCW, c.after[i]) << c.word << " " << c.rows[i];
    }
  }
  // A two-bit row stays on with one of its bits left.
  EXPECT_EQ(On(), std::vector<std::string>{"IN 8,9\tStep/direction inputs"});
  Click("AX-1,1");
  Store(1, {{"IOCW", "2"}});
  Open();
  Switch("IN 2,3\tForward/reverse overtravel");
  EXPECT_EQ(On(), std::vector<std::string>{"IN 2,3\tForward/reverse overtravel"});

  // Space switches the selected row, any other key and no selection nothing.
  Store(1, {{"IOCW", "72"}});
  Open();
  int16_t key = 65;
  D().IOL->SetSelected(0, true);
  D().IOL_KeyPress(key);
  EXPECT_EQ(D().IOCW, 72);
  key = 32;
  D().IOL_KeyPress(key);
  EXPECT_EQ(D().IOCW, 73);
  ASSERT_EQ(D().IOL->SelCount(), 0) << "the rebuilt list has no selection";
  D().IOL_KeyPress(key);
  D().IOL_DblClick();
  EXPECT_EQ(D().IOCW, 73);
}

TEST_F(IOConfigTest, FamiliesOddWordsAndSilentDrives) {
  ASSERT_TRUE(Begin());
  struct Case { const char* key; int rows; };
  for (const Case& c : {Case{"#2", 7}, {"#3", 8}, {"#5", 9}, {"AX-2,1", 7}, {"AX-4,1", 8}}) {
    Click(c.key);
    Open();
    EXPECT_EQ(D().IOL->ListCount(), c.rows) << c.key;
    EXPECT_FALSE(D().Label1->isHidden()) << c.key;
  }
  Click("#3");
  sim.Drive(3).SetValue("IOCW", "384");
  Open();
  EXPECT_EQ(On(), std::vector<std::string>{"IN 7\tJog forward"});
  EXPECT_EQ(D().IOCW, 128);

  Click("AX-1,1");
  for (auto [stored, written] : {std::pair{"-1", "-145"}, {"2.5", "2"}, {"3.5", "4"}}) {
    Store(1, {{"IOCW", stored}});
    Open();
    D().IOSet_Click();
    EXPECT_EQ(Stored(1, "IOCW"), written) << stored;
  }

  // A drive of a family the table does not know, after a RHO opening:
  // nothing listed, and Set writes the word back as read.
  Click("#1");
  sim.Drive(1).SetValue("IOCW", "216");
  Open();
  win->NodeTables.nodes[1].family = "ZETA";
  sim.ClearLog();
  Open();
  EXPECT_EQ(D().IOTableKey, "");
  EXPECT_EQ(D().IOL->ListCount(), 0);
  D().IOSet_Click();
  EXPECT_EQ(Sent(1, ":"), std::vector<std::string>{":!IOCW=216"});
  win->NodeTables.nodes[1].family = "RHO";

  // A word the drive did not give: no function shown, none switched, none set.
  sim.AddFault(FaultRule::Missing(1, "=IOCW", -1));
  Open();
  EXPECT_TRUE(D().Unread());
  EXPECT_EQ(D().IOL->ListCount(), 0);
  sim.ClearLog();
  D().IOL_DblClick();
  D().IOSet_Click();
  EXPECT_TRUE(sim.Requests(1).empty());
}

TEST_F(IOConfigTest, ExitWritesNothingAndTheMenuOpensModally) {
  ASSERT_TRUE(Begin());
  Click("#1");
  sim.Drive(1).SetValue("IOCW", "72");
  // Through the menu: the hook, the modal dialog, switches, then Exit.
  QTimer::singleShot(0, [this]() {
    EXPECT_TRUE(D().isVisible());
    EXPECT_EQ(D().IOL->ListCount(), 9);
    Switch("IN 1\tHome switch");
    Switch("OUT 1\tBrake release");
    EXPECT_EQ(D().IOCW, 137);
    D().IOExit->click();
  });
  sim.ClearLog();
  win->SetupWiz_IO_Click();
  EXPECT_FALSE(D().isVisible());
  EXPECT_EQ(sim.Requests(1), std::vector<std::string>{"=IOCW"});
  EXPECT_EQ(DriveValue(1, "IOCW"), "72");

  // The next opening starts from the drive's word; Set writes it.
  QTimer::singleShot(0, [this]() {
    EXPECT_EQ(D().IOCW, 72);
    Switch("IN 1\tHome switch");
    D().IOSet->click();
  });
  win->SetupWiz_IO_Click();
  EXPECT_EQ(DriveValue(1, "IOCW"), "73");

  // A write the drive does not take is said after the dialog closed.
  sim.AddFault(FaultRule::Missing(1, ":!IOCW", -1));
  prompter.ExpectMessage("These parameters were not written to the axis:\nIOCW", Answer::Ok);
  QTimer::singleShot(0, [this]() { D().IOSet->click(); });
  win->SetupWiz_IO_Click();
  EXPECT_EQ(DriveValue(1, "IOCW"), "73");
}

}  // namespace
