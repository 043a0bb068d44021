// Applications written by the earlier program: read through the Jet reader,
// converted, and opened again by the application class as any file of ours.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <fstream>
#include <iterator>

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
    auto app = ReadLegacyApplication(path);
    EXPECT_TRUE(app) << app.error;
    if (!app) return {};
    const std::string kept = KeptOriginalName(path);
    EXPECT_EQ(kept, path + ".jet");
    auto s = ConvertLegacyApplication(*app, path, kept);
    EXPECT_TRUE(s) << s.error;
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
  model.axes = {FullAxis("Fräse 2", "RHO", params), FullAxis("Maß", "PSI", params), FullAxis("FRäSE 2", "TAU", params)};
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
                              "The program Gone is not converted: its table PGM:Gone is missing."}));
  LegacyApplication expected = model;
  expected.axes.pop_back();
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
  auto app = ReadLegacyApplication(path);
  ASSERT_TRUE(app);
  Put(kept, "in the way");  // taken between the question and the conversion
  auto s = ConvertLegacyApplication(*app, path, kept);
  EXPECT_FALSE(s);
  EXPECT_EQ(s.error, kept + " exists already");
  EXPECT_EQ(Bytes(path), bytes);
  EXPECT_EQ(Bytes(kept), "in the way");
  EXPECT_EQ(Bytes(path + ".jet"), "someone else's");
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
      {[] { ::pause(); }, "it is damaged (reading it did not end within 0 s)"},
      {[] { ::_exit(0); }, "it is damaged (reading it failed)"},
  };
  for (const auto& c : cases) {
    talvero::store::SetLegacyReadFault(c.fault, 300);
    auto app = talvero::store::ReadLegacyApplication(dir / "a.APP");
    EXPECT_EQ(app.error, c.reason);
  }
  talvero::store::SetLegacyReadFault(nullptr, 0);
  auto app = talvero::store::ReadLegacyApplication(dir / "a.APP");
  ASSERT_TRUE(app) << app.error;
  EXPECT_EQ(app->axes[0].params, (std::vector<std::pair<std::string, std::string>>{{"KP", "1"}}));
}

}  // namespace
