#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/scripted_prompter.h"
#include "runtime/text.h"
#include "store/applic.h"
#include "store/library_database.h"
#include "store/tests/fixture_library.h"

namespace {

using talvero::Answer;
using talvero::ScriptedPrompter;

class ApplicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_test::OpenLibrary(dir_ / "KOVdata.KOV", lib_);
    if (HasFatalFailure()) return;
    path_ = dir_ / "Line 2/Machine.APP";  // capitals in the path must survive
    std::filesystem::create_directories(dir_ / "Line 2");
  }
  void TearDown() override { EXPECT_TRUE(prompter_.Failures().empty()) << prompter_.Failures().front(); }

  void CreateApp() {
    auto s = app_.Create(path_);
    ASSERT_TRUE(s) << s.error;
  }
  void Reopen() {
    app_.AClose();
    auto s = app_.AOpen(path_);
    ASSERT_TRUE(s) << s.error;
  }
  void AddAxis(const std::string& name, const std::string& family = "RHO") {
    auto s = app_.AddAxis(name, family, lib_->ParametersRS.get());
    ASSERT_TRUE(s) << s.error;
  }
  std::vector<std::string> Tables() { return app_.Database()->TableNames(); }
  int64_t Rows(const std::string& table) { return (*app_.Database()->OpenRecordset(table))->RecordCount(); }

  store_test::TempDir dir_;
  std::unique_ptr<LibraryDatabase> lib_;
  std::string path_;
  ScriptedPrompter prompter_;
  Applic app_;
};

TEST_F(ApplicTest, ANewFileHasTwoEmptyTablesAndFreeSlots) {
  EXPECT_FALSE(app_.IsOpen());
  CreateApp();
  EXPECT_TRUE(app_.IsOpen());
  EXPECT_EQ(app_.Name, path_.substr(0, path_.size() - 4));  // the path's capitals kept
  EXPECT_EQ(app_.Path(), path_);
  EXPECT_EQ(Tables(), (std::vector<std::string>{"Axis", "Programs"}));
  EXPECT_EQ(Rows("Axis"), 0);
  EXPECT_EQ(Rows("Programs"), 0);
  for (int16_t i = 1; i <= Applic::GetMaxAxis(); ++i) EXPECT_EQ(app_.GetAxisName(i), "");
  for (int16_t i = 1; i <= Applic::GetMaxPgm(); ++i) EXPECT_EQ(app_.GetPgmName(i), "");
  EXPECT_EQ(Applic::GetMaxAxis(), 16);
  EXPECT_EQ(Applic::GetMaxPgm(), 64);

  app_.AClose();
  EXPECT_FALSE(app_.IsOpen());
  EXPECT_EQ(app_.Name, "");

  // Creating over an existing file is refused with the reason.
  prompter_.ExpectMessageContaining("Can't create new application: file already exists", Answer::Ok);
  EXPECT_FALSE(app_.Create(path_));
  EXPECT_FALSE(app_.IsOpen());
}

