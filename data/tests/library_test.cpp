// Checks on the built library database: what the program's readers rely on.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/tests/library_path.h"

namespace {

using Field = std::optional<std::string>;
using Row = std::vector<Field>;

const std::vector<std::string> kFamilies = {"RHO", "TAU", "PHI", "PSI"};

using datatest::LibraryPath;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Db {
 public:
  explicit Db(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &h_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(h_);
      h_ = nullptr;
    }
  }
  ~Db() { sqlite3_close(h_); }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  bool IsOpen() const { return h_ != nullptr; }

  // Every row of a query, NULL fields as nullopt; a failing query adds a failure.
  std::vector<Row> Rows(const std::string& sql) const {
    std::vector<Row> rows;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(h_);
      return rows;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
      Row row;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* t = sqlite3_column_text(st, i);
        row.push_back(t ? Field(reinterpret_cast<const char*>(t)) : std::nullopt);
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    return rows;
  }

  int Exec(const std::string& sql) const { return sqlite3_exec(h_, sql.c_str(), nullptr, nullptr, nullptr); }

 private:
  sqlite3* h_ = nullptr;
};

std::string Text(const Field& f) { return f.value_or(""); }
long long Number(const Field& f) { return f ? std::stoll(*f) : 0; }
double Real(const Field& f) { return f ? std::stod(*f) : 0.0; }

int Count(const std::string& s, const std::string& what) {
  int n = 0;
  for (auto p = s.find(what); p != std::string::npos; p = s.find(what, p + what.size())) ++n;
  return n;
}

bool StartsWith(const std::string& s, const std::string& head) { return s.rfind(head, 0) == 0; }

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

size_t Utf8Length(const std::string& s) {
  return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

class Library : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db_ = new Db(LibraryPath()); }
  static void TearDownTestSuite() {
    delete db_;
    db_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(db_->IsOpen()) << "cannot open " << LibraryPath(); }
  static const Db& db() { return *db_; }

 private:
  static Db* db_;
};
Db* Library::db_ = nullptr;

// ---------------------------------------------------------------- the file

