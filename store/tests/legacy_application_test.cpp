// Applications written by the earlier program: read through the Jet reader,
// converted, and opened again by the application class as any file of ours.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include <csignal>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/files/replacing_file.h"
#include "platform/files/tests/file_kinds.h"
#include "platform/jet/jet_file.h"
#include "platform/ui/scripted_prompter.h"
#include "store/applic.h"
#include "store/tests/fixture_library.h"
#include "platform/jet/tests/test_files.h"
#include "store/tests/legacy_fixture.h"

namespace {

using namespace talvero::store;
using namespace talvero::store::testing;
using talvero::jet::testing::Bytes;
using talvero::jet::testing::Put;
using talvero::jet::testing::Shell;

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

class LegacyApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    params = CatalogueParameters(TALVERO_LIBRARY_DB);
    ASSERT_GT(params.size(), 50u);
    talvero::SetPrompter(&prompter);
  }
  void TearDown() override {
    talvero::SetPrompter(nullptr);
    EXPECT_TRUE(prompter.AllShown()) << "boxes expected but not shown";
  }
  // Writes the file, converts it and opens the result; the original's bytes
  // must survive under the kept name.
  LegacyApplication Convert(const std::string& bytes, const std::string& name = "legacy.APP") {
    const std::string path = dir / name;
    Put(path, bytes);
    auto original = LegacyOriginal::Open(path);
    EXPECT_TRUE(original) << original.error;
    if (!original) return {};
    auto app = ReadLegacyApplication(*original);
    EXPECT_TRUE(app) << app.error;
    if (!app) return {};
    const std::string kept = KeptOriginalName(path);
    EXPECT_EQ(kept, path + ".jet");
    const Conversion c = ConvertLegacyApplication(*app, *original, kept);
    EXPECT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(Bytes(kept), bytes) << "the original is kept byte for byte";
    EXPECT_EQ(talvero::jet::RecogniseFile(path), talvero::jet::Kind::NotJet);
    auto opened = applic.AOpen(path);
    EXPECT_TRUE(opened) << opened.error;
    return *app;
  }
  // The opened application holds exactly the model's rows, in their order.
  void ExpectHolds(const LegacyApplication& model) {
    for (int16_t slot = 1; slot <= 16; ++slot) {
      const size_t i = size_t(slot - 1);
      if (i >= model.axes.size()) {
        EXPECT_EQ(applic.GetAxisName(slot), "") << slot;
        continue;
      }
      const LegacyAxis& a = model.axes[i];
      EXPECT_EQ(applic.GetAxisName(slot), a.name);
      EXPECT_EQ(applic.WhatType(slot), a.family);
      auto rs = applic.Database()->OpenRecordset("AXIS:" + a.name);
      ASSERT_TRUE(rs) << rs.error;
      std::vector<std::pair<std::string, std::string>> rows;
      for (; !(*rs)->Eof(); (*rs)->MoveNext()) rows.emplace_back((*rs)->Text("Name"), (*rs)->Text("Value"));
      EXPECT_EQ(rows, a.params) << a.name;
    }
    for (int16_t slot = 1; slot <= 64; ++slot) {
      const size_t i = size_t(slot - 1);
      if (i >= model.programs.size()) {
        EXPECT_EQ(applic.GetPgmName(slot), "") << slot;
        continue;
      }
      const LegacyProgram& p = model.programs[i];
      EXPECT_EQ(applic.GetPgmName(slot), p.name);
      for (const auto& [line, text] : p.lines) EXPECT_EQ(applic.GetPgmStep(slot, line), text) << p.name << " " << line;
    }
  }

  store_test::TempDir dir;
  talvero::ScriptedPrompter prompter;
  Applic applic;
  std::vector<std::string> params;
};