TEST_F(ApplicTest, AxesFillToSixteenReopenInSlotOrderAndReuseFreedSlots) {
  CreateApp();
  AddAxis(" x ");
  EXPECT_EQ(app_.NewAxisSlot, 1);
  EXPECT_EQ(app_.GetAxisName(1), "x");
  EXPECT_EQ(app_.WhatType(1), "RHO");
  EXPECT_EQ(app_.LongName(1), "KV110c ");
  // Every library parameter, value "0", no event rows.
  EXPECT_EQ(Rows("AXIS:x"), 4);
  for (const char* p : {"PPG", "IRMS", "EPPR", "VER"}) EXPECT_EQ(app_.FindParam(1, p), std::optional<std::string>("0"));
  EXPECT_EQ(app_.FindParam(1, ":E0"), std::nullopt);

  for (int i = 2; i <= 16; ++i) AddAxis("Axis" + std::to_string(i), i % 2 ? "TAU" : "PSI");
  EXPECT_EQ(app_.NewAxisSlot, 16);

  struct Refusal {
    std::string name;
    std::string message;
  } refusals[] = {
      {"X", "Can't create new axis: Axis name already used."},
      {"  AXIS7", "Can't create new axis: Axis name already used."},
      {"Axis17", "Can't create new axis: Too many axes in this application."},
      {"", "Can't create new axis: Too many axes in this application."},
  };
  for (const Refusal& r : refusals) {
    prompter_.ExpectMessage(r.message, Answer::Ok);
    EXPECT_FALSE(app_.AddAxis(r.name, "RHO", lib_->ParametersRS.get())) << r.name;
    EXPECT_EQ(app_.NewAxisSlot, -1);
    ASSERT_FALSE(prompter_.Boxes().empty());
    EXPECT_EQ(prompter_.Boxes().back().icon, talvero::Icon::Critical);
  }
  EXPECT_EQ(Rows("Axis"), 16);

  Reopen();
  for (int16_t i = 2; i <= 16; ++i) {
    EXPECT_EQ(app_.GetAxisName(i), "Axis" + std::to_string(i));
    EXPECT_EQ(app_.WhatType(i), i % 2 ? "TAU" : "PSI");
  }
  EXPECT_EQ(app_.GetAxisName(-3), "");
  EXPECT_EQ(app_.GetParam(16, "EPPR"), "0");

  ASSERT_TRUE(app_.DelAxis(1));
  EXPECT_EQ(app_.GetAxisName(1), "");
  EXPECT_FALSE(app_.Database()->HasTable("AXIS:x"));
  EXPECT_FALSE(app_.DelAxis(1));
  prompter_.ExpectMessage("Can't create new axis: Axis name already used.", Answer::Ok);
  EXPECT_FALSE(app_.AddAxis("axis3", "RHO", lib_->ParametersRS.get()));
  AddAxis("New", "PHI");
  EXPECT_EQ(app_.NewAxisSlot, 1);
  EXPECT_EQ(app_.LongName(1), "KV/KZ120i/d ");

  // After the reopen the freed row is gone and the new axis is last in the
  // file, so it comes back in the last slot.
  Reopen();
  EXPECT_EQ(app_.GetAxisName(1), "Axis2");
  EXPECT_EQ(app_.GetAxisName(16), "New");
}

TEST_F(ApplicTest, NamesThatCantBeStoredAreRefusedBeforeAnyWrite) {
  CreateApp();
  AddAxis("A1");
  ASSERT_TRUE(app_.AddPgm("P1"));
  auto before = Tables();
  struct Case {
    std::string name;
    std::string messagePart;
  } axisCases[] = {
      {"   ", "Can't create new axis: Axis name already used."},  // a blank name matches a free slot
      {"a.b", "Can't create new axis: name not allowed"},
      {"x[1]", "Can't create new axis: name not allowed"},
      {"tab\there", "Can't create new axis: name not allowed"},
      {std::string(33, 'n'), "Can't create new axis: name too long (32 character limit)."},
  };
  for (const Case& c : axisCases) {
    prompter_.ExpectMessageContaining(c.messagePart, Answer::Ok);
    EXPECT_FALSE(app_.AddAxis(c.name, "RHO", lib_->ParametersRS.get())) << c.name;
    EXPECT_EQ(app_.NewAxisSlot, -1);
  }
  Case pgmCases[] = {
      {"P.2", "Can't create new program: name not allowed"},
      {"P!", "Can't create new program: name not allowed"},
      {"", "Can't create new program: name already used."},  // matches a free slot
      {std::string(17, 'p'), "Can't create new program: name too long (16 character limit)."},
      {"p1", "Can't create new program: name already used."},
  };
  for (const Case& c : pgmCases) {
    prompter_.ExpectMessageContaining(c.messagePart, Answer::Ok);
    EXPECT_FALSE(app_.AddPgm(c.name)) << c.name;
    EXPECT_EQ(app_.CurrentPgm, -1);
  }
  EXPECT_EQ(Tables(), before);
  EXPECT_EQ(Rows("Axis"), 1);
  EXPECT_EQ(Rows("Programs"), 1);
  EXPECT_EQ(app_.GetAxisName(2), "");
  EXPECT_EQ(app_.GetPgmName(2), "");
}

