#include "mainwin/model/rename_check.h"

#include <gtest/gtest.h>

namespace talvero {
namespace {

struct RenameCase {
  const char* typed;
  const char* refusal;  // "" = accepted
  const char* name;     // the checked name when accepted
};

TEST(DriveProgramRename, ChecksTheUpperCasedTrimmedName) {
  const std::vector<LibraryEntry> library{{0, "HOME"}, {2, "JOG"}};
  const RenameCase cases[] = {
      {"abc", "", "ABC"},
      {"  new_1 ", "", "NEW_1"},
      {"A B", "", "A B"},
      {"ABCDEFGH", "", "ABCDEFGH"},
      {"", "Invalid name.", ""},
      {"   ", "Invalid name.", ""},
      {"ABCDEFGHI", "Name cannot exceed 8 characters.", ""},
      {"A-B", "Invalid name: Use alphanumeric characters only.", ""},
      {"TOOLONG-X", "Invalid name: Use alphanumeric characters only.", ""},
      {"$$SAVE$$", "Invalid name: Use alphanumeric characters only.", ""},
      {"caf\xc3\xa9", "Invalid name: Use alphanumeric characters only.", ""},
      {"jog", "Name already used.", ""},
      {"Run1", "Name already used.", ""},  // its own old name
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    auto r = CheckDriveProgramRename(c.typed, "RUN1", library);
    EXPECT_EQ(r.ok(), *c.refusal == 0);
    if (r.refusal) {
      EXPECT_EQ(r.refusal->text, c.refusal);
      EXPECT_EQ(r.refusal->title, "Talvero");
      EXPECT_EQ(r.refusal->icon, Icon::None);
      EXPECT_EQ(r.refusal->buttons, Buttons::Ok);
    } else {
      EXPECT_EQ(r.name, c.name);
    }
  }
}

TEST(DriveProgramRename, OldNameIsTakenEvenWhenTheLibraryCouldNotBeRead) {
  EXPECT_FALSE(CheckDriveProgramRename("home", "HOME", {}).ok());
}

TEST(DriveProgramRename, SavesTheCheckedNameFirstAndDeletesOnlyAfter) {
  auto checked = CheckDriveProgramRename(" park ", "HOME", {{0, "HOME"}});
  ASSERT_TRUE(checked.ok());
  auto plan = PlanDriveRename(checked, "HOME");
  EXPECT_EQ(plan.saveAs, "PARK");
  EXPECT_EQ(plan.thenDelete, "HOME");

  auto done = FinishDriveRename(plan, true, true);
  EXPECT_TRUE(done.accept);
  EXPECT_EQ(done.nodeText, "PARK");
  EXPECT_EQ(done.curPgmName.value_or(""), "PARK");
  EXPECT_FALSE(done.message);

  auto notSaved = FinishDriveRename(plan, false, true);
  EXPECT_FALSE(notSaved.accept);
  ASSERT_TRUE(notSaved.message);
  EXPECT_EQ(notSaved.message->text, "Trouble renaming.");
  EXPECT_EQ(notSaved.message->icon, Icon::None);
  EXPECT_FALSE(notSaved.relistLibrary);
  EXPECT_FALSE(notSaved.curPgmName);

  auto notDeleted = FinishDriveRename(plan, true, false);
  EXPECT_FALSE(notDeleted.accept);
  ASSERT_TRUE(notDeleted.message);
  EXPECT_EQ(notDeleted.message->text, "Couldn't rename.");
  EXPECT_EQ(notDeleted.message->icon, Icon::None);
  EXPECT_TRUE(notDeleted.relistLibrary);
  EXPECT_FALSE(notDeleted.curPgmName);  // the old one is still there and still shown
}

TEST(AppProgramRename, TrimsAndRefusesEmptyTooLongAndTakenNames) {
  const std::vector<std::string> programs{"Main", "", "Homing  "};
  const RenameCase cases[] = {
      {"  Park Slow ", "", "Park Slow"},
      {"abcdefghijklmnopqrstuvwxyz012345", "", "abcdefghijklmnopqrstuvwxyz012345"},
      {"", "Invalid name.", ""},
      {"  ", "Invalid name.", ""},
      {"abcdefghijklmnopqrstuvwxyz0123456", "Name cannot exceed 32 characters.", ""},
      {"MAIN", "Can't rename program: name already used.", ""},
      {" homing", "Can't rename program: name already used.", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    auto r = CheckAppProgramRename(c.typed, programs);
    EXPECT_EQ(r.ok(), *c.refusal == 0);
    if (r.refusal) {
      EXPECT_EQ(r.refusal->text, c.refusal);
      EXPECT_EQ(r.refusal->title, "Talvero");
      EXPECT_EQ(r.refusal->icon, Icon::None);
    } else {
      EXPECT_EQ(r.name, c.name);
    }
  }
  // 32 characters of text, not 32 bytes.
  std::string accented;
  for (int i = 0; i < 32; ++i) accented += "\xc3\xa9";
  EXPECT_TRUE(CheckAppProgramRename(accented, programs).ok());
}

}  // namespace
}  // namespace talvero
