// Applications written by the earlier program, opened through the real File
// menu and the reopen list at start: one question, then the converted
// application; the original kept untouched; bad files one box each.
#include <QAction>
#include <QDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + size_t(k)] = char((v >> (8 * k)) & 0xFF);
}

jw::Table& Named(std::vector<jw::Table>& tables, const std::string& name) {
  return *std::find_if(tables.begin(), tables.end(), [&](const jw::Table& t) { return t.name == name; });
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

// Damaged files as a damaged disk leaves them: the question names each table
// libmdb read short, with the rows read of the rows counted, and what is left
// out; Yes converts exactly the rows that were read whole.
TEST_F(LegacyOpenTest, DamagedTablesAreSaidAndOnlyWholeRowsConvert) {
  MainWin& w = Start({});
  LegacyApplication small;
  small.axes = {{"A1", "RHO", {{"KP", "1"}, {"KI", "2"}, {"KD", "3"}, {"KV", "4"}, {"KA", "5"}}},
                {"A2", "TAU", {{"KP", "6"}, {"KI", "7"}, {"KD", "8"}}}};
  small.programs = {{"P", {{0, "MA 0"}, {1, "MA 1"}, {2, "MA 2"}, {3, "MA 3"}, {4, "MA 4"}, {5, "MA 5"}}},
                    {"Q", {{0, "MR 1"}, {1, "MR 2"}}}};
  using Tables = std::vector<jw::Table>;
  const std::string one = "Damaged table, of which only the rows read whole are converted: ";
  const struct Case {
    const char* what;
    std::function<void(Tables&)> shape;  // the tables before they are written
    std::function<void(std::string&, const Tables&)> damage;
    std::string damaged;
    std::vector<std::string> leftOut;
    std::function<void(LegacyApplication&)> whole;  // the model, cut to what was read whole
  } cases[] = {
      {"a page map entry pointing at another table's page", {},
       [](std::string& b, const Tables& t) {
         const jw::Placement p = jw::Place(b, t, "PGM:P");
         ASSERT_EQ(p.dataPages.size(), 2u);
         EXPECT_EQ(jw::Place(b, t, "PGM:Q").dataPages, std::vector<uint32_t>{p.dataPages[0] + 2});
         b[p.usageMap + 5] = 0x05;  // P's first page, then Q's in place of P's second
       },
       one + "PGM:P (3 of 6 rows read).", {}, [](LegacyApplication& m) { m.programs[0].lines.resize(3); }},
      {"the axis list's map pointing at the program list's page", {},
       [](std::string& b, const Tables& t) {
         Put32(b, jw::Place(b, t, "Axis").usageMap + 1, jw::Place(b, t, "Programs").dataPages[0]);
       },
       "", {"The table Axis is left out: it is damaged (0 of 2 rows read)."},
       [](LegacyApplication& m) { m.axes.clear(); }},
      {"a data page's row count cut",  {},
       [](std::string& b, const Tables& t) { b[jw::Place(b, t, "AXIS:A1").dataPages[0] * jw::kJet3Page + 8] = 3; },
       one + "AXIS:A1 (3 of 5 rows read).", {}, [](LegacyApplication& m) { m.axes[0].params.resize(3); }},
      {"a definition counting more rows than its pages hold", {},
       [](std::string& b, const Tables& t) { Put32(b, jw::Place(b, t, "Programs").definition * jw::kJet3Page + 12, 4); },
       one + "Programs (2 of 4 rows read).", {}, [](LegacyApplication&) {}},
      {"both at once", {},
       [](std::string& b, const Tables& t) {
         b[jw::Place(b, t, "AXIS:A1").dataPages[0] * jw::kJet3Page + 8] = 3;
         Put32(b, jw::Place(b, t, "Programs").definition * jw::kJet3Page + 12, 4);
       },
       "Damaged tables, of which only the rows read whole are converted: Programs (2 of 4 rows read), AXIS:A1 (3 of 5 "
       "rows read).",
       {}, [](LegacyApplication& m) { m.axes[0].params.resize(3); }},
      {"every line of a program lost", {},
       [](std::string& b, const Tables& t) { b[jw::Place(b, t, "PGM:Q").dataPages[0] * jw::kJet3Page + 8] = 0; },
       "", {"The program Q is not converted: its table PGM:Q is damaged (0 of 2 rows read)."},
       [](LegacyApplication& m) { m.programs.pop_back(); }},
      {"a 240-character program line",
       [](Tables& t) {
         Named(t, "PGM:P").columns[1].size = 255;
         Named(t, "PGM:P").rows[1][1] = std::string(240, 'M');
       },
       {}, "", {"Line 1 of the program P is not converted: its text is too long (240 characters, at most 64): MMMMMMMMMMMM…."},
       [](LegacyApplication& m) { m.programs[0].lines.erase(m.programs[0].lines.begin() + 1); }},
      {"a damaged parameter name",
       [](Tables& t) {
         Named(t, "AXIS:A2").columns[1].size = 16;
         Named(t, "AXIS:A2").rows[1][1] = "KIÿÿÿÿÿÿÿÿÿÿÿÿ";
       },
       {}, "", {"The parameter KIÿÿÿÿÿÿÿÿÿÿ… of the axis A2 is not converted: its name is too long (14 characters, at most 8)."},
       [](LegacyApplication& m) { m.axes[1].params.erase(m.axes[1].params.begin() + 1); }},
  };
  const std::string path = base + "/legacy.APP";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tables tables = LegacyTables(small);
    Named(tables, "PGM:P").rowsPerPage = 3;
    if (c.shape) c.shape(tables);
    std::string bytes = jw::WriteJet3(tables);
    if (c.damage) c.damage(bytes, tables);
    Put(path, bytes);
    std::string question = Question("legacy.APP");
    if (!c.damaged.empty()) question += "\n\n" + c.damaged;
    if (!c.leftOut.empty()) question += "\n\nLeft out of the conversion:";
    for (const std::string& line : c.leftOut) question += "\n" + line;
    prompter.ExpectOpenFile(path);
    prompter.ExpectMessage(question, Answer::Yes);
    w.File_OpenApp->trigger();
    ASSERT_TRUE(w.AppOpen[1]);
    LegacyApplication whole = small;
    c.whole(whole);
    EXPECT_EQ(Dump(*w.Apps[1]), Dump(whole));
    EXPECT_EQ(Bytes(path + ".jet"), bytes);
    w.File_CloseApp->trigger();
    ASSERT_FALSE(w.AppOpen[1]);
    std::remove(path.c_str());
    std::remove((path + ".jet").c_str());
  }
}