TEST(LibraryFile, OpensReadOnlyAndRefusesEveryWrite) {
  const std::string path = LibraryPath();
  const std::string before = ReadBytes(path);
  ASSERT_FALSE(before.empty()) << path;
  {
    Db db(path);
    ASSERT_TRUE(db.IsOpen());
    // A WAL database needs a writable directory even to be read.
    auto mode = db.Rows("PRAGMA journal_mode");
    ASSERT_EQ(mode.size(), 1u);
    EXPECT_EQ(Text(mode[0][0]), "delete");
    for (const char* sql : {
             "INSERT INTO Parameters (id, DT, Type, Name, fullname, Format) "
             "VALUES (9999, 'SU', 'RHO', 'ZZZ', 'x', '#0')",
             "UPDATE Steps SET GUI = 'x'",
             "DELETE FROM Motors",
             "DROP TABLE IO",
             "CREATE TABLE Extra (a)",
         }) {
      EXPECT_EQ(db.Exec(sql), SQLITE_READONLY) << sql;
    }
  }
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(Library, HoldsEveryTableWithTheFieldsItsReadersName) {
  const std::map<std::string, std::vector<std::string>> tables = {
      {"Parameters", {"DT", "Type", "Name", "Format", "units", "fullname", "id", "rw"}},
      {"Steps", {"id", "GUI", "Prototype", "Typ", "des", "P1", "P2"}},
      {"Threads", {"id", "GUI", "Prototype", "des", "P1", "P2"}},
      {"Motors", {"Type", "APN", "inertia", "kt_bspd", "P1", "P2", "p3", "p4", "p5", "ic", "feedp",
                  "mpol", "feedback"}},
      {"IO", {"Name", "fullname", "id", "Bit", "Kill"}},
  };
  for (const auto& [table, fields] : tables) {
    std::set<std::string> have;
    for (const Row& r : db().Rows("PRAGMA table_info(\"" + table + "\")")) have.insert(Text(r[1]));
    for (const std::string& f : fields) EXPECT_TRUE(have.count(f)) << table << "." << f;
    EXPECT_FALSE(db().Rows("SELECT 1 FROM \"" + table + "\" LIMIT 1").empty()) << table << " is empty";
  }
  // The motor wizards seek by the index "APN".
  bool indexed = false;
  for (const Row& r : db().Rows("PRAGMA index_list(Motors)")) {
    if (Text(r[1]) != "APN") continue;
    auto cols = db().Rows("PRAGMA index_info(APN)");
    indexed = cols.size() == 1 && Text(cols[0][2]) == "APN" && Text(r[2]) == "1";
  }
  EXPECT_TRUE(indexed) << "Motors needs a unique index APN on APN";
}

// ---------------------------------------------------------------- parameters

TEST_F(Library, ParameterNamesAreShortUniqueMnemonicsAndIdsUnique) {
  auto rows = db().Rows("SELECT Name, id FROM Parameters");
  ASSERT_FALSE(rows.empty());
  // The copy buffer of the parameter transfers holds 255 values.
  EXPECT_LE(rows.size(), 255u);
  std::set<std::string> names;
  std::set<long long> ids;
  for (const Row& r : rows) {
    const std::string name = Text(r[0]);
    EXPECT_GE(name.size(), 1u);
    EXPECT_LE(name.size(), 8u) << name;
    const bool mnemonic =
        !name.empty() && name[0] >= 'A' && name[0] <= 'Z' &&
        std::all_of(name.begin(), name.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
    EXPECT_TRUE(mnemonic) << "'" << name << "'";
    EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    ASSERT_TRUE(r[1].has_value()) << name;
    EXPECT_TRUE(ids.insert(Number(r[1])).second) << "duplicate id " << *r[1];
  }
}

TEST_F(Library, ParameterFormatsArePicturesOrKnownEnumerations) {
  const std::set<std::string> codes = {"1", "2", "3", "4", "5", "10", "11", "12", "13"};
  for (const Row& r : db().Rows("SELECT Name, Format FROM Parameters")) {
    const std::string name = Text(r[0]), fmt = Text(r[1]);
    if (StartsWith(fmt, "#")) {
      // A zero must show as a digit, never as "" or a bare point.
      const std::string whole = fmt.substr(0, fmt.find('.'));
      EXPECT_NE(whole.find('0'), std::string::npos) << name << " '" << fmt << "'";
      EXPECT_EQ(fmt.find_first_not_of("#0.,"), std::string::npos) << name << " '" << fmt << "'";
    } else {
      EXPECT_TRUE(codes.count(fmt)) << name << " '" << fmt << "'";
    }
  }
}

TEST_F(Library, ParameterCategoriesFamiliesAndFlagsAreKnown) {
  const std::set<std::string> categories = {"SU", "SM", "SF", "SC", "TU", "MO", "OT"};
  for (const Row& r : db().Rows("SELECT Name, DT, Type, rw, fullname, units FROM Parameters")) {
    const std::string name = Text(r[0]);
    EXPECT_TRUE(categories.count(Text(r[1]))) << name << " DT '" << Text(r[1]) << "'";
    auto families = Words(Text(r[2]));
    EXPECT_FALSE(families.empty()) << name;
    for (const std::string& f : families)
      EXPECT_NE(std::find(kFamilies.begin(), kFamilies.end(), f), kFamilies.end()) << name << " Type " << f;
    EXPECT_TRUE(!r[3] || *r[3] == "N") << name << " rw '" << Text(r[3]) << "'";
    EXPECT_FALSE(Text(r[4]).empty()) << name;
    EXPECT_TRUE(!r[5] || !r[5]->empty()) << name << ": no units is NULL, not ''";
    // Reports pad "fullname (NAME):  " to 45 characters.
    EXPECT_LE(Utf8Length(Text(r[4]) + " (" + name + "):  "), 45u) << name;
  }
}

TEST_F(Library, EveryFamilyHasParametersUnderEveryTreeCategory) {
  for (const std::string& family : kFamilies) {
    for (const char* dt : {"SU", "SM", "SF", "SC", "TU"}) {
      auto rows = db().Rows(std::string("SELECT count(*) FROM Parameters WHERE DT = '") + dt +
                            "' AND instr(Type, '" + family + "') > 0");
      EXPECT_GT(Number(rows.at(0)[0]), 0) << family << " has no " << dt << " parameter";
    }
  }
}

TEST_F(Library, EveryNameTheCodeUsesIsPresentForItsFamilies) {
  std::map<std::string, std::string> types;
  for (const Row& r : db().Rows("SELECT Name, Type FROM Parameters")) types[Text(r[0])] = Text(r[1]);

  std::ifstream in(TALVERO_REQUIRED_PARAMETERS);
  ASSERT_TRUE(in) << TALVERO_REQUIRED_PARAMETERS;
  std::set<std::string> listed;
  std::string line;
  while (std::getline(in, line)) {
    const auto hash = line.find('#');
    const bool commented = hash != std::string::npos;
    auto words = Words(line.substr(0, hash));
    if (words.empty()) continue;
    const std::string name = words[0];
    EXPECT_TRUE(commented) << name << ": say who uses it";
    EXPECT_TRUE(listed.insert(name).second) << name << " listed twice";
    auto it = types.find(name);
    if (it == types.end()) {
      ADD_FAILURE() << name << " is used by the code but missing from Parameters";
      continue;
    }
    for (size_t i = 1; i < words.size(); ++i)
      EXPECT_NE(it->second.find(words[i]), std::string::npos) << name << " must apply to " << words[i];
  }
  EXPECT_GT(listed.size(), 0u);
}

// ---------------------------------------------------------------- templates

// Placeholder rules shared by step and event templates.
void CheckTemplates(const std::string& what, const std::string& gui, const std::string& proto,
                    const Field& p1, const Field& p2) {
  SCOPED_TRACE(what + " '" + proto + "'");
  for (const char* ph : {"~1", "~2"}) {
    EXPECT_LE(Count(proto, ph), 1);
    EXPECT_EQ(Count(gui, ph), Count(proto, ph)) << "GUI '" << gui << "' and Prototype disagree on " << ph;
  }
  EXPECT_EQ(Count(proto, "~u"), 0) << "units are display only";
  if (Count(proto, "~2")) {
    EXPECT_EQ(Count(proto, "~1"), 1) << "a second operand needs a first";
    EXPECT_LT(proto.find("~1"), proto.find("~2"));
    EXPECT_NE(proto.find("~2"), proto.find("~1") + 2) << "operands need a literal between them";
  }
  EXPECT_EQ(!Text(p1).empty(), Count(proto, "~1") == 1) << "P1 describes ~1";
  EXPECT_EQ(!Text(p2).empty(), Count(proto, "~2") == 1) << "P2 describes ~2";
  EXPECT_EQ(proto.find_first_of("?#*"), std::string::npos) << "pattern characters in a prototype";
}

TEST_F(Library, StepTypesHaveConsistentTemplatesAndFewKinds) {
  std::set<long long> ids;
  std::set<std::string> kinds;
  for (const Row& r : db().Rows("SELECT id, Typ, GUI, Prototype, P1, P2, des FROM Steps")) {
    ASSERT_TRUE(r[0].has_value());
    EXPECT_GT(Number(r[0]), 0);
    EXPECT_TRUE(ids.insert(Number(r[0])).second) << "duplicate step id " << *r[0];
    EXPECT_FALSE(Text(r[1]).empty()) << "step " << *r[0] << " has no kind";
    kinds.insert(Text(r[1]));
    EXPECT_FALSE(Text(r[6]).empty()) << "step " << *r[0] << " has no description";
    EXPECT_FALSE(Text(r[3]).empty());
    CheckTemplates("step " + *r[0], Text(r[2]), Text(r[3]), r[4], r[5]);
  }
  EXPECT_LE(kinds.size(), 9u) << "the step editor lists at most nine kinds";
}

TEST_F(Library, StepTableHoldsTheCasesTheDecoderSinglesOut) {
  auto rows = db().Rows("SELECT Prototype, GUI FROM Steps");
  auto first = [&](auto pred) -> long {
    for (size_t i = 0; i < rows.size(); ++i)
      if (pred(Text(rows[i][0]), Text(rows[i][1]))) return static_cast<long>(i);
    return -1;
  };
  const long assign = first([](const std::string& p, const std::string&) {
    return StartsWith(p, "!") && Count(p, "~2") == 1;
  });
  const long trk = first([](const std::string& p, const std::string&) { return StartsWith(p, "!TRK"); });
  const long swe = first([](const std::string& p, const std::string&) { return StartsWith(p, "!SWE"); });
  EXPECT_GE(assign, 0);
  EXPECT_GT(trk, assign) << "a \"!TRK\" step after a two-operand \"!\" step";
  EXPECT_GT(swe, assign) << "a \"!SWE\" step after a two-operand \"!\" step";
  for (const char* lead : {"OS~1", "OC~1"})
    EXPECT_GE(first([&](const std::string& p, const std::string&) { return StartsWith(p, lead); }), 0) << lead;
  EXPECT_GE(first([](const std::string&, const std::string& g) { return !g.empty() && g.back() == ':'; }), 0)
      << "a label step";
  EXPECT_GE(first([](const std::string& p, const std::string&) { return p.find('[') != std::string::npos; }), 0)
      << "a prototype with a literal \"[\"";
}

TEST_F(Library, EventTypesAreUpperCaseTemplatesTheEventDecoderCanMatch) {
  std::set<long long> ids;
  for (const Row& r : db().Rows("SELECT id, GUI, Prototype, P1, P2, des FROM Threads")) {
    ASSERT_TRUE(r[0].has_value());
    EXPECT_GE(Number(r[0]), 0);
    EXPECT_TRUE(ids.insert(Number(r[0])).second) << "duplicate event id " << *r[0];
    EXPECT_FALSE(Text(r[5]).empty());
    const std::string proto = Text(r[2]);
    CheckTemplates("event " + *r[0], Text(r[1]), proto, r[3], r[4]);
    // Drives keep event lines in upper case; the event decoder does not escape "[";
    // a leading literal keeps the "0" of an unset application event unmatched.
    EXPECT_EQ(proto.find_first_of("abcdefghijklmnopqrstuvwxyz["), std::string::npos) << proto;
    EXPECT_FALSE(proto.empty() || proto[0] == '~') << proto;
  }
}

// ---------------------------------------------------------------- motors

TEST_F(Library, MotorCatalogueCoversEveryTypeAndFeedbackCode) {
  std::set<std::string> types, feedbacks, names;
  for (const Row& r : db().Rows("SELECT Type, feedback, APN FROM Motors")) {
    types.insert(Text(r[0]));
    feedbacks.insert(Text(r[1]));
    EXPECT_TRUE(names.insert(Text(r[2])).second) << "duplicate APN " << Text(r[2]);
  }
  EXPECT_EQ(types, (std::set<std::string>{"BL", "BI", "B6", "BR", "IN", "ST"}));
  EXPECT_EQ(feedbacks, (std::set<std::string>{"R", "Y", "E", "N"}));
}

TEST_F(Library, MotorRecordsHoldPlausibleValuesInEveryFieldTheWizardsRead) {
  const std::string fields = "Type, APN, inertia, kt_bspd, P1, P2, p3, p4, p5, ic, feedp, mpol, feedback";
  for (const Row& r : db().Rows("SELECT " + fields + " FROM Motors")) {
    const std::string type = Text(r[0]), apn = Text(r[1]), fb = Text(r[12]);
    SCOPED_TRACE(apn);
    for (const Field& f : r) EXPECT_TRUE(f.has_value()) << "a NULL field";
    EXPECT_FALSE(apn.empty());
    EXPECT_FALSE(StartsWith(apn, "-")) << "reads like a generic row";
    const double inertia = Real(r[2]), kt = Real(r[3]), ic = Real(r[9]);
    const long long feedp = Number(r[10]), mpol = Number(r[11]);
    EXPECT_GT(ic, 0);
    if (type == "ST") {
      EXPECT_GT(mpol, 0) << "steps per revolution";
      EXPECT_TRUE(fb == "N" || fb == "E");
      EXPECT_EQ(fb == "N", feedp == 0) << "an encoder has pulses, no encoder none";
      continue;
    }
    EXPECT_GT(inertia, 0);
    EXPECT_LT(inertia, 1);
    EXPECT_GT(kt, 0);
    EXPECT_GT(feedp, 0);
    EXPECT_GE(mpol, 2);
    EXPECT_LE(mpol, 64);
    EXPECT_EQ(mpol % 2, 0);
    if (type == "BR") {
      EXPECT_GT(Real(r[4]), 0) << "armature resistance";
      EXPECT_EQ(fb, "N");
    } else if (type == "IN") {
      for (int i : {4, 5, 6, 7}) EXPECT_GT(Real(r[i]), 0) << "induction field " << i;
      EXPECT_EQ(fb, "E");
    } else if (type == "BL") {
      EXPECT_TRUE(fb == "R" || fb == "Y" || fb == "E");
      if (fb == "R") {
        EXPECT_LE(feedp, 16) << "a resolver's count is its pole count";
      }
    } else {
      EXPECT_TRUE(fb == "Y" || fb == "E") << type << " has no resolver";
    }
  }
}

// ---------------------------------------------------------------- I/O functions

TEST_F(Library, IoIdsAreUniqueAndWithinTheDialogsArrays) {
  std::set<long long> ids;
  for (const Row& r : db().Rows("SELECT id, Name, fullname FROM IO")) {
    ASSERT_TRUE(r[0].has_value());
    const long long id = Number(r[0]);
    EXPECT_GE(id, 0);
    EXPECT_LE(id, 256);
    EXPECT_TRUE(ids.insert(id).second) << "duplicate IO id " << id;
    EXPECT_FALSE(Text(r[2]).empty());
    for (const std::string& key : Words(Text(r[1])))
      EXPECT_TRUE(key == "RHO" || key == "TAUI" || key == "PHII" || key == "PSII") << "IO key " << key;
  }
}

TEST_F(Library, EveryIoFamilyKeyHasConsistentBitAndKillMasks) {
  struct Fn {
    std::string text;
    uint32_t bit, kill;
  };
  for (const char* key : {"RHO", "TAUI", "PHII", "PSII"}) {
    SCOPED_TRACE(key);
    std::vector<Fn> fns;
    for (const Row& r : db().Rows(std::string("SELECT fullname, Bit, Kill FROM IO WHERE instr(Name, '") + key +
                                  "') > 0"))
      fns.push_back({Text(r[0]), static_cast<uint32_t>(Number(r[1])), static_cast<uint32_t>(Number(r[2]))});
    ASSERT_FALSE(fns.empty());
    uint32_t used = 0;
    bool twoBit = false, exclusivePair = false;
    for (const Fn& f : fns) {
      SCOPED_TRACE(f.text);
      EXPECT_NE(f.bit, 0u);
      EXPECT_EQ(f.bit & f.kill, 0u) << "a function excludes itself";
      EXPECT_EQ(used & f.bit, 0u) << "two functions share a bit";
      used |= f.bit;
      twoBit |= std::popcount(f.bit) == 2;
      // Every excluded bit belongs to a function that excludes this one back.
      uint32_t covered = 0;
      for (const Fn& g : fns) {
        if (&g == &f || (g.bit & f.kill) == 0) continue;
        EXPECT_EQ(g.bit & ~f.kill, 0u) << "excludes only part of " << g.text;
        EXPECT_EQ(f.bit & ~g.kill, 0u) << g.text << " does not exclude it back";
        covered |= g.bit;
        exclusivePair = true;
      }
      EXPECT_EQ(covered, f.kill) << "Kill names bits of no function";
    }
    EXPECT_TRUE(twoBit) << "no function of two bits";
    EXPECT_TRUE(exclusivePair) << "no mutually exclusive pair";
  }
}

}  // namespace