TEST_F(ApplicTest, ProgramsFillToSixtyFourRenameAndDelete) {
  CreateApp();
  ASSERT_TRUE(app_.AddPgm(std::string(16, 'L')));
  EXPECT_EQ(app_.CurrentPgm, 1);
  for (int i = 2; i <= 64; ++i) ASSERT_TRUE(app_.AddPgm("P" + std::to_string(i)));
  EXPECT_EQ(app_.CurrentPgm, 64);
  prompter_.ExpectMessage("Can't create new program: Too many programs in this application.", Answer::Ok);
  EXPECT_FALSE(app_.AddPgm("P65"));
  EXPECT_EQ(app_.CurrentPgm, -1);

  // Pexist: trimmed, upper case; a blank name matches only a free slot.
  EXPECT_TRUE(app_.Pexist(" p7 "));
  EXPECT_EQ(app_.CurrentPgm, 7);
  EXPECT_FALSE(app_.Pexist("nope"));
  EXPECT_EQ(app_.CurrentPgm, 7);
  EXPECT_FALSE(app_.Pexist(" "));

  ASSERT_TRUE(app_.UpdatePgmStep(7, 0, "MA100"));
  ASSERT_TRUE(app_.PgmRename(7, "p7"));  // letter case only
  EXPECT_EQ(app_.GetPgmName(7), "p7");
  ASSERT_TRUE(app_.PgmRename(7, " Seven "));
  EXPECT_EQ(app_.GetPgmName(7), "Seven");
  EXPECT_EQ(app_.GetPgmStep(7, 0), "MA100");

  auto tables = Tables();
  for (const char* taken : {"P8", "p8"}) {
    auto s = app_.PgmRename(7, taken);
    EXPECT_FALSE(s) << taken;
    EXPECT_NE(s.error.find("Can't rename program: "), std::string::npos);
  }
  for (const char* bad : {"", "a.b", "x]"}) EXPECT_FALSE(app_.PgmRename(7, bad)) << bad;
  EXPECT_FALSE(app_.PgmRename(7, std::string(33, 'r')));
  EXPECT_TRUE(app_.PgmRename(7, std::string(32, 'r')));  // the field holds 32
  ASSERT_TRUE(app_.PgmRename(7, "Seven"));
  EXPECT_EQ(Tables(), tables);
  EXPECT_EQ(app_.GetPgmName(8), "P8");

  ASSERT_TRUE(app_.DelPgm(3));
  EXPECT_TRUE(app_.Pexist(""));
  EXPECT_EQ(app_.CurrentPgm, 3);
  ASSERT_TRUE(app_.AddPgm("Three"));
  EXPECT_EQ(app_.CurrentPgm, 3);

  Reopen();
  EXPECT_EQ(app_.GetPgmName(1), std::string(16, 'L'));
  // Slots follow the rows: the deleted third row is gone.
  EXPECT_EQ(app_.GetPgmName(6), "Seven");
  EXPECT_EQ(app_.GetPgmStep(6, 0), "MA100");
  EXPECT_EQ(app_.GetPgmName(64), "Three");  // the newest row comes last
  EXPECT_EQ(Rows("Programs"), 64);
  EXPECT_EQ(Tables().size(), 2u + 64u);
}

