// The help file the build writes: every step, parameter and event type of the
// library database has its topic, with the catalogue's own words.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/help/help_file.h"

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

TEST(CatalogueTopics, AParameterTopicTellsUnitsFormatAccessAndFamilies) {
  const HelpFile help = BuiltHelp();
  const talvero::HelpTopic* iner = help.Find(1222);
  ASSERT_NE(iner, nullptr);
  EXPECT_EQ(iner->title, "INER - Total Inertia");
  EXPECT_EQ(iner->keywords, (std::vector<std::string>{"INER", "Total Inertia"}));
  for (const char* line : {"Units: kg-m\xC2\xB2", "Format: ##0.########", "Read-only: no", "Drive families: RHO TAU PHI"})
    EXPECT_NE(iner->text.find(line), std::string::npos) << line << "\n" << iner->text;
  const talvero::HelpTopic* step = help.Find(1002);
  ASSERT_NE(step, nullptr);
  EXPECT_NE(step->text.find("Shown as: Move to <Position> <units> at <Speed> <units>/sec"), std::string::npos);
}

}  // namespace
