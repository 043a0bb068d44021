#pragma once
// The open SQLite handle shared by a database and its recordsets, with a
// cache of prepared statements. Internal to the dao layer.
#include <sqlite3.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/dao/status.h"
#include "platform/dao/table_def.h"
#include "platform/dao/value.h"

namespace talvero::dao {

class Connection;

// A prepared statement borrowed from the cache; reset when it goes.
class Stmt {
 public:
  Stmt(sqlite3_stmt* s, Connection* c) : s_(s), c_(c) {}
  ~Stmt();
  Stmt(Stmt&& o) noexcept : s_(o.s_), c_(o.c_) { o.s_ = nullptr; }
  Stmt(const Stmt&) = delete;

  explicit operator bool() const { return s_ != nullptr; }
  void Bind(int i, const Value& v);
  void BindText(int i, std::string_view t);
  void BindLong(int i, int64_t v);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  Value Column(int i) const;
  int64_t ColumnLong(int i) const { return sqlite3_column_int64(s_, i); }
  std::string ColumnText(int i) const;

 private:
  sqlite3_stmt* s_;
  Connection* c_;
};

class Connection {
 public:
  explicit Connection(sqlite3* db) : db_(db) {}
  ~Connection() { Close(); }

  sqlite3* Handle() const { return db_; }
  bool IsOpen() const { return db_ != nullptr; }
  void Close();

  // A statement for the SQL text, or an invalid one with LastError set.
  Stmt Prepare(const std::string& sql);
  std::string LastError() const;
  // Runs one statement that returns no rows.
  Status Run(const std::string& sql);
  // Asks the fault hook about a change before it is made.
  Status CheckWrite(std::string_view sql);
  Status StepWrite(Stmt& st, std::string_view sql);

  Result<TableDef> ReadTableDef(std::string_view table);

  std::function<bool(std::string_view)> faultHook;
  int depth = 0;

 private:
  sqlite3* db_;
  std::map<std::string, sqlite3_stmt*, std::less<>> cache_;
  std::string error_;
  friend class Stmt;
};

}  // namespace talvero::dao