TEST_F(LegacyApplicationTest, EveryFamilyAndAWholeProgramConvertRowForRow) {
  LegacyApplication model;
  for (const char* f : {"RHO", "TAU", "PHI", "PSI"}) model.axes.push_back(FullAxis(std::string("X") + f, f, params));
  model.programs = {FullProgram("FULL"), {"EMPTY", {}}};
  const LegacyApplication read = Convert(LegacyFile(model));
  EXPECT_TRUE(read.skipped.empty());
  EXPECT_EQ(read.rowsRead, 4 + 2 + 4 * (params.size() + 10) + 259);
  ExpectHolds(model);
  EXPECT_EQ(applic.LongName(2), "KV110i/d ");
  EXPECT_EQ(applic.GetParam(1, ":E3"), "IN4=1:GOTO 30");
  EXPECT_EQ(applic.GetPD(1), "Füllen und Schließen");
  EXPECT_FLOAT_EQ(applic.GetTrans(1), 2.5f);
  EXPECT_EQ(applic.GetUnits(1), "mm");
  EXPECT_EQ(applic.GetMaxLineNumber(1), 255);
  EXPECT_EQ(applic.GetUnits(2), "system-rev");
  // The converted file is one of ours: changes go into it.
  ASSERT_TRUE(applic.UpdatePgmStep(2, 0, "MA 1"));
  EXPECT_EQ(applic.GetPgmStep(2, 0), "MA 1");
}

TEST_F(LegacyApplicationTest, TheWritersFixtureReadsBackThroughTheMdbtools) {
  if (std::system("command -v mdb-export >/dev/null 2>&1") != 0) GTEST_SKIP() << "mdbtools not installed";
  LegacyApplication model;
  model.axes = {FullAxis("Fräse 2", "PHI", params)};
  model.programs = {FullProgram("FULL")};
  const std::string path = dir / "check.APP";
  Put(path, LegacyFile(model));
  EXPECT_EQ(Shell("mdb-ver '" + path + "'"), "JET3\n");
  EXPECT_EQ(Shell("mdb-tables -1 '" + path + "'"), "Axis\nPrograms\nAXIS:Fräse 2\nPGM:FULL\n");
  EXPECT_EQ(Shell("mdb-export -H '" + path + "' Axis"), "1,\"Fräse 2\",\"PHI\"\n");
  const std::string pgm = Shell("mdb-export -H '" + path + "' 'PGM:FULL'");
  EXPECT_EQ(std::count(pgm.begin(), pgm.end(), '\n'), 259);
  EXPECT_NE(pgm.find("0,\"MA -4000\"\n"), std::string::npos);
  EXPECT_NE(pgm.find("-4,\"Füllen und Schließen\"\n"), std::string::npos);
  const std::string axis = Shell("mdb-export -H '" + path + "' 'AXIS:Fräse 2'");
  EXPECT_EQ(size_t(std::count(axis.begin(), axis.end(), '\n')), params.size() + 10);
  EXPECT_NE(axis.find(",\":E8\",\"0\"\n"), std::string::npos);
}

TEST_F(LegacyApplicationTest, SlotsBeyondSixteenAxesAndSixtyFourProgramsAreSaid) {
  LegacyApplication model;
  for (int i = 1; i <= 17; ++i) model.axes.push_back({"A" + std::to_string(i), "RHO", {{"KP", std::to_string(i)}}});
  for (int i = 1; i <= 66; ++i) model.programs.push_back({"P" + std::to_string(i), {{0, "MA " + std::to_string(i)}}});
  const LegacyApplication read = Convert(LegacyFile(model));
  EXPECT_EQ(read.skipped, (std::vector<std::string>{
                              "Beyond the 16 axes an application holds, these are not converted: A17.",
                              "Beyond the 64 programs an application holds, these are not converted: P65, P66."}));
  model.axes.resize(16);
  model.programs.resize(64);
  ExpectHolds(model);
}

TEST_F(LegacyApplicationTest, OddNamesTwinsMissingTablesDeletedRowsAndLongTables) {
  LegacyApplication model;
  model.axes = {FullAxis("Fräse 2", "RHO", params), FullAxis("Maß", "PSI", params), FullAxis("FRäSE 2", "TAU", params),
                FullAxis("Maß ", "PHI", params)};
  model.programs = {FullProgram("Zyklus é"), {"Gone", {{0, "MA 1"}}}, FullProgram("Long one")};
  std::vector<jw::Table> tables = LegacyTables(model);
  // No table for the program "Gone".
  tables.erase(std::find_if(tables.begin(), tables.end(), [](const jw::Table& t) { return t.name == "PGM:Gone"; }));
  // "Long one" on many data pages, with its line 7 deleted.
  auto& longOne = *std::find_if(tables.begin(), tables.end(), [](const jw::Table& t) { return t.name == "PGM:Long one"; });
  longOne.rowsPerPage = 10;
  longOne.deleted = {7};
  const LegacyApplication read = Convert(jw::WriteJet3(tables));
  EXPECT_EQ(read.skipped, (std::vector<std::string>{
                              "It holds two axes named FRäSE 2; the second is not converted.",
                              "It holds two axes named Maß; the second is not converted.",
                              "The program Gone is not converted: its table PGM:Gone is missing."}));
  LegacyApplication expected = model;
  expected.axes.resize(2);
  expected.programs.erase(expected.programs.begin() + 1);
  expected.programs[1].lines.erase(expected.programs[1].lines.begin() + 7);
  ExpectHolds(expected);
  EXPECT_EQ(applic.GetPgmStep(2, 7), "");
  EXPECT_EQ(applic.GetPgmStep(2, 8), "MA -3000");
}

