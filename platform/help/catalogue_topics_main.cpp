// Writes the help file the program reads: the hand-written topics followed by
// the library database's topics.
//
//   talvero_help_topics KOVdata.KOV talvero.help out.help
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/help/catalogue_topics.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s KOVdata.KOV talvero.help out.help\n", argv[0]);
    return 2;
  }
  std::ifstream base(argv[2], std::ios::binary);
  if (!base) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  std::ostringstream out;
  out << base.rdbuf();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    sqlite3_close(db);
    return 1;
  }
  const bool ok = talvero::WriteCatalogueTopics(db, out);
  sqlite3_close(db);
  if (!ok) {
    std::fprintf(stderr, "the library database %s lacks a table or a field\n", argv[1]);
    return 1;
  }
  std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
  file << out.str();
  return file.good() ? 0 : 1;
}
