#include "store/library_database.h"

using talvero::dao::Database;
using talvero::dao::Result;

Result<std::unique_ptr<LibraryDatabase>> LibraryDatabase::Open(const std::string& path) {
  using R = Result<std::unique_ptr<LibraryDatabase>>;
  auto db = Database::Open(path, true);
  if (!db) return R::Fail(db.error);
  auto lib = std::make_unique<LibraryDatabase>();
  struct Table {
    const char* name;
    std::unique_ptr<talvero::dao::Recordset>* rs;
  } tables[] = {{"Parameters", &lib->ParametersRS},
                {"Motors", &lib->MotorsRS},
                {"Steps", &lib->StepsRS},
                {"Threads", &lib->ThreadsRS},
                {"IO", &lib->IORS}};
  for (const Table& t : tables) {
    auto rs = (*db)->OpenRecordset(t.name);
    if (!rs) return R::Fail("library " + path + " lacks the table " + t.name + ": " + rs.error);
    // The library never changes while it is open; every step shown or sent
    // looks its type up here.
    if (auto s = (*rs)->TakeSnapshot(); !s) return R::Fail("can't read the table " + std::string(t.name) + " of " + path + ": " + s.error);
    *t.rs = std::move(*rs);
  }
  lib->LibraryDB = std::move(*db);
  return R::Ok(std::move(lib));
}

void LibraryDatabase::Close() {
  ParametersRS.reset();
  MotorsRS.reset();
  StepsRS.reset();
  ThreadsRS.reset();
  IORS.reset();
  if (LibraryDB) LibraryDB->Close();
  LibraryDB.reset();
}