TEST_F(LegacyApplicationTest, FilesThatAreNoApplicationSayWhy) {
  LegacyApplication one;
  one.axes = {FullAxis("X", "RHO", params)};
  const std::string good = LegacyFile(one);
  jw::Table only = LegacyTables(one)[0];
  const struct {
    const char* what;
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"no Programs", jw::WriteJet3({only}), "it is a database but no application (it has no table Programs)"},
      {"cut", good.substr(0, good.size() / 2 + 7), "it is cut short"},
      {"password", jw::WriteJet3(LegacyTables(one), {"x", 0}), "it is protected by a database password"},
      {"ace", jw::AceFile(), "it is a database of the later ACE format (.accdb), which Talvero does not read"},
  };
  for (const auto& c : cases) {
    Put(dir / "bad.APP", c.bytes);
    auto app = ReadLegacyApplication(dir / "bad.APP");
    EXPECT_FALSE(app) << c.what;
    EXPECT_NE(app.error.find(c.reason), std::string::npos) << c.what << ": " << app.error;
  }
  const std::string nwind = TALVERO_NWIND;
  if (Exists(nwind)) {
    EXPECT_EQ(ReadLegacyApplication(nwind).error, "it is a database but no application (it has no table Axis)");
  }
}

TEST_F(LegacyApplicationTest, AFailedConversionChangesNothing) {
  LegacyApplication one;
  one.axes = {FullAxis("X", "RHO", params)};
  const std::string bytes = LegacyFile(one);
  const std::string path = dir / "keep.APP";
  Put(path, bytes);
  Put(path + ".jet", "someone else's");
  const std::string kept = KeptOriginalName(path);
  EXPECT_EQ(kept, path + ".2.jet");
  auto original = LegacyOriginal::Open(path);
  ASSERT_TRUE(original);
  auto app = ReadLegacyApplication(*original);
  ASSERT_TRUE(app);
  Put(kept, "in the way");  // taken between the question and the conversion
  const Conversion c = ConvertLegacyApplication(*app, *original, kept);
  EXPECT_EQ(c.end, ConvertEnd::Failed);
  EXPECT_EQ(c.error, kept + " exists already");
  EXPECT_EQ(Bytes(path), bytes);
  EXPECT_EQ(Bytes(kept), "in the way");
  EXPECT_EQ(Bytes(path + ".jet"), "someone else's");
}

// The final replace fails after the original was kept: the kept name goes
// again, or the error says why it could not.
TEST_F(LegacyApplicationTest, AFailedReplaceRemovesTheKeptNameOrSaysWhyNot) {
  LegacyApplication one;
  one.axes = {{"X", "RHO", {{"KP", "1"}}}};
  const std::string bytes = LegacyFile(one);
  const std::string path = dir / "keep.APP";
  const struct {
    const char* what;
    int (*rename)(const char*, const char*);
    std::string error;
  } cases[] = {
      {"rename fails",
       [](const char*, const char*) {
         errno = EIO;
         return -1;
       },
       "Input/output error"},
      {"and the kept name is taken by a folder",
       [](const char*, const char* to) {
         const std::string kept = std::string(to) + ".jet";
         ::unlink(kept.c_str());
         ::mkdir(kept.c_str(), 0700);
         Put(kept + "/inside", "x");
         errno = EIO;
         return -1;
       },
       "Input/output error; keep.APP.jet, made for the original, could not be removed: Is a directory"},
  };
  talvero::ReplaceCalls& calls = talvero::TheReplaceCalls();
  const talvero::ReplaceCalls real = calls;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Put(path, bytes);
    auto original = LegacyOriginal::Open(path);
    ASSERT_TRUE(original);
    auto app = ReadLegacyApplication(*original);
    ASSERT_TRUE(app);
    calls.rename = c.rename;
    const Conversion done = ConvertLegacyApplication(*app, *original, path + ".jet");
    calls = real;
    EXPECT_EQ(done.end, ConvertEnd::Failed);
    EXPECT_EQ(done.error, c.error);
    EXPECT_EQ(Bytes(path), bytes);
    EXPECT_EQ(Exists(path + ".jet"), c.error.find("could not be removed") != std::string::npos);
    std::filesystem::remove_all(path + ".jet");
  }
}