TEST_F(ApplicTest, ProgramLinesAndSettings) {
  CreateApp();
  ASSERT_TRUE(app_.AddPgm("P"));
  EXPECT_EQ(app_.GetMaxLineNumber(1), 0);
  EXPECT_EQ(app_.GetPD(1), "");
  EXPECT_EQ(app_.GetUnits(1), "system-rev");
  EXPECT_FLOAT_EQ(app_.GetTrans(1), 1.0f);

  ASSERT_TRUE(app_.UpdatePgmStep(1, 5, ""));  // nothing to delete: no change
  EXPECT_EQ(Rows("PGM:P"), 0);
  ASSERT_TRUE(app_.UpdatePgmStep(1, 5, "MA1"));
  ASSERT_TRUE(app_.UpdatePgmStep(1, 200, "END"));
  ASSERT_TRUE(app_.UpdatePgmStep(1, 5, "MA2"));
  EXPECT_EQ(Rows("PGM:P"), 2);
  EXPECT_EQ(app_.GetPgmStep(1, 5), "MA2");
  EXPECT_EQ(app_.GetPgmStep(1, 6), "");
  EXPECT_EQ(app_.GetMaxLineNumber(1), 200);
  ASSERT_TRUE(app_.UpdatePgmStep(1, 200, ""));
  EXPECT_EQ(app_.GetMaxLineNumber(1), 5);
  EXPECT_TRUE(app_.UpdatePgmStep(1, 9, std::string(64, 'x')));
  auto tooLong = app_.UpdatePgmStep(1, 9, std::string(65, 'y'));
  EXPECT_FALSE(tooLong);
  EXPECT_EQ(app_.GetPgmStep(1, 9), std::string(64, 'x'));
  ASSERT_TRUE(app_.UpdatePgmStep(1, 9, ""));

  struct Case {
    std::string pd, trans, units;
    float expectTrans;
    std::string expectUnits;
  } cases[] = {
      {"Feed axis", "2.5", "mm", 2.5f, "mm"},
      {"x", "", "inch", 1.0f, "inch"},
      {"y", "4E-1", "degree", 0.4f, "degree"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(app_.UpdateSettings(1, c.pd, c.trans, c.units));
    Reopen();
    EXPECT_EQ(app_.GetPD(1), c.pd);
    EXPECT_FLOAT_EQ(app_.GetTrans(1), c.expectTrans) << c.trans;
    EXPECT_EQ(app_.GetUnits(1), c.expectUnits);
    EXPECT_EQ(app_.GetMaxLineNumber(1), 5) << "settings rows are below line 0";
  }
  // An empty text removes its row: only line 5 and the three settings remain at most.
  ASSERT_TRUE(app_.UpdateSettings(1, "", "", ""));
  EXPECT_EQ(Rows("PGM:P"), 1);

  // A description too long for its row is refused and nothing is written.
  ASSERT_TRUE(app_.UpdateSettings(1, "keep", "3", "mm"));
  auto s = app_.UpdateSettings(1, "new", "4", std::string(65, 'u'));
  EXPECT_FALSE(s);
  EXPECT_NE(s.error.find("units longer than 64"), std::string::npos) << s.error;
  EXPECT_EQ(app_.GetPD(1), "keep");
  EXPECT_FLOAT_EQ(app_.GetTrans(1), 3.0f);
}

TEST_F(ApplicTest, ReadingAParameterWritesNothing) {
  CreateApp();
  AddAxis("A");
  EXPECT_EQ(app_.GetParam(1, "NEW"), "0");
  EXPECT_EQ(app_.FindParam(1, "NEW"), std::nullopt);
  EXPECT_EQ(Rows("AXIS:A"), 4);

  ASSERT_TRUE(app_.PutParam(1, "PPG", "12"));
  ASSERT_TRUE(app_.PutParam(1, ":E3", " "));
  ASSERT_TRUE(app_.PutParam(1, "ppg", "lower"));  // names compare exactly
  EXPECT_EQ(Rows("AXIS:A"), 6);
  Reopen();
  EXPECT_EQ(app_.GetParam(1, "PPG"), "12");
  EXPECT_EQ(app_.GetParam(1, "ppg"), "lower");
  EXPECT_EQ(app_.GetParam(1, ":E3"), " ");
  EXPECT_FALSE(app_.PutParam(1, "PPG", std::string(33, '9')));
  EXPECT_FALSE(app_.PutParam(1, "TOOLONGNAME", "1"));
  EXPECT_EQ(app_.GetParam(1, "PPG"), "12");
  EXPECT_FALSE(app_.PutParam(2, "PPG", "1"));  // free slot
}

TEST_F(ApplicTest, FilesThatAreNoApplicationOpenAsAFailureWithAReason) {
  std::ofstream(dir_ / "text.APP") << std::string(2000, 'j');
  { auto empty = talvero::dao::Database::Create(dir_ / "empty.APP"); }
  {
    auto half = talvero::dao::Database::Create(dir_ / "half.APP");
    ASSERT_TRUE((*half)->Execute("CREATE TABLE Axis (ID INTEGER PRIMARY KEY, Name TEXT(32), AxisType TEXT(32));"
                                 "CREATE TABLE Programs (ID INTEGER PRIMARY KEY, Name TEXT(32));"
                                 "INSERT INTO Axis (Name, AxisType) VALUES ('Lost', 'RHO');"));
  }
  struct Case {
    std::string file;
    std::string reasonPart;
  } cases[] = {
      {"missing.APP", "No such file"},
      {"text.APP", "not a database"},
      {"empty.APP", "not an application file (no table Axis)"},
      {"KOVdata.KOV", "not an application file (no table Axis)"},
  };
  CreateApp();
  for (const Case& c : cases) {
    auto s = app_.AOpen(dir_ / c.file);
    EXPECT_FALSE(s) << c.file;
    EXPECT_NE(s.error.find(c.reasonPart), std::string::npos) << s.error;
    // The object keeps the file it had.
    EXPECT_EQ(app_.Path(), path_);
    EXPECT_TRUE(app_.IsOpen());
  }
  Applic other;
  EXPECT_FALSE(other.AOpen(dir_ / "text.APP"));
  EXPECT_FALSE(other.IsOpen());

  // An axis row without its table, as an older program could leave it,
  // opens, shows, refuses writes and can be deleted.
  ASSERT_TRUE(other.AOpen(dir_ / "half.APP"));
  EXPECT_EQ(other.GetAxisName(1), "Lost");
  EXPECT_EQ(other.GetParam(1, "PPG"), "0");
  EXPECT_FALSE(other.PutParam(1, "PPG", "1"));
  ASSERT_TRUE(other.DelAxis(1));
  EXPECT_EQ(other.GetAxisName(1), "");
  EXPECT_EQ((*other.Database()->OpenRecordset("Axis"))->RecordCount(), 0);
}

TEST_F(ApplicTest, AReadOnlyFileCanBeViewedButNotChanged) {
  CreateApp();
  AddAxis("A");
  ASSERT_TRUE(app_.AddPgm("P"));
  ASSERT_TRUE(app_.UpdatePgmStep(1, 0, "MA1"));
  app_.AClose();
  ASSERT_TRUE(app_.AOpen(path_, true));
  EXPECT_TRUE(app_.ReadOnly());
  EXPECT_EQ(app_.GetAxisName(1), "A");
  EXPECT_EQ(app_.GetPgmStep(1, 0), "MA1");
  EXPECT_EQ(app_.GetParam(1, ":E0"), "0");  // a read of a missing row does not write
  EXPECT_FALSE(app_.PutParam(1, "PPG", "1"));
  EXPECT_FALSE(app_.UpdatePgmStep(1, 0, "MA2"));
  EXPECT_FALSE(app_.UpdateSettings(1, "d", "1", "mm"));
  EXPECT_FALSE(app_.PgmRename(1, "Q"));
  EXPECT_FALSE(app_.DelAxis(1));
  prompter_.ExpectMessageContaining("Can't create new axis: the application file is read-only", Answer::Ok);
  EXPECT_FALSE(app_.AddAxis("B", "RHO", lib_->ParametersRS.get()));
  EXPECT_EQ(app_.GetPgmStep(1, 0), "MA1");
  EXPECT_EQ(app_.GetAxisName(1), "A");
}

TEST_F(ApplicTest, AFailedWriteInTheMiddleOfAddAxisLeavesNoHalfAxis) {
  CreateApp();
  AddAxis("Keep");
  int writes = 0;
  app_.Database()->SetFaultHook([&](std::string_view) { return ++writes == 4; });
  prompter_.ExpectMessageContaining("Can't create new axis: write failed", Answer::Ok);
  EXPECT_FALSE(app_.AddAxis("Half", "TAU", lib_->ParametersRS.get()));
  app_.Database()->SetFaultHook(nullptr);
  EXPECT_EQ(writes, 4);  // axis row, table, two parameter rows
  EXPECT_EQ(app_.NewAxisSlot, -1);
  EXPECT_EQ(app_.GetAxisName(2), "");
  EXPECT_FALSE(app_.Database()->HasTable("AXIS:Half"));
  EXPECT_EQ(Rows("Axis"), 1);
  // The same name goes in cleanly afterwards.
  AddAxis("Half", "TAU");
  EXPECT_EQ(app_.NewAxisSlot, 2);
  EXPECT_EQ(Rows("AXIS:Half"), 4);
}

TEST_F(ApplicTest, AProcessKilledInTheMiddleOfAddAxisLeavesAFileWithoutTheAxis) {
  CreateApp();
  AddAxis("Keep");
  app_.AClose();
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    Applic app;
    if (!app.AOpen(path_)) ::_exit(2);
    int writes = 0;
    // Dies on the third parameter row, with the axis row and its table written.
    app.Database()->SetFaultHook([&](std::string_view) {
      if (++writes == 5) ::_exit(0);
      return false;
    });
    app.AddAxis("Half", "TAU", lib_->ParametersRS.get());
    ::_exit(1);  // not reached when the hook fires
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "the child did not die where planned";

  Reopen();
  EXPECT_EQ(app_.GetAxisName(1), "Keep");
  EXPECT_EQ(app_.GetAxisName(2), "");
  EXPECT_FALSE(app_.Database()->HasTable("AXIS:Half"));
  EXPECT_EQ(Rows("Axis"), 1);
  AddAxis("Half", "TAU");
  EXPECT_EQ(app_.NewAxisSlot, 2);
}

// Hand-made files: rows whose names another row shares, rows without their
// table, tables without row ids, values out of their range.
class HostileFileTest : public ApplicTest {
 protected:
  // Runs SQL on the file behind the application's back.
  void Sql(const std::string& sql) {
    app_.AClose();
    auto db = talvero::dao::Database::Open(path_);
    ASSERT_TRUE(db) << db.error;
    auto s = (*db)->Execute(sql);
    ASSERT_TRUE(s) << s.error;
  }
  std::vector<std::string> Names(const char* table) {
    std::vector<std::string> names;
    auto rs = std::move(*app_.Database()->OpenRecordset(table));
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) names.push_back(rs->Text("Name"));
    return names;
  }
};

