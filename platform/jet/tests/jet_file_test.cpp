// The Jet reader on the real engine's sample file and on the test writer's
// files, with the writer's output checked by the mdbtools command-line tools.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/jet/jet_file.h"
#include "platform/jet/tests/jet3_writer.h"
#include "platform/jet/tests/test_files.h"

namespace {

using talvero::jet::File;
using talvero::jet::Kind;
namespace w = talvero::jet::testing;
using w::Shell;

struct TempDir {
  std::string path;
  TempDir() {
    char name[] = "/tmp/talvero-jet-XXXXXX";
    path = ::mkdtemp(name);
  }
  ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::string Put(const std::string& name, const std::string& bytes) const {
    const std::string p = path + "/" + name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
};

bool HaveTools() { return std::system("command -v mdb-export >/dev/null 2>&1") == 0; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) out.push_back(text.substr(at, nl - at));
  return out;
}

w::Table Sample() {
  w::Table t{"Fräse 2", {{"ID", w::Type::Long, 0, true}, {"Name", w::Type::Text, 8}, {"Value", w::Type::Text, 32}}};
  for (int i = 0; i < 300; ++i)
    t.rows.push_back({std::to_string(i + 1), "P" + std::to_string(i), i == 7 ? std::nullopt : w::Cell("Wert é " + std::to_string(-i))});
  t.deleted = {3};
  t.rowsPerPage = 40;  // eight data pages
  return t;
}

TEST(Jet3Writer, TheMdbtoolsReadBackEveryRowWritten) {
  if (!HaveTools()) GTEST_SKIP() << "mdbtools not installed (scripts/deps installs them)";
  TempDir dir;
  const std::string path = dir.Put("s.mdb", w::WriteJet3({Sample(), {"Leer", {{"Line", w::Type::Long}}, {}}}));
  EXPECT_EQ(Shell("mdb-ver '" + path + "'"), "JET3\n");
  EXPECT_EQ(Shell("mdb-tables -1 '" + path + "'"), "Fräse 2\nLeer\n");
  const auto rows = Lines(Shell("mdb-export '" + path + "' 'Fräse 2'"));
  ASSERT_EQ(rows.size(), 1u + 299u);
  EXPECT_EQ(rows[0], "ID,Name,Value");
  EXPECT_EQ(rows[1], "1,\"P0\",\"Wert é 0\"");
  EXPECT_EQ(rows[4], "5,\"P4\",\"Wert é -4\"") << "row 4 (P3) is deleted";
  EXPECT_EQ(rows[7], "8,\"P7\",") << "a Null";
  EXPECT_EQ(rows[299], "300,\"P299\",\"Wert é -299\"");
  EXPECT_EQ(Lines(Shell("mdb-export '" + path + "' Leer")), std::vector<std::string>{"Line"});
}

TEST(JetFile, ReadsTheWritersRowsInTheirOrder) {
  auto f = File::FromBytes(w::WriteJet3({Sample()}));
  ASSERT_TRUE(f) << f.error;
  EXPECT_EQ((*f)->kind(), Kind::Jet3);
  EXPECT_EQ((*f)->TableNames(), std::vector<std::string>{"Fräse 2"});
  EXPECT_EQ((*f)->FindTable("FRäSE 2"), "Fräse 2");
  auto t = (*f)->Read("fräse 2", {"value", "Name"});
  ASSERT_TRUE(t) << t.error;
  ASSERT_EQ(t->rows.size(), 299u);
  EXPECT_EQ(t->rows[0], (std::vector<std::string>{"Wert é 0", "P0"}));
  EXPECT_EQ(t->rows[3], (std::vector<std::string>{"Wert é -4", "P4"}));
  EXPECT_EQ(t->rows[6], (std::vector<std::string>{"", "P7"}));
  EXPECT_EQ((*f)->RowsRead(), 299u);
  EXPECT_EQ((*f)->Read("Fräse 2", {"Nope"}).error, "the table Fräse 2 has no field Nope");
  EXPECT_EQ((*f)->Read("Other", {"Name"}).error, "the table Other is missing");
}

TEST(JetFile, ReadsTheRealEnginesSampleFile) {
  const std::string path = TALVERO_NWIND;
  if (::access(path.c_str(), R_OK) != 0) GTEST_SKIP() << path << " not found";
  EXPECT_EQ(talvero::jet::RecogniseFile(path), Kind::Jet3);
  auto f = File::Open(path);
  ASSERT_TRUE(f) << f.error;
  EXPECT_EQ((*f)->TableNames(),
            (std::vector<std::string>{"Order Details", "Orders", "Products", "Shippers", "Categories", "Customers",
                                      "Employees", "Suppliers", "Umsätze"}));
  auto ship = (*f)->Read("Shippers", {"ShipperID", "CompanyName", "Phone"});
  ASSERT_TRUE(ship) << ship.error;
  EXPECT_EQ(ship->rows, (std::vector<std::vector<std::string>>{{"1", "Speedy Express", "(503) 555-9831"},
                                                                {"2", "United Package", "(503) 555-3199"},
                                                                {"3", "Federal Shipping", "(503) 555-9931"}}));
  auto cust = (*f)->Read("Customers", {"CustomerID", "CompanyName", "Address", "City"});
  ASSERT_TRUE(cust) << cust.error;
  // mdb-count agrees; mdb-export prints more lines, as some addresses hold line ends.
  EXPECT_EQ(cust->rows.size(), 91u);
  std::vector<std::string> bergs;
  for (const auto& r : cust->rows)
    if (r[0] == "BERGS") bergs = r;
  EXPECT_EQ(bergs, (std::vector<std::string>{"BERGS", "Berglunds snabbköp", "Berguvsvägen  8", "Luleå"}));
  for (const auto& [table, rows] : std::vector<std::pair<std::string, size_t>>{
           {"Order Details", 2155}, {"Orders", 830}, {"Umsätze", 830}, {"Categories", 8}}) {
    auto t = (*f)->Read(table, {});
    ASSERT_TRUE(t) << table << ": " << t.error;
    EXPECT_EQ(t->rows.size(), rows) << table;
  }
  // The real engine's pages and counts agree with what libmdb reads: no table is told as damaged.
  for (const std::string& table : (*f)->TableNames()) {
    auto t = (*f)->Read(table, {});
    ASSERT_TRUE(t) << table << ": " << t.error;
    EXPECT_TRUE(t->Whole()) << table << ": " << t->rows.size() << " of " << t->counted << " rows; "
                            << (t->damage.empty() ? "" : t->damage[0]);
    EXPECT_EQ(t->rows.size(), t->counted) << table;
  }
}

// Jet 3 text is Windows-1252, whose 0x80 to 0x9F are letters and signs,
// not the control characters of ISO-8859-1.
TEST(JetFile, Jet3TextIsWindows1252) {
  const std::vector<std::string> texts = {"5 € netto", "„Zitat“ und ‚so‘", "“quoted” ‘single’", "a – b — c",
                                          "… † ‰ ™ Š œ Ÿ ž", "ä ß é"};
  w::Table t{"Texte", {{"Text", w::Type::Text, 32}}};
  for (const std::string& text : texts) t.rows.push_back({text});
  auto f = File::FromBytes(w::WriteJet3({t}));
  ASSERT_TRUE(f) << f.error;
  auto read = (*f)->Read("Texte", {"Text"});
  ASSERT_TRUE(read) << read.error;
  ASSERT_EQ(read->rows.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(read->rows[i][0], texts[i]);
}

// What shows that libmdb read less than a table holds: its rows against the
// definition's count, a page map entry that is no data page of the table
// (libmdb skips it, and says so on standard error only).
TEST(JetFile, AShortReadIsToldWithItsSigns) {
  w::Table a{"A", {{"N", w::Type::Long}}}, b{"B", {{"N", w::Type::Long}}};
  for (int i = 0; i < 10; ++i) a.rows.push_back({std::to_string(i)});
  for (int i = 0; i < 5; ++i) b.rows.push_back({std::to_string(100 + i)});
  a.rowsPerPage = 5;
  const std::vector<w::Table> tables{a, b};
  const std::string good = w::WriteJet3(tables);
  const w::Placement pa = w::Place(good, tables, "A");
  ASSERT_EQ(pa.dataPages.size(), 2u);
  const uint32_t pageOfB = w::Place(good, tables, "B").dataPages.at(0);
  ASSERT_EQ(pageOfB, pa.dataPages[0] + 2);
  std::string stray = good, cut = good, over = good;
  stray[pa.usageMap + 5] = 0x05;  // A's first page, then B's in place of A's second
  cut[pa.dataPages[0] * w::kJet3Page + 8] = 2;
  over[pa.definition * w::kJet3Page + 12] = 12;
  const struct {
    const char* what;
    std::string bytes;
    size_t rows;
    uint64_t counted;
    std::vector<std::string> signs;  // the start of each
  } cases[] = {
      {"whole", good, 10, 10, {}},
      {"a map entry on another table's page", stray, 5, 10,
       {"its page map names page " + std::to_string(pageOfB) + ", which is no data page of it",
        "warning: page " + std::to_string(pageOfB) + " from map doesn't match"}},
      {"a data page's row count cut", cut, 7, 10, {}},
      {"a definition counting more rows than the pages hold", over, 10, 12, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto f = File::FromBytes(c.bytes);
    ASSERT_TRUE(f) << f.error;
    auto t = (*f)->Read("A", {"N"});
    ASSERT_TRUE(t) << t.error;
    EXPECT_EQ(t->rows.size(), c.rows);
    EXPECT_EQ(t->counted, c.counted);
    EXPECT_EQ(t->Whole(), c.rows == c.counted && c.signs.empty());
    ASSERT_EQ(t->damage.size(), c.signs.size()) << (t->damage.empty() ? "" : t->damage[0]);
    for (size_t i = 0; i < c.signs.size(); ++i) EXPECT_EQ(t->damage[i].rfind(c.signs[i], 0), 0u) << t->damage[i];
  }
}

TEST(JetFile, RecognisesTheHeaderOnly) {
  const std::string jet3 = w::WriteJet3({});
  std::string jet4 = jet3;
  jet4[0x14] = 1;
  std::string sqlite = "SQLite format 3";
  sqlite.resize(100, '\0');
  const struct {
    std::string bytes;
    Kind kind;
  } cases[] = {{jet3, Kind::Jet3}, {jet4, Kind::Jet4}, {w::AceFile(), Kind::Ace}, {sqlite, Kind::NotJet},
               {"", Kind::NotJet}, {jet3.substr(0, 0x14), Kind::NotJet}};
  for (const auto& c : cases) EXPECT_EQ(talvero::jet::Recognise(c.bytes), c.kind) << c.bytes.size();
}

TEST(JetFile, BadFilesSayWhy) {
  const std::string good = w::WriteJet3({Sample()});
  // The table's usage map moved far past the end: its rows would be lost unsaid.
  std::string pastEnd = good;
  const std::string map("\x00\x05\x00\x00\x00\xff\x00", 7);  // pages 5 to 12
  for (size_t at = 0; (at = pastEnd.find(map, 13 * 2048)) != std::string::npos;) pastEnd[at + 3] = 0x10;
  // Its page map a row of no bytes: the row before ends where it starts.
  std::string noMap = good;
  const size_t mapPage = 13 * 2048;
  noMap[mapPage + 10 + 2 * 2] = noMap[mapPage + 10 + 2 * 1];
  noMap[mapPage + 10 + 2 * 2 + 1] = noMap[mapPage + 10 + 2 * 1 + 1];
  std::string noCatalogueMap = good;  // the same for the catalogue's map, row 0 of that page
  noCatalogueMap[mapPage + 10] = 0;
  noCatalogueMap[mapPage + 11] = 0x08;
  const struct {
    const char* what;
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"no catalogue map", noCatalogueMap, "it is damaged (the page map of its catalogue is missing)"},
      {"no page map", noMap, "the table Fräse 2 is damaged (its page map is missing)"},
      {"cut mid-page", good.substr(0, good.size() - 100), "it is cut short ("},
      {"cut at a page", good.substr(0, 6 * 2048), "it is damaged"},
      {"pages past the end", pastEnd, "the table Fräse 2 is damaged (it names page 1048581, past the end"},
      {"password", w::WriteJet3({Sample()}, {"geheim", 0}), "it is protected by a database password"},
      {"encrypted", w::WriteJet3({Sample()}, {"", 0x1234567}), "it is encrypted"},
      {"ace", w::AceFile(), "it is a database of the later ACE format (.accdb)"},
      {"no jet", std::string(4096, 'x'), "it is no Jet database"},
      {"catalogue gone", good.substr(0, 2048) + std::string(good.size() - 2048, '\0'), "it is damaged"},
  };
  for (const auto& c : cases) {
    auto f = File::FromBytes(c.bytes);
    std::string reason = f ? "" : f.error;
    if (f) {
      auto t = (*f)->Read("Fräse 2", {"Name"});
      reason = t ? "read " + std::to_string(t->rows.size()) + " rows" : t.error;
    }
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

}  // namespace