TEST_F(LegacyApplicationTest, AFullOrMissingTemporaryFolderIsNamed) {
  LegacyApplication model;
  for (int i = 0; i < 4; ++i) model.axes.push_back(FullAxis("A" + std::to_string(i), "RHO", params));
  const std::string bytes = LegacyFile(model);
  const std::string path = dir / "big.APP";
  const std::string scratch = dir / "tmp";
  std::filesystem::create_directory(scratch);
  const char* before = std::getenv("TMPDIR");
  const std::string saved = before ? before : "";
  const struct {
    std::string tmp;
    std::string error;
  } cases[] = {
      {scratch, "can't build it in the temporary folder " + scratch + ": "},  // SQLite's words follow
      {dir / "none", "can't build it in the temporary folder " + dir / "none" + ": No such file or directory"},
  };
  for (const auto& c : cases) {
    Put(path, bytes);
    auto original = LegacyOriginal::Open(path);
    ASSERT_TRUE(original);
    auto app = ReadLegacyApplication(*original);
    ASSERT_TRUE(app);
    ::setenv("TMPDIR", c.tmp.c_str(), 1);
    Conversion done;
    {
      // The database being built is the first file written: it can't grow past this.
      const talvero::testing::FileSizeLimit full(4096);
      done = ConvertLegacyApplication(*app, *original, path + ".jet");
    }
    if (before) ::setenv("TMPDIR", saved.c_str(), 1);
    else ::unsetenv("TMPDIR");
    EXPECT_EQ(done.error.rfind(c.error, 0), 0u) << done.error;
    EXPECT_EQ(Bytes(path), bytes);
    EXPECT_FALSE(Exists(path + ".jet"));
  }
  EXPECT_TRUE(std::filesystem::is_empty(scratch)) << "the temporary folder is left empty";
}

}  // namespace

namespace {

TEST(LegacyRead, AReaderThatCrashesOrHangsIsToldAsDamaged) {
  store_test::TempDir dir;
  talvero::store::LegacyApplication one;
  one.axes = {{"X", "RHO", {{"KP", "1"}}}};
  Put(dir / "a.APP", talvero::store::testing::LegacyFile(one));
  const struct {
    void (*fault)();
    std::string reason;
  } cases[] = {
      // The default action, as libmdb's fault would have it where no sanitizer
      // catches the signal first.
      {[] {
         std::signal(SIGSEGV, SIG_DFL);
         std::raise(SIGSEGV);
       },
       "it is damaged (reading it failed with signal 11)"},
      // A child that is not ended at the limit ends itself later, so that a
      // reader that waits for it shows as slow instead of hanging the suite.
      {[] {
         ::alarm(5);
         ::pause();
       },
       "it is damaged (reading it did not end within 0 s)"},
      {[] { ::_exit(0); }, "it is damaged (reading it failed)"},
  };
  for (const auto& c : cases) {
    talvero::store::SetLegacyReadFault(c.fault, 300);
    const talvero::testing::Stopwatch watch;
    auto app = talvero::store::ReadLegacyApplication(dir / "a.APP");
    EXPECT_EQ(app.error, c.reason);
    EXPECT_LT(watch.Seconds(), 3.0) << c.reason;
  }
  talvero::store::SetLegacyReadFault(nullptr, 0);
  auto app = talvero::store::ReadLegacyApplication(dir / "a.APP");
  ASSERT_TRUE(app) << app.error;
  EXPECT_EQ(app->axes[0].params, (std::vector<std::pair<std::string, std::string>>{{"KP", "1"}}));
}

}  // namespace