TEST_F(HostileFileTest, ASecondRowOfTheSameNameIsSkippedAndDeletingTheFirstSparesIt) {
  CreateApp();
  AddAxis("X1");
  ASSERT_TRUE(app_.PutParam(1, "PPG", "7"));
  ASSERT_TRUE(app_.AddPgm("P"));
  AddAxis("Y");
  Sql("INSERT INTO Axis (Name, AxisType) VALUES ('x1', 'TAU');"
      "INSERT INTO Programs (Name) VALUES ('p  ');");
  const std::string name = path_.substr(0, path_.size() - 4);
  prompter_.ExpectMessage("The application " + name + " holds two axes named x1; the second was not opened.\n"
                          "The application " + name + " holds two programs named p; the second was not opened.",
                          Answer::Ok);
  Reopen();
  EXPECT_EQ(app_.GetAxisName(1), "X1");
  EXPECT_EQ(app_.GetAxisName(2), "Y");
  EXPECT_EQ(app_.GetAxisName(3), "");
  EXPECT_EQ(app_.GetPgmName(2), "");
  EXPECT_EQ(Names("Axis"), (std::vector<std::string>{"X1", "Y", "x1"})) << "opening changes nothing";

  // The first goes by its own row; the table the second row also names stays.
  ASSERT_TRUE(app_.DelAxis(1));
  EXPECT_EQ(Names("Axis"), (std::vector<std::string>{"Y", "x1"}));
  EXPECT_TRUE(app_.Database()->HasTable("AXIS:X1"));
  // "p  " would go by the table "PGM:p  ", so "PGM:P" is the first one's alone.
  ASSERT_TRUE(app_.DelPgm(1));
  EXPECT_EQ(Names("Programs"), (std::vector<std::string>{"p  "}));
  EXPECT_FALSE(app_.Database()->HasTable("PGM:P"));
  // Next time the remaining row opens, with the table it always had.
  Reopen();
  EXPECT_EQ(app_.GetAxisName(2), "x1");
  EXPECT_EQ(app_.GetParam(2, "PPG"), "7");
  EXPECT_EQ(app_.GetPgmName(1), "p  ");
}

