// The help file the build writes: every step, parameter and event type of the
// library database has its topic, with the catalogue's own words.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/help/catalogue_topics.h"
#include "platform/help/help_file.h"
#include "platform/help/help_service.h"

namespace {

using talvero::HelpFile;

std::string Bin() { return std::getenv("TALVERO_BIN") ? std::getenv("TALVERO_BIN") : "."; }

HelpFile BuiltHelp() {
  std::ifstream in(Bin() + "/talvero.help", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return HelpFile::Parse(s.str());
}

TEST(CatalogueTopics, EveryCatalogueEntryHasItsTopic) {
  const HelpFile help = BuiltHelp();
  ASSERT_NE(help.Find(7001), nullptr) << "the hand-written topics come first";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((Bin() + "/KOVdata.KOV").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  struct Table {
    const char* sql;
    int base;
  } tables[] = {{"SELECT id, des FROM Steps", 1000},
                {"SELECT id, fullname FROM Parameters", 1200},
                {"SELECT id, des FROM Threads", 1400}};
  int rows = 0;
  for (const Table& t : tables) {
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, t.sql, -1, &st, nullptr), SQLITE_OK);
    while (sqlite3_step(st) == SQLITE_ROW) {
      ++rows;
      const int context = t.base + sqlite3_column_int(st, 0);
      const std::string words = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      const talvero::HelpTopic* topic = help.Find(context);
      ASSERT_NE(topic, nullptr) << context;
      EXPECT_NE(topic->title.find(words), std::string::npos) << context;
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  EXPECT_GT(rows, 100);
}

TEST(CatalogueTopics, AParameterTopicTellsUnitsShownAsAccessAndFamilies) {
  const HelpFile help = BuiltHelp();
  const talvero::HelpTopic* iner = help.Find(1222);
  ASSERT_NE(iner, nullptr);
  EXPECT_EQ(iner->title, "INER - Total Inertia");
  EXPECT_EQ(iner->keywords, (std::vector<std::string>{"INER", "Total Inertia"}));
  for (const char* line : {"Units: kg-m\xC2\xB2", "Shown as: a number with up to 8 decimal places", "Read-only: no",
                           "Drives: KV110c, KV110i/d, KV/KZ120i/d"})
    EXPECT_NE(iner->text.find(line), std::string::npos) << line << "\n" << iner->text;
  // The family codes are the program's own words, never the user's.
  for (const talvero::HelpTopic& t : help.Topics())
    for (const char* code : {"RHO", "TAU", "PHI", "PSI"})
      EXPECT_EQ(t.text.find(code), std::string::npos) << t.context << " " << code;
  const talvero::HelpTopic* step = help.Find(1002);
  ASSERT_NE(step, nullptr);
  EXPECT_NE(step->text.find("Shown as: Move to <Position> <units> at <Speed> <units>/sec"), std::string::npos);
}

// Each parameter's topic carries its note and says in words how the value shows,
// never the display picture itself.
TEST(CatalogueTopics, EveryParameterTopicCarriesItsNoteAndNoPicture) {
  const HelpFile help = BuiltHelp();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((Bin() + "/KOVdata.KOV").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db,
                               "SELECT p.id, p.Format, n.description FROM Parameters p "
                               "LEFT JOIN ParameterNotes n ON n.Name = p.Name",
                               -1, &st, nullptr),
            SQLITE_OK);
  int rows = 0;
  while (sqlite3_step(st) == SQLITE_ROW) {
    ++rows;
    const int context = 1200 + sqlite3_column_int(st, 0);
    const std::string format = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    const auto* note = sqlite3_column_text(st, 2);
    const talvero::HelpTopic* topic = help.Find(context);
    ASSERT_NE(topic, nullptr) << context;
    ASSERT_NE(note, nullptr) << context << " has no note in the catalogue";
    EXPECT_NE(topic->text.find(reinterpret_cast<const char*>(note)), std::string::npos) << topic->text;
    EXPECT_NE(topic->text.find("Shown as: " + talvero::ShownAs(format) + "\n"), std::string::npos) << topic->text;
    if (format[0] == '#') {
      EXPECT_EQ(topic->text.find(format), std::string::npos) << topic->text;
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  EXPECT_GT(rows, 50);
}

TEST(CatalogueTopics, ValuesAreShownAsWords) {
  const std::pair<const char*, const char*> cases[] = {
      {"###0.0", "a number with 1 decimal place"},
      {"#0.000", "a number with 3 decimal places"},
      {"##0.########", "a number with up to 8 decimal places"},
      {"#0.0##", "a number with 1 to 3 decimal places"},
      {"#####0", "a whole number"},
      {"#.", "a whole number"},
      {"3", "one of a list (command mode)"},
      {"13", "one of a list (hold current ratio)"},
      {"7", "one of a list"},
  };
  for (const auto& [format, words] : cases) EXPECT_EQ(talvero::ShownAs(format), words) << format;
}

// An older catalogue without notes still gets its topics.
TEST(CatalogueTopics, ACatalogueWithoutNotesStillHasItsTopics) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE Steps (id, Typ, des, GUI, Prototype, P1, P2);"
                         "CREATE TABLE Threads (id, des, GUI, Prototype, P1, P2);"
                         "CREATE TABLE Parameters (id, DT, Type, Name, fullname, Format, units, rw);"
                         "INSERT INTO Parameters VALUES (7, 'TU', 'RHO PSI', 'KP', 'Position Gain', '#0.000', NULL, NULL);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::ostringstream out;
  EXPECT_TRUE(talvero::WriteCatalogueTopics(db, out));
  sqlite3_close(db);
  const HelpFile help = HelpFile::Parse(out.str());
  ASSERT_NE(help.Find(1207), nullptr);
  EXPECT_EQ(help.Find(1207)->text,
            "Position Gain (KP).\n\nGroup: Tuning: the gains of the control loops.\nUnits: none\n"
            "Shown as: a number with 3 decimal places\nRead-only: no\nDrives: KV110c, KS130i/d");
}

TEST(HelpWindowTitles, NameTheHelpOnceThenTheTopic) {
  const std::pair<const char*, const char*> cases[] = {
      {"Contents", "Talvero Help - Contents"}, {"Talvero Help", "Talvero Help"}, {"", "Talvero Help"}};
  for (const auto& [title, caption] : cases) EXPECT_EQ(talvero::HelpWindowTitle({7001, title, {}, {}}), caption);
  const HelpFile help = BuiltHelp();
  ASSERT_FALSE(help.Topics().empty());
  for (const talvero::HelpTopic& t : help.Topics()) {
    const std::string caption = talvero::HelpWindowTitle(t);
    EXPECT_EQ(caption.find("Talvero Help", 1), std::string::npos) << t.context << ": " << caption;
  }
}

}  // namespace
