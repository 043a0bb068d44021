#pragma once
// A database file: table definitions, recordsets and transactions over SQLite.
// Table and field names are always quoted, so names such as "AXIS:X1" work.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/status.h"
#include "platform/dao/table_def.h"
#include "platform/dao/value.h"

namespace talvero::dao {

class Connection;
class Recordset;

class Database {
 public:
  // The longest text or blob a value may hold when read or written.
  static constexpr int kMaxValueBytes = 1 << 20;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // A new, empty file; refused when the path exists already.
  static Result<std::unique_ptr<Database>> Create(const std::string& path);
  // An existing file. A file that is write-protected, or in a folder that
  // takes no new file (so no journal either), opens read-only even when
  // readOnly is false (ReadOnly() tells). A missing or unreadable file, or one
  // that is not a database, gives the reason.
  static Result<std::unique_ptr<Database>> Open(const std::string& path, bool readOnly = false);

  const std::string& Path() const { return path_; }
  bool ReadOnly() const;
  // Why a file asked for writing opened read-only because of its folder
  // ("the folder F does not allow new files"); "" otherwise.
  const std::string& FolderRefusal() const { return folderRefusal_; }
  void Close();  // recordsets still open fail from here on
  bool IsOpen() const;

  // Table definitions.
  std::vector<std::string> TableNames() const;  // in order of creation
  bool HasTable(std::string_view name) const;   // case-blind
  Result<TableDef> GetTableDef(std::string_view name) const;
  Status CreateTable(const TableDef& def);
  Status DeleteTable(std::string_view name);
  // Also a change of letter case only.
  Status RenameTable(std::string_view from, std::string_view to);
  Status AddField(std::string_view table, const FieldDef& field);
  Status DeleteField(std::string_view table, std::string_view field);
  Status RenameField(std::string_view table, std::string_view from, std::string_view to);

  // A table recordset, placed on the first row (rows in the order they were added).
  Result<std::unique_ptr<Recordset>> OpenRecordset(std::string_view table);

  // Transactions nest; an inner Rollback undoes only its own part.
  Status Begin();
  Status Commit();
  Status Rollback();
  int TransactionDepth() const;

  // Runs SQL text as it stands (fixtures, bulk loads).
  Status Execute(std::string_view sql);

  // Test hook: called before every statement that changes the file; a true
  // answer makes that statement fail as a write error would.
  void SetFaultHook(std::function<bool(std::string_view sql)> hook);

 private:
  explicit Database(std::shared_ptr<Connection> c, std::string path);
  std::shared_ptr<Connection> conn_;
  std::string path_;
  std::string folderRefusal_;
};

// Begins on construction, rolls back on destruction unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db), status_(db.Begin()), active_(status_.ok()) {}
  ~Transaction() {
    if (active_) db_.Rollback();
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // Why the begin failed, if it did.
  const Status& Started() const { return status_; }
  Status Commit() {
    if (!active_) return Status::Fail(status_.ok() ? "transaction already ended" : status_.error);
    active_ = false;
    Status s = db_.Commit();
    if (!s.ok()) db_.Rollback();
    return s;
  }
  void Rollback() {
    if (active_) db_.Rollback();
    active_ = false;
  }

 private:
  Database& db_;
  Status status_;
  bool active_;
};

// "name" with inner quotes doubled.
std::string Quote(std::string_view name);

}  // namespace talvero::dao