TEST_F(HostileFileTest, AMissingTableIsNamedAndATableWithoutRowIdsIsNoApplication) {
  CreateApp();
  Sql("INSERT INTO Axis (Name, AxisType) VALUES ('Lost', 'RHO');"
      "INSERT INTO Programs (Name) VALUES ('Gone');");
  Reopen();
  auto put = app_.PutParam(1, "PPG", "1");
  EXPECT_EQ(put.error, "the table AXIS:Lost is missing");
  auto step = app_.UpdatePgmStep(1, 0, "MA1");
  EXPECT_EQ(step.error, "the table PGM:Gone is missing");
  EXPECT_NE(app_.PgmRename(1, "New").error.find("the table PGM:Gone is missing"), std::string::npos);

  Sql("CREATE TABLE \"AXIS:Lost\" (Name TEXT(8) PRIMARY KEY, Value TEXT(32)) WITHOUT ROWID;");
  Applic other;
  auto s = other.AOpen(path_);
  EXPECT_EQ(s.error, "not an application file (table AXIS:Lost has no row ids): " + path_);
  Sql("DROP TABLE \"AXIS:Lost\"; ALTER TABLE Programs RENAME TO Old;"
      "CREATE TABLE Programs (Name TEXT(32) PRIMARY KEY) WITHOUT ROWID;");
  s = other.AOpen(path_);
  EXPECT_EQ(s.error, "not an application file (table Programs has no row ids): " + path_);
}

