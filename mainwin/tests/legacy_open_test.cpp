// Applications written by the earlier program, opened through the real File
// menu and the reopen list at start: one question, then the converted
// application; the original kept untouched; bad files one box each.
#include <QAction>
#include <QDir>

#include <fstream>
#include <iterator>

#include "mainwin/tests/tree_window_fixture.h"
#include "platform/jet/tests/test_files.h"
#include "store/tests/legacy_fixture.h"

namespace {

using talvero::Answer;
using namespace talvero::store;
using namespace talvero::store::testing;
using talvero::jet::testing::Bytes;
using talvero::jet::testing::Put;


std::string Question(const std::string& file) {
  return file + " was written by an earlier version. Talvero converts it to its own format and keeps the original as " +
         file + ".jet. Convert it?";
}

class LegacyOpenTest : public TreeWindowTest {
 protected:
  void SetUp() override {
    TreeWindowTest::SetUp();
    base = QDir(dir.path()).canonicalPath().toStdString();
    const auto params = CatalogueParameters(libraryPath);
    model.axes = {FullAxis("Fräse 2", "PHI", params), FullAxis("Maß", "PSI", params)};
    model.programs = {FullProgram("Zyklus 1"), {"Leer", {}}};
    legacy = LegacyFile(model);
  }
  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
  void ExpectOpened(MainWin& w, int slot) {
    ASSERT_TRUE(w.AppOpen[size_t(slot)]);
    const Applic& app = *w.Apps[size_t(slot)];
    EXPECT_EQ(app.GetAxisName(1), "Fräse 2");
    EXPECT_EQ(app.WhatType(2), "PSI");
    EXPECT_EQ(app.GetPgmName(1), "Zyklus 1");
    EXPECT_EQ(w.Apps[size_t(slot)]->GetPgmStep(1, 255), "MA 27875");
    EXPECT_EQ(w.Apps[size_t(slot)]->GetParam(2, ":E0"), "IN1=1:GOTO 0");
    const auto branch = w.Sys->Children("AP" + std::to_string(slot));
    ASSERT_EQ(branch.size(), 3u) << "the programs, then the two axes";
    EXPECT_NE(w.Sys->Text(branch[1]).find("Fräse 2"), std::string::npos) << w.Sys->Text(branch[1]);
    EXPECT_EQ(Bytes(base + "/legacy.APP.jet"), legacy);
  }

  std::string base;
  LegacyApplication model;
  std::string legacy;
};

TEST_F(LegacyOpenTest, FileOpenAsksOnceConvertsAndKeepsTheOriginal) {
  MainWin& w = Start({});
  const std::string path = base + "/legacy.APP";
  Put(path, legacy);
  prompter.ExpectOpenFile(path);
  prompter.ExpectMessage(Question("legacy.APP"), Answer::Yes);
  w.File_OpenApp->trigger();
  ExpectOpened(w, 1);
  EXPECT_EQ(w.SelKey, "AP1");
  EXPECT_EQ(Files(), (QStringList{"legacy.APP", "legacy.APP.jet", "talvero.lock"}));

  // Opened again after closing: it is one of ours now, so nothing is asked.
  w.File_CloseApp->trigger();
  ASSERT_FALSE(w.AppOpen[1]);
  prompter.ExpectOpenFile(path);
  w.File_OpenApp->trigger();
  ExpectOpened(w, 1);
}

TEST_F(LegacyOpenTest, NoConvertsNothingAndOpensNothing) {
  MainWin& w = Start({});
  const std::string path = base + "/legacy.APP";
  Put(path, legacy);
  const QStringList before = Files();
  prompter.ExpectOpenFile(path);
  prompter.ExpectMessage(Question("legacy.APP"), Answer::No);
  w.File_OpenApp->trigger();
  EXPECT_FALSE(w.AppOpen[1]);
  EXPECT_FALSE(w.Sys->Exists("AP1"));
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(Bytes(path), legacy);
}

TEST_F(LegacyOpenTest, TheReopenListAtStartConvertsAfterTheSameQuestion) {
  Put(base + "/legacy.APP", legacy);
  settings.values = {{"Help/GS", "1"}, {"OpenApps/List", base + "/legacy;"}};
  prompter.ExpectMessage(Question("legacy.APP"), Answer::Yes);
  MainWin& w = Make();
  ASSERT_TRUE(w.Form_Load(""));
  ExpectOpened(w, 1);
}

TEST_F(LegacyOpenTest, LeftOutRowsAreSaidInTheQuestion) {
  MainWin& w = Start({});
  LegacyApplication twins = model;
  twins.axes.push_back({"FRäSE 2", "RHO", {}});
  const std::string path = base + "/legacy.APP";
  Put(path, LegacyFile(twins));
  prompter.ExpectOpenFile(path);
  prompter.ExpectMessage(Question("legacy.APP") +
                             "\n\nLeft out of the conversion:\nIt holds two axes named FRäSE 2; the second is not converted.",
                         Answer::Yes);
  w.File_OpenApp->trigger();
  ASSERT_TRUE(w.AppOpen[1]);
  EXPECT_EQ(w.Apps[1]->GetAxisName(3), "");
}

TEST_F(LegacyOpenTest, BadFilesGiveOneBoxEachAndLeaveNothingBehind) {
  MainWin& w = Start({});
  LegacyApplication one;
  one.axes = {{"X", "RHO", {{"KP", "1"}}}};
  const std::string good = LegacyFile(one);
  const struct {
    std::string file, bytes, reason;
  } cases[] = {
      {"cut.APP", good.substr(0, good.size() - 1000), "it is cut short (" + std::to_string(good.size() - 1000) +
                                                           " bytes, not a whole number of 2048-byte pages)"},
      {"damaged.APP", good.substr(0, 2048) + std::string(good.size() - 2048, '\xA5'),
       "it is damaged (its catalogue of tables can't be read)"},
      {"locked.APP", jw::WriteJet3(LegacyTables(one), {"geheim", 0}), "it is protected by a database password"},
      {"secret.APP", jw::WriteJet3(LegacyTables(one), {"", 0x5EC2E7}), "it is encrypted"},
      {"later.accdb", jw::AceFile(), "it is a database of the later ACE format (.accdb), which Talvero does not read"},
      {"sample.APP", Bytes(TALVERO_NWIND), "it is a database but no application (it has no table Axis)"},
  };
  for (const auto& c : cases) {
    if (c.bytes.empty()) continue;  // no sample database on this machine
    const std::string path = base + "/" + c.file;
    Put(path, c.bytes);
    const QStringList before = Files();
    prompter.ExpectOpenFile(path);
    prompter.ExpectMessage("Can't open application " + path + ": " + c.reason, Answer::Ok);
    w.File_OpenApp->trigger();
    EXPECT_FALSE(w.AppOpen[1]) << c.file;
    EXPECT_EQ(Files(), before) << c.file;
    EXPECT_EQ(Bytes(path), c.bytes) << c.file;
  }
}

}  // namespace