namespace {

using talvero::testing::kNobody;

std::string AsNobody(const std::function<std::string()>& f) { return talvero::testing::AsUser(kNobody, f); }

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// As a user who may not replace the file, the conversion is refused before
// anything is written, in words; the user's own file in a sticky folder converts.
TEST(LegacyConvertAsAUser, AFileTheUserMayNotReplaceIsRefusedBeforeAnythingIsWritten) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user (nobody): run the tests as root";
  store_test::TempDir dir;
  talvero::store::LegacyApplication one;
  one.axes = {{"X", "RHO", {{"KP", "1"}}}};
  const std::string bytes = talvero::store::testing::LegacyFile(one);
  const std::string sticky = dir / "sticky", closed = dir / "closed", open = dir / "open";
  for (const auto& [folder, mode] : {std::pair{sticky, 01777}, {closed, 0555}, {open, 0777}}) {
    std::filesystem::create_directory(folder);
    ::chmod(folder.c_str(), mode_t(mode));
  }
  const struct {
    const char* what;
    std::string path;
    uid_t owner;
    mode_t mode;
    std::string refusal;  // "" = converted
  } cases[] = {
      {"another's file in a sticky folder", sticky + "/a.APP", 0, 0666,
       "the folder " + sticky + " lets only the file's owner replace it"},
      {"write-protected", open + "/b.APP", 0, 0444, "it is write-protected"},
      {"a folder that takes no new file", closed + "/c.APP", kNobody, 0666,
       "the folder " + closed + " does not allow new files"},
      {"the user's own file in a sticky folder", sticky + "/d.APP", kNobody, 0644, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Put(c.path, bytes);
    ASSERT_EQ(::chown(c.path.c_str(), c.owner, c.owner), 0);
    ::chmod(c.path.c_str(), c.mode);
    const std::string folder = c.path.substr(0, c.path.rfind('/'));
    const auto before = Entries(folder);
    const std::string got = AsNobody([&] {
      namespace st = talvero::store;
      auto original = st::LegacyOriginal::Open(c.path);
      if (!original) return "can't open: " + original.error;
      auto app = st::ReadLegacyApplication(*original);
      if (!app) return "can't read: " + app.error;
      const std::string kept = st::KeptOriginalName(c.path);
      const std::string refusal = st::ConversionRefusal(*original, kept);
      const st::Conversion done = st::ConvertLegacyApplication(*app, *original, kept);
      return refusal + "|" + (done.ok() ? "converted" : done.error);
    });
    if (c.refusal.empty()) {
      EXPECT_EQ(got, "|converted");
      EXPECT_EQ(Bytes(c.path + ".jet"), bytes);
      EXPECT_EQ(talvero::jet::RecogniseFile(c.path), talvero::jet::Kind::NotJet);
    } else {
      EXPECT_EQ(got, c.refusal + "|" + c.refusal);
      EXPECT_EQ(Bytes(c.path), bytes);
      EXPECT_EQ(Entries(folder), before) << "no kept name, no temporary";
    }
  }
}

// Our own application in a folder that takes no journal opens for viewing
// only, and says why once; its edits are refused in words, not by SQLite.
TEST(LegacyConvertAsAUser, AnApplicationInAFolderWithoutNewFilesOpensForViewingOnly) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user (nobody): run the tests as root";
  store_test::TempDir dir;
  const std::string closed = dir / "closed";
  std::filesystem::create_directory(closed);
  const std::string path = closed + "/ours.APP";
  {
    Applic app;
    ASSERT_TRUE(app.Create(path));
    ASSERT_TRUE(app.AddPgm("P"));
  }
  ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
  ::chmod(closed.c_str(), 0555);
  const std::string got = AsNobody([&] {
    Applic app;
    if (auto s = app.AOpen(path); !s) return "can't open: " + s.error;
    return std::string(app.ReadOnly() ? "read-only" : "read-write") + "|" + app.Database()->FolderRefusal() + "|" +
           app.UpdatePgmStep(1, 0, "MA 1").error;
  });
  EXPECT_EQ(got, "read-only|the folder " + closed + " does not allow new files|the application file is read-only: " + path);
}

}  // namespace