// The file is replaced while the question is shown: Yes converts nothing,
// keeps nothing, and writes nowhere, a link's new target least of all.
TEST_F(LegacyOpenTest, AFileSwappedWhileTheQuestionIsShownIsNeitherConvertedNorReplaced) {
  MainWin& w = Start({});
  const std::string path = base + "/legacy.APP", third = base + "/third.txt";
  LegacyApplication other;
  other.axes = {{"O", "RHO", {{"KP", "9"}}}};
  const std::string otherJet = LegacyFile(other);
  std::string ours;
  {
    Applic app;
    ASSERT_TRUE(app.Create(base + "/ours.APP"));
    ASSERT_TRUE(app.AddPgm("MINE"));
    app.AClose();
    ours = Bytes(base + "/ours.APP");
    std::remove((base + "/ours.APP").c_str());
  }
  const auto swapIn = [&](const std::string& bytes) {
    Put(path + ".new", bytes);
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
  };
  const std::string changed = "legacy.APP changed while the question was shown; nothing was converted.";
  const struct Case {
    const char* what;
    std::function<void()> swap;
    std::string told;
    std::function<void()> after;
  } cases[] = {
      {"another Jet file", [&] { swapIn(otherJet); }, changed, [&] { EXPECT_EQ(Bytes(path), otherJet); }},
      {"an application of ours", [&] { swapIn(ours); }, changed, [&] { EXPECT_EQ(Bytes(path), ours); }},
      {"a symbolic link to a third file",
       [&] {
         Put(third, "the third file");
         std::remove(path.c_str());
         std::filesystem::create_symlink("third.txt", path);
       },
       changed,
       [&] {
         EXPECT_TRUE(std::filesystem::is_symlink(path));
         EXPECT_EQ(Bytes(third), "the third file");
       }},
      {"written over in place", [&] { std::ofstream(path, std::ios::binary | std::ios::trunc) << otherJet; }, changed,
       [&] { EXPECT_EQ(Bytes(path), otherJet); }},
      {"removed", [&] { std::remove(path.c_str()); },
       "legacy.APP was removed while the question was shown; nothing was converted.",
       [&] { EXPECT_FALSE(std::filesystem::exists(path)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put(path, legacy);
    prompter.ExpectOpenFile(path);
    prompter.ExpectMessage(Question("legacy.APP"), Answer::Yes).WhileShown(c.swap);
    prompter.ExpectMessage(c.told, Answer::Ok);
    w.File_OpenApp->trigger();
    EXPECT_FALSE(w.AppOpen[1]);
    EXPECT_FALSE(w.Sys->Exists("AP1"));
    c.after();
    for (const QString& f : Files())
      EXPECT_TRUE(f == "legacy.APP" || f == "third.txt" || f == "talvero.lock") << f.toStdString();
    std::remove(path.c_str());
    std::remove(third.c_str());
  }
}

TEST_F(LegacyOpenTest, WithEveryKeptNameTakenNothingIsAsked) {
  MainWin& w = Start({});
  const std::string folder = base + "/full";
  std::filesystem::create_directory(folder);
  const std::string path = folder + "/legacy.APP";
  Put(path, legacy);
  Put(path + ".jet", "");
  for (int n = 2; n <= 999; ++n) Put(path + "." + std::to_string(n) + ".jet", "");
  prompter.ExpectOpenFile(path);
  prompter.ExpectMessage("Can't convert application " + path +
                             ": every name for keeping the original, legacy.APP.jet to legacy.APP.999.jet, is taken. "
                             "The file is left as it was.",
                         Answer::Ok);
  w.File_OpenApp->trigger();
  EXPECT_FALSE(w.AppOpen[1]);
  EXPECT_EQ(Bytes(path), legacy);
  std::filesystem::remove_all(folder);
}

}  // namespace
