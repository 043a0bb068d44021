#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"

namespace talvero::dao {
namespace {

namespace fs = std::filesystem;

class DaoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("dao_test_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  // A file with one table of the kinds the application files use.
  std::unique_ptr<Database> NewDb(const std::string& name = "a.app") {
    auto db = Database::Create(PathOf(name));
    EXPECT_TRUE(db.ok()) << db.error;
    Status s = (*db)->CreateTable({"AXIS:X1", {FieldDef::Counter("ID"), FieldDef::Text("Name", 8),
                                              FieldDef::Text("Value", 32)}});
    EXPECT_TRUE(s) << s.error;
    return std::move(*db);
  }

  static std::vector<std::string> Names(Recordset& rs) {
    std::vector<std::string> out;
    if (!rs.MoveFirst()) ADD_FAILURE() << "MoveFirst";
    while (!rs.Eof()) {
      out.push_back(rs.Text("Name"));
      if (!rs.MoveNext()) ADD_FAILURE() << "MoveNext";
    }
    return out;
  }

  static void Add(Recordset& rs, const Value& name, const Value& value) {
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.Set("Name", name));
    ASSERT_TRUE(rs.Set("Value", value));
    Status s = rs.Update();
    ASSERT_TRUE(s) << s.error;
  }

  fs::path dir_;
};

TEST_F(DaoTest, OpenRefusesWhatIsNoDatabaseWithAReason) {
  std::string garbage = PathOf("garbage.app");
  std::ofstream(garbage) << "This is a text file, long enough to hold a header of a database file, but it is not.";
  fs::create_directory(PathOf("folder.app"));
  struct Case {
    std::string path;
    std::string reasonPart;
  } cases[] = {
      {PathOf("missing.app"), "No such file"},
      {garbage, "not a database"},
      {PathOf("folder.app"), "not a file"},
  };
  for (const Case& c : cases) {
    auto db = Database::Open(c.path);
    EXPECT_FALSE(db.ok()) << c.path;
    EXPECT_NE(db.error.find(c.reasonPart), std::string::npos) << db.error;
    EXPECT_NE(db.error.find(c.path), std::string::npos) << db.error;
  }
  EXPECT_FALSE(fs::exists(PathOf("missing.app")));  // opening never creates

  if (::geteuid() != 0) {  // root reads everything
    NewDb("locked.app").reset();
    fs::permissions(PathOf("locked.app"), fs::perms::none);
    auto db = Database::Open(PathOf("locked.app"));
    EXPECT_FALSE(db.ok());
    EXPECT_NE(db.error.find("can't read"), std::string::npos) << db.error;
  }
}

TEST_F(DaoTest, ADamagedFileIsRefusedWholeAtOpen) {
  {
    std::unique_ptr<Database> db = NewDb();
    auto rs = db->OpenRecordset("AXIS:X1");
    ASSERT_TRUE(rs.ok());
    for (int i = 0; i < 200; ++i) Add(**rs, Value("P" + std::to_string(i)), Value(std::string(30, 'v')));
  }
  // The table's rows fill several pages; break the kind byte of the last one.
  const std::string path = PathOf("a.app");
  const auto size = fs::file_size(path);
  ASSERT_GE(size, 3 * 4096u);
  {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(std::streamoff(size - 4096));
    f.put(char(0x7F));
  }
  auto db = Database::Open(path);
  ASSERT_FALSE(db.ok());
  EXPECT_NE(db.error.find("the file is damaged"), std::string::npos) << db.error;
  EXPECT_NE(db.error.find(path), std::string::npos) << db.error;
}

TEST_F(DaoTest, CreateRefusesAnExistingFileAndTheNewFileReopens) {
  NewDb().reset();
  auto again = Database::Create(PathOf("a.app"));
  EXPECT_FALSE(again.ok());
  EXPECT_NE(again.error.find("exists"), std::string::npos);

  auto db = Database::Open(PathOf("a.app"));
  ASSERT_TRUE(db.ok()) << db.error;
  EXPECT_FALSE((*db)->ReadOnly());
  EXPECT_EQ((*db)->TableNames(), std::vector<std::string>{"AXIS:X1"});

  // An empty new file (no table yet) is a database too.
  auto empty = Database::Create(PathOf("empty.app"));
  ASSERT_TRUE(empty.ok());
  (*empty)->Close();
  auto reopened = Database::Open(PathOf("empty.app"));
  ASSERT_TRUE(reopened.ok()) << reopened.error;
  EXPECT_TRUE((*reopened)->TableNames().empty());
}

TEST_F(DaoTest, TableDefinitionsKeepTypesSizesAndQuotedNames) {
  auto db = NewDb();
  ASSERT_TRUE(db->CreateTable({"PGM:A \"B\"", {FieldDef::Long("Line"), FieldDef::Text("Text", 64)}}));
  ASSERT_TRUE(db->CreateTable({"Motors", {FieldDef::Text("Type", 0), FieldDef::Double("inertia")}}));
  db->Close();

  auto re = Database::Open(PathOf("a.app"));
  ASSERT_TRUE(re.ok());
  Database& d = **re;
  EXPECT_EQ(d.TableNames(), (std::vector<std::string>{"AXIS:X1", "PGM:A \"B\"", "Motors"}));
  EXPECT_TRUE(d.HasTable("axis:x1"));  // case-blind

  auto axis = d.GetTableDef("AXIS:X1");
  ASSERT_TRUE(axis.ok());
  ASSERT_EQ(axis->fields.size(), 3u);
  EXPECT_TRUE(axis->fields[0].autoIncrement);
  EXPECT_EQ(axis->fields[0].type, FieldType::Long);
  EXPECT_EQ(axis->fields[1].size, 8);
  EXPECT_EQ(axis->fields[2].size, 32);

  auto pgm = d.GetTableDef("PGM:A \"B\"");
  ASSERT_TRUE(pgm.ok());
  EXPECT_FALSE(pgm->fields[0].autoIncrement);
  EXPECT_EQ(pgm->fields[0].type, FieldType::Long);
  EXPECT_EQ(pgm->fields[1].size, 64);
  auto motors = d.GetTableDef("Motors");
  EXPECT_EQ(motors->fields[1].type, FieldType::Double);
  EXPECT_EQ(motors->fields[0].size, 0);
}

TEST_F(DaoTest, NamesThatCantBeStoredAreRefusedBeforeAnythingIsWritten) {
  auto db = NewDb();
  for (const std::string& bad : {std::string(), std::string(" lead"), std::string("a.b"), std::string("a!b"),
                                 std::string("a[b"), std::string("a]b"), std::string("a`b"), std::string("a\tb"),
                                 std::string(65, 'x'), std::string("sqlite_x")}) {
    EXPECT_FALSE(CheckName(bad)) << bad;
    EXPECT_FALSE(db->CreateTable({bad, {FieldDef::Long("Line")}})) << bad;
    EXPECT_FALSE(db->RenameTable("AXIS:X1", bad)) << bad;
    EXPECT_FALSE(db->AddField("AXIS:X1", FieldDef::Long(bad))) << bad;
  }
  EXPECT_TRUE(CheckName(std::string(64, 'x')));
  EXPECT_TRUE(CheckName("AXIS:Axis 1 (left)"));
  EXPECT_EQ(db->TableNames(), std::vector<std::string>{"AXIS:X1"});
  EXPECT_EQ(db->GetTableDef("AXIS:X1")->fields.size(), 3u);
}

TEST_F(DaoTest, RenamesIncludingACaseChangeOnly) {
  auto db = NewDb();
  ASSERT_TRUE(db->CreateTable({"PGM:abc", {FieldDef::Long("Line"), FieldDef::Text("Text", 64)}}));
  {
    auto rs = db->OpenRecordset("PGM:abc");
    ASSERT_TRUE(rs.ok());
    ASSERT_TRUE((*rs)->AddNew());
    ASSERT_TRUE((*rs)->Set("Line", 3));
    ASSERT_TRUE((*rs)->Set("Text", "MOVE"));
    ASSERT_TRUE((*rs)->Update());
  }
  Status s = db->RenameTable("PGM:abc", "PGM:ABC");
  ASSERT_TRUE(s) << s.error;
  EXPECT_EQ(db->TableNames(), (std::vector<std::string>{"AXIS:X1", "PGM:ABC"}));
  ASSERT_TRUE(db->RenameTable("PGM:ABC", "PGM:Other"));
  EXPECT_FALSE(db->RenameTable("PGM:Other", "axis:x1"));  // taken
  EXPECT_FALSE(db->RenameTable("PGM:none", "PGM:x"));
  auto rs = db->OpenRecordset("PGM:Other");
  ASSERT_TRUE(rs.ok());
  EXPECT_EQ((*rs)->Text("Text"), "MOVE");

  // Fields: add, rename (also by case), delete.
  ASSERT_TRUE(db->AddField("PGM:Other", FieldDef::Text("Note", 32)));
  EXPECT_FALSE(db->AddField("PGM:Other", FieldDef::Text("note", 32)));
  ASSERT_TRUE(db->RenameField("PGM:Other", "Note", "NOTE"));
  ASSERT_TRUE(db->RenameField("PGM:Other", "NOTE", "Remark"));
  EXPECT_FALSE(db->RenameField("PGM:Other", "Remark", "Text"));
  auto def = db->GetTableDef("PGM:Other");
  ASSERT_EQ(def->fields.size(), 3u);
  EXPECT_EQ(def->fields[2].name, "Remark");
  EXPECT_EQ(def->fields[2].size, 32);
  ASSERT_TRUE(db->DeleteField("PGM:Other", "Remark"));
  EXPECT_EQ(db->GetTableDef("PGM:Other")->fields.size(), 2u);
  ASSERT_TRUE(db->DeleteTable("PGM:Other"));
  EXPECT_FALSE(db->DeleteTable("PGM:Other"));
  EXPECT_EQ(db->TableNames(), std::vector<std::string>{"AXIS:X1"});
}

TEST_F(DaoTest, RowsComeInInsertionOrderAndMovesReportEofAndBof) {
  auto db = NewDb();
  auto rs = db->OpenRecordset("AXIS:X1");
  ASSERT_TRUE(rs.ok());
  Recordset& r = **rs;
  EXPECT_TRUE(r.Eof());
  EXPECT_TRUE(r.Bof());
  EXPECT_EQ(r.RecordCount(), 0);
  EXPECT_FALSE(r.MoveNext());
  EXPECT_FALSE(r.Edit());
  EXPECT_FALSE(r.Delete());

  for (const char* n : {"ZZ", "AA", "MM", "BB"}) Add(r, n, "0");
  EXPECT_EQ(r.RecordCount(), 4);
  EXPECT_EQ(Names(r), (std::vector<std::string>{"ZZ", "AA", "MM", "BB"}));
  EXPECT_TRUE(r.Field("ID").IsNull());  // no current row past the end
  EXPECT_TRUE(r.Eof());
  ASSERT_TRUE(r.MovePrevious());
  EXPECT_EQ(r.Text("Name"), "BB");
  ASSERT_TRUE(r.MoveLast());
  EXPECT_EQ(r.Text("Name"), "BB");
  ASSERT_TRUE(r.MoveFirst());
  ASSERT_TRUE(r.MovePrevious());
  EXPECT_TRUE(r.Bof());
  EXPECT_FALSE(r.Eof());
  ASSERT_TRUE(r.MoveNext());
  EXPECT_EQ(r.Text("Name"), "ZZ");

  // Edit keeps the place in the order; delete in the middle of a walk goes on.
  ASSERT_TRUE(r.Seek("Name", "AA"));
  ASSERT_FALSE(r.NoMatch());
  ASSERT_TRUE(r.Edit());
  ASSERT_TRUE(r.Set("Value", "7"));
  ASSERT_TRUE(r.Update());
  ASSERT_TRUE(r.Delete());
  EXPECT_FALSE(r.HasCurrent());
  EXPECT_TRUE(r.Field("Name").IsNull());
  ASSERT_TRUE(r.MoveNext());
  EXPECT_EQ(r.Text("Name"), "MM");
  EXPECT_EQ(Names(r), (std::vector<std::string>{"ZZ", "MM", "BB"}));

  // A new row after a delete still goes last.
  Add(r, "AA", "1");
  EXPECT_EQ(Names(r), (std::vector<std::string>{"ZZ", "MM", "BB", "AA"}));
}

TEST_F(DaoTest, AMoveThatFailsEndsTheWalkInsteadOfStayingOnTheRow) {
  auto db = NewDb();
  auto rs = db->OpenRecordset("AXIS:X1");
  ASSERT_TRUE(rs.ok());
  Recordset& r = **rs;
  for (const char* n : {"A", "B", "C"}) Add(r, n, "0");
  ASSERT_TRUE(r.MoveFirst());
  ASSERT_TRUE(db->Execute("DROP TABLE \"AXIS:X1\""));  // every later read fails
  EXPECT_FALSE(r.MoveNext());
  EXPECT_TRUE(r.Eof());
  EXPECT_FALSE(r.MovePrevious());
  EXPECT_TRUE(r.Bof());
  EXPECT_FALSE(r.MoveFirst());
  EXPECT_TRUE(r.Eof());
}

TEST_F(DaoTest, SeekComparesExactlyAndNullDiffersFromEmpty) {
  auto db = NewDb();
  {
    auto rs = db->OpenRecordset("AXIS:X1");
    Add(**rs, "ppg", "lower");
    Add(**rs, "PPG", "upper");
    Add(**rs, "E", Value());
    Add(**rs, "F", "");
    Add(**rs, "PPG", "second");
  }
  db->Close();
  auto re = Database::Open(PathOf("a.app"));
  auto rs = (*re)->OpenRecordset("AXIS:X1");
  Recordset& r = **rs;
  struct Case {
    Value key;
    bool found;
    std::string value;
  } cases[] = {{"PPG", true, "upper"}, {"ppg", true, "lower"}, {"Ppg", false, ""}, {"PP", false, ""}};
  for (const Case& c : cases) {
    ASSERT_TRUE(r.Seek("Name", c.key));
    EXPECT_EQ(!r.NoMatch(), c.found) << c.key.Text();
    EXPECT_EQ(r.Text("Value"), c.value) << c.key.Text();
    EXPECT_EQ(r.Eof(), !c.found);
  }
  ASSERT_TRUE(r.Seek("Name", "E"));
  EXPECT_TRUE(r.Field("Value").IsNull());
  ASSERT_TRUE(r.Seek("Name", "F"));
  EXPECT_TRUE(r.Field("Value").IsText());
  EXPECT_EQ(r.Field("Value"), Value(""));
  ASSERT_TRUE(r.Seek("Value", Value()));
  EXPECT_EQ(r.Text("Name"), "E");
  EXPECT_FALSE(r.Seek("Nope", "x"));
}

TEST_F(DaoTest, FieldSizesAreEnforcedNotCut) {
  auto db = NewDb();
  ASSERT_TRUE(db->CreateTable({"PGM:P", {FieldDef::Long("Line"), FieldDef::Text("Text", 64)}}));
  struct Case {
    const char* table;
    const char* field;
    std::string value;
    bool ok;
  } cases[] = {
      {"AXIS:X1", "Name", "ABCDEFGH", true},
      {"AXIS:X1", "Name", "ABCDEFGHI", false},
      {"AXIS:X1", "Name", "\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA9", true},  // 8 characters
      {"AXIS:X1", "Value", std::string(32, 'v'), true},
      {"AXIS:X1", "Value", std::string(33, 'v'), false},
      {"PGM:P", "Text", std::string(64, 't'), true},
      {"PGM:P", "Text", std::string(65, 't'), false},
      {"PGM:P", "Line", "12", true},
      {"PGM:P", "Line", "12x", false},
      {"PGM:P", "Line", "", false},
  };
  for (const Case& c : cases) {
    auto rs = db->OpenRecordset(c.table);
    ASSERT_TRUE(rs.ok());
    int64_t before = (*rs)->RecordCount();
    ASSERT_TRUE((*rs)->AddNew());
    Status s = (*rs)->Set(c.field, c.value);
    EXPECT_EQ(s.ok(), c.ok) << c.field << " " << c.value;
    if (!c.ok) {
      EXPECT_NE(s.error.find(c.field), std::string::npos) << s.error;
    }
    ASSERT_TRUE((*rs)->Update());
    EXPECT_EQ((*rs)->RecordCount(), before + 1);
    EXPECT_EQ((*rs)->Text(c.field), c.ok ? c.value : "") << "a refused value is not stored, not even cut";
  }
  // A counter is the file's to number.
  auto rs = db->OpenRecordset("AXIS:X1");
  ASSERT_TRUE((*rs)->AddNew());
  EXPECT_FALSE((*rs)->Set("ID", 99));
  EXPECT_FALSE((*rs)->Set("Missing", "x"));
  (*rs)->CancelUpdate();
  EXPECT_FALSE((*rs)->Update());
}

TEST_F(DaoTest, TransactionsCommitRollBackAndNest) {
  auto db = NewDb();
  auto rs = db->OpenRecordset("AXIS:X1");
  Recordset& r = **rs;
  {
    Transaction t(*db);
    Add(r, "A", "1");
    ASSERT_TRUE(db->CreateTable({"PGM:T", {FieldDef::Long("Line")}}));
  }  // not committed
  EXPECT_EQ(r.RecordCount(), 0);
  EXPECT_FALSE(db->HasTable("PGM:T"));
  EXPECT_EQ(db->TransactionDepth(), 0);
  {
    Transaction outer(*db);
    Add(r, "A", "1");
    {
      Transaction inner(*db);
      Add(r, "B", "2");
      inner.Rollback();
    }
    Add(r, "C", "3");
    ASSERT_TRUE(outer.Commit());
    EXPECT_FALSE(outer.Commit());
  }
  db->Close();
  auto re = Database::Open(PathOf("a.app"));
  auto rs2 = (*re)->OpenRecordset("AXIS:X1");
  EXPECT_EQ(Names(**rs2), (std::vector<std::string>{"A", "C"}));
}

TEST_F(DaoTest, AFailingWriteInsideATransactionLeavesTheFileAsItWas) {
  auto db = NewDb();
  auto rs = db->OpenRecordset("AXIS:X1");
  Add(**rs, "KEEP", "1");
  int writes = 0;
  db->SetFaultHook([&](std::string_view) { return ++writes == 3; });
  Status failed;
  {
    Transaction t(*db);
    for (const char* n : {"A", "B", "C", "D"}) {
      ASSERT_TRUE((*rs)->AddNew());
      ASSERT_TRUE((*rs)->Set("Name", n));
      failed = (*rs)->Update();
      if (!failed) break;
    }
  }
  EXPECT_FALSE(failed);
  EXPECT_EQ(writes, 3);
  db->SetFaultHook(nullptr);
  EXPECT_EQ(Names(**rs), std::vector<std::string>{"KEEP"});
}

TEST_F(DaoTest, AWriteProtectedFileOpensReadOnlyAndRefusesChanges) {
  auto db = NewDb();
  auto rs = db->OpenRecordset("AXIS:X1");
  Add(**rs, "PPG", "5");
  rs->reset();
  db.reset();
  fs::permissions(PathOf("a.app"), fs::perms::owner_read);
  for (bool askReadOnly : {true, false}) {
    if (!askReadOnly && ::geteuid() == 0) continue;  // root writes anyway
    auto ro = Database::Open(PathOf("a.app"), askReadOnly);
    ASSERT_TRUE(ro.ok()) << ro.error;
    EXPECT_TRUE((*ro)->ReadOnly());
    auto r = (*ro)->OpenRecordset("AXIS:X1");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ((*r)->Text("Value"), "5");
    ASSERT_TRUE((*r)->AddNew());
    ASSERT_TRUE((*r)->Set("Name", "X"));
    Status s = (*r)->Update();
    EXPECT_FALSE(s);
    EXPECT_NE(s.error.find("readonly"), std::string::npos) << s.error;
    EXPECT_FALSE((*ro)->CreateTable({"PGM:X", {FieldDef::Long("Line")}}));
    EXPECT_EQ((*r)->RecordCount(), 1);
  }
}

TEST_F(DaoTest, ARecordsetOfAClosedDatabaseFailsQuietly) {
  auto db = NewDb();
  auto rs = db->OpenRecordset("AXIS:X1");
  db->Close();
  EXPECT_FALSE((*rs)->MoveFirst());
  EXPECT_FALSE((*rs)->AddNew());
  EXPECT_EQ((*rs)->RecordCount(), -1);
  EXPECT_FALSE(db->OpenRecordset("AXIS:X1").ok());
  EXPECT_FALSE(db->Begin());
}

// A snapshot answers every move and seek as the file would, and refuses changes.
TEST_F(DaoTest, ASnapshotAnswersAsTheFileDoesAndRefusesChanges) {
  auto db = NewDb();
  ASSERT_TRUE(db->CreateTable({"T", {FieldDef::Long("id"), FieldDef::Text("Name", 8)}}));
  // Rows with a gap in their numbers and values of every kind in the number field.
  ASSERT_TRUE(db->Execute("INSERT INTO T (id, Name) VALUES (7, 'a'), (5, 'B'), (NULL, 'n'), (5, 'dup'), "
                          "(2.5, '12'), ('x', 'txt')"));
  ASSERT_TRUE(db->Execute("DELETE FROM T WHERE Name='a'"));
  ASSERT_TRUE(db->Execute("INSERT INTO T (id, Name) VALUES (9, 'last')"));
  auto file = db->OpenRecordset("T");
  auto snap = db->OpenRecordset("T");
  ASSERT_TRUE((*snap)->TakeSnapshot());
  ASSERT_TRUE((*snap)->IsSnapshot());
  auto state = [](Recordset& r, const Status& s) {
    return std::to_string(s.ok()) + (r.Eof() ? " eof" : "") + (r.Bof() ? " bof" : "") +
           (r.NoMatch() ? " nomatch" : "") + " " + std::to_string(r.Bookmark() * r.HasCurrent()) + " " +
           r.Text("id") + "/" + r.Text("Name");
  };
  using Op = std::function<Status(Recordset&)>;
  const std::vector<std::pair<const char*, Op>> ops = {
      {"first", [](Recordset& r) { return r.MoveFirst(); }},
      {"next", [](Recordset& r) { return r.MoveNext(); }},
      {"prev", [](Recordset& r) { return r.MovePrevious(); }},
      {"last", [](Recordset& r) { return r.MoveLast(); }},
      {"seek 5", [](Recordset& r) { return r.Seek("id", 5); }},
      {"seek '5'", [](Recordset& r) { return r.Seek("id", "5"); }},
      {"seek 2.5", [](Recordset& r) { return r.Seek("id", "2.5"); }},
      {"seek 12", [](Recordset& r) { return r.Seek("Name", 12); }},
      {"seek b", [](Recordset& r) { return r.Seek("Name", "b"); }},
      {"seek null", [](Recordset& r) { return r.Seek("id", Value()); }},
      {"seek none", [](Recordset& r) { return r.Seek("id", 1); }},
      {"seek 'x'", [](Recordset& r) { return r.Seek("id", "x"); }},
      {"seek bad", [](Recordset& r) { return r.Seek("nope", 1); }},
  };
  // Each move after every other, walking off both ends.
  const std::vector<int> script = {0, 1, 1, 1, 1, 1, 1, 2, 2, 3, 1, 2, 2, 2, 2, 2, 2, 1, 4, 1, 2, 5, 6,
                                   2, 7, 8, 10, 2, 10, 1, 9, 2, 1, 11, 3, 4, 1, 1, 1, 12, 2, 1, 1};
  for (int k : script) {
    Status a = ops[size_t(k)].second(**file);
    Status b = ops[size_t(k)].second(**snap);
    EXPECT_EQ(state(**snap, b), state(**file, a)) << ops[size_t(k)].first;
  }
  EXPECT_EQ((*snap)->RecordCount(), 6);
  ASSERT_TRUE((*snap)->MoveFirst());
  EXPECT_FALSE((*snap)->Edit());
  EXPECT_FALSE((*snap)->AddNew());
  EXPECT_FALSE((*snap)->Delete());
  EXPECT_FALSE((*snap)->Update());
  // Requery reads the file again.
  ASSERT_TRUE(db->Execute("INSERT INTO T (id, Name) VALUES (10, 'new')"));
  EXPECT_EQ((*snap)->RecordCount(), 6);
  ASSERT_TRUE((*snap)->Requery());
  EXPECT_EQ((*snap)->RecordCount(), 7);
  db->Close();
  EXPECT_FALSE((*snap)->MoveNext());
  EXPECT_EQ((*snap)->RecordCount(), -1);
}

}  // namespace
}  // namespace talvero::dao