TEST_F(HostileFileTest, ValuesOutOfTheirRangeAreNotUsedAsTheyStand) {
  CreateApp();
  ASSERT_TRUE(app_.AddPgm("P"));
  ASSERT_TRUE(app_.UpdatePgmStep(1, 7, "MA1"));
  const std::string longName(40, 'L');
  Sql("INSERT INTO \"PGM:P\" (Line, Text) VALUES (300, 'far'), (-7, 'below'), (70000, 'way off');"
      "INSERT INTO Axis (Name, AxisType) VALUES ('" + longName + "', 'RHO');"
      "CREATE TABLE \"AXIS:" + longName + "\" (ID INTEGER PRIMARY KEY, Name TEXT(8), Value TEXT(32));");
  Reopen();
  EXPECT_EQ(app_.GetMaxLineNumber(1), 7);
  EXPECT_EQ(app_.GetPgmStep(1, 300), "");
  EXPECT_EQ(app_.GetPgmStep(1, -7), "");

  // Cut to its 32 characters, the last one "…"; the table is still found by its real name.
  const std::string shown = std::string(31, 'L') + "\xE2\x80\xA6";
  EXPECT_EQ(app_.GetAxisName(1), shown);
  EXPECT_TRUE(app_.PutParam(1, "PPG", "3"));
  EXPECT_EQ(app_.GetParam(1, "PPG"), "3");
  ASSERT_TRUE(app_.DelAxis(1));
  EXPECT_FALSE(app_.Database()->HasTable("AXIS:" + longName));
  EXPECT_FALSE(app_.PgmRename(1, std::string(33, 'R')));

  const char* bad[] = {"-2", "abc", "1E+999", "0"};
  for (const char* trans : bad) {
    SCOPED_TRACE(trans);
    ASSERT_TRUE(app_.UpdateSettings(1, "", trans, ""));
    Reopen();
    prompter_.ExpectMessageContaining("holds the transmission ratio \"" + std::string(trans) +
                                          "\", which is not a positive number; 1 is used.",
                                      Answer::Ok);
    EXPECT_FLOAT_EQ(app_.GetTrans(1), 1.0f);
    EXPECT_FLOAT_EQ(app_.GetTrans(1), 1.0f);  // said once
    EXPECT_TRUE(prompter_.AllShown());
  }
}

}  // namespace
