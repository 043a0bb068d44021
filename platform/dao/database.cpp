#include "platform/dao/database.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/dao/connection.h"
#include "platform/dao/recordset.h"
#include "platform/files/replacing_file.h"
#include "runtime/text.h"

namespace talvero::dao {
namespace {

// SQLite's own structure check: "" when the file is sound, else its first finding.
std::string QuickCheck(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  std::string found;
  if (sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &st, nullptr) != SQLITE_OK) return sqlite3_errmsg(db);
  const int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(st, 0);
    found = text ? reinterpret_cast<const char*>(text) : "";
    if (found == "ok") found.clear();
  } else {
    found = sqlite3_errmsg(db);
  }
  sqlite3_finalize(st);
  return found;
}

}  // namespace

std::string Quote(std::string_view name) {
  std::string q = "\"";
  for (char c : name) {
    if (c == '"') q += '"';
    q += c;
  }
  q += '"';
  return q;
}

// ---- Stmt and Connection ---------------------------------------------------

Stmt::~Stmt() {
  if (s_) {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
}

void Stmt::Bind(int i, const Value& v) {
  const auto& raw = v.Raw();
  switch (raw.index()) {
    case 1:
      sqlite3_bind_int64(s_, i, std::get<int64_t>(raw));
      break;
    case 2:
      sqlite3_bind_double(s_, i, std::get<double>(raw));
      break;
    case 3:
      BindText(i, std::get<std::string>(raw));
      break;
    default:
      sqlite3_bind_null(s_, i);
  }
}

void Stmt::BindText(int i, std::string_view t) {
  sqlite3_bind_text(s_, i, t.data(), int(t.size()), SQLITE_TRANSIENT);
}

void Stmt::BindLong(int i, int64_t v) { sqlite3_bind_int64(s_, i, v); }

int Stmt::Step() {
  int rc = sqlite3_step(s_);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) c_->error_ = sqlite3_errmsg(c_->db_);
  return rc;
}

Value Stmt::Column(int i) const {
  switch (sqlite3_column_type(s_, i)) {
    case SQLITE_INTEGER:
      return Value(int64_t(sqlite3_column_int64(s_, i)));
    case SQLITE_FLOAT:
      return Value(sqlite3_column_double(s_, i));
    case SQLITE_NULL:
      return Value();
    default:
      return Value(ColumnText(i));
  }
}

std::string Stmt::ColumnText(int i) const {
  const unsigned char* t = sqlite3_column_text(s_, i);
  return t ? std::string(reinterpret_cast<const char*>(t), size_t(sqlite3_column_bytes(s_, i))) : std::string();
}

void Connection::Close() {
  for (auto& [sql, st] : cache_) sqlite3_finalize(st);
  cache_.clear();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  depth = 0;
}

Stmt Connection::Prepare(const std::string& sql) {
  if (!db_) {
    error_ = "database is closed";
    return Stmt(nullptr, this);
  }
  auto it = cache_.find(sql);
  if (it != cache_.end()) return Stmt(it->second, this);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
    error_ = sqlite3_errmsg(db_);
    sqlite3_finalize(st);
    return Stmt(nullptr, this);
  }
  cache_.emplace(sql, st);
  return Stmt(st, this);
}

std::string Connection::LastError() const { return error_; }

Status Connection::CheckWrite(std::string_view sql) {
  if (!db_) return Status::Fail("database is closed");
  if (faultHook && faultHook(sql)) return Status::Fail("write failed (fault injected)");
  return Status::Ok();
}

Status Connection::StepWrite(Stmt& st, std::string_view sql) {
  if (Status s = CheckWrite(sql); !s) return s;
  int rc = st.Step();
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) return Status::Fail(error_);
  return Status::Ok();
}

Status Connection::Run(const std::string& sql) {
  if (!db_) return Status::Fail("database is closed");
  char* msg = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
    std::string why = msg ? msg : sqlite3_errmsg(db_);
    sqlite3_free(msg);
    return Status::Fail(why);
  }
  return Status::Ok();
}

static bool Contains(const std::string& upper, const char* what) { return upper.find(what) != std::string::npos; }

Result<TableDef> Connection::ReadTableDef(std::string_view table) {
  Stmt name = Prepare("SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE");
  if (!name) return Result<TableDef>::Fail(error_);
  name.BindText(1, table);
  if (name.Step() != SQLITE_ROW) return Result<TableDef>::Fail("no such table: " + std::string(table));
  TableDef def;
  def.name = name.ColumnText(0);

  Stmt info = Prepare("SELECT name, type, pk FROM pragma_table_info(?)");
  if (!info) return Result<TableDef>::Fail(error_);
  info.BindText(1, def.name);
  int pks = 0;
  while (info.Step() == SQLITE_ROW) {
    FieldDef f;
    f.name = info.ColumnText(0);
    const std::string type = rt::UCase(info.ColumnText(1));
    if (Contains(type, "INT")) {
      f.type = FieldType::Long;
      if (info.ColumnLong(2) > 0 && type == "INTEGER") f.autoIncrement = true;
    } else if (Contains(type, "REAL") || Contains(type, "FLOA") || Contains(type, "DOUB") ||
               Contains(type, "NUM") || Contains(type, "DEC")) {
      f.type = FieldType::Double;
    } else {
      f.type = FieldType::Text;
      size_t open = type.find('(');
      if (open != std::string::npos) f.size = std::atoi(type.c_str() + open + 1);
    }
    if (info.ColumnLong(2) > 0) ++pks;
    def.fields.push_back(std::move(f));
  }
  if (pks != 1)
    for (FieldDef& f : def.fields) f.autoIncrement = false;
  return Result<TableDef>::Ok(std::move(def));
}

// ---- Database --------------------------------------------------------------

Database::Database(std::shared_ptr<Connection> c, std::string path) : conn_(std::move(c)), path_(std::move(path)) {}

Database::~Database() { Close(); }

void Database::Close() {
  if (conn_) conn_->Close();
}

bool Database::IsOpen() const { return conn_ && conn_->IsOpen(); }

bool Database::ReadOnly() const { return IsOpen() && sqlite3_db_readonly(conn_->Handle(), "main") == 1; }

static Result<std::unique_ptr<Database>> FailOpen(sqlite3* db, const std::string& why) {
  if (db) sqlite3_close_v2(db);
  return Result<std::unique_ptr<Database>>::Fail(why);
}

Result<std::unique_ptr<Database>> Database::Create(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return FailOpen(nullptr, "file already exists: " + path);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) return FailOpen(db, "can't create " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, Database::kMaxValueBytes);
  // Write the header now, so the file is a database even with no table yet.
  if (sqlite3_exec(db, "PRAGMA user_version=1", nullptr, nullptr, nullptr) != SQLITE_OK) {
    std::string why = sqlite3_errmsg(db);
    sqlite3_close_v2(db);
    ::unlink(path.c_str());
    return FailOpen(nullptr, "can't create " + path + ": " + why);
  }
  return Result<std::unique_ptr<Database>>::Ok(
      std::unique_ptr<Database>(new Database(std::make_shared<Connection>(db), path)));
}

Result<std::unique_ptr<Database>> Database::Open(const std::string& path, bool readOnly) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return FailOpen(nullptr, "can't open " + path + ": " + std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return FailOpen(nullptr, "can't open " + path + ": not a file");
  if (::access(path.c_str(), R_OK) != 0) return FailOpen(nullptr, "can't read " + path + ": " + std::strerror(errno));
  bool writable = !readOnly && ::access(path.c_str(), W_OK) == 0;
  // SQLite writes its journal beside the file: without one every change fails.
  const std::optional<std::string> folder = writable ? NewFileRefusal(path) : std::nullopt;
  if (folder) writable = false;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK) return FailOpen(db, "can't open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  // No field holds more than a line of text; a damaged file that claims a
  // value of many megabytes is refused instead of read into memory.
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, Database::kMaxValueBytes);
  // The header is only read at the first statement.
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
    return FailOpen(db, "can't open " + path + ": " + sqlite3_errmsg(db));
  // A damaged file can send reads in circles or make them claim megabytes;
  // it is refused whole rather than read in part.
  if (std::string damage = QuickCheck(db); !damage.empty())
    return FailOpen(db, "can't open " + path + ": the file is damaged (" + damage + ")");
  std::unique_ptr<Database> opened(new Database(std::make_shared<Connection>(db), path));
  if (folder) opened->folderRefusal_ = *folder;
  return Result<std::unique_ptr<Database>>::Ok(std::move(opened));
}

std::vector<std::string> Database::TableNames() const {
  std::vector<std::string> names;
  if (!IsOpen()) return names;
  Stmt st = conn_->Prepare(
      "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
  while (st && st.Step() == SQLITE_ROW) names.push_back(st.ColumnText(0));
  return names;
}

bool Database::HasTable(std::string_view name) const { return IsOpen() && conn_->ReadTableDef(name).ok(); }

Result<TableDef> Database::GetTableDef(std::string_view name) const {
  if (!IsOpen()) return Result<TableDef>::Fail("database is closed");
  return conn_->ReadTableDef(name);
}

static std::string ColumnSql(const FieldDef& f) {
  std::string sql = Quote(f.name);
  switch (f.type) {
    case FieldType::Long:
      sql += f.autoIncrement ? " INTEGER PRIMARY KEY AUTOINCREMENT" : " INTEGER";
      break;
    case FieldType::Double:
      sql += " REAL";
      break;
    case FieldType::Text:
      sql += f.size > 0 ? " TEXT(" + std::to_string(f.size) + ")" : " TEXT";
      break;
  }
  return sql;
}

static Status CheckField(const FieldDef& f) {
  if (Status s = CheckName(f.name); !s) return Status::Fail("field: " + s.error);
  if (f.autoIncrement && f.type != FieldType::Long) return Status::Fail("only a Long field counts rows: " + f.name);
  if (f.size < 0 || f.size > 255) return Status::Fail("text size out of range: " + f.name);
  return Status::Ok();
}

Status Database::CreateTable(const TableDef& def) {
  if (Status s = CheckName(def.name); !s) return Status::Fail("table: " + s.error);
  if (def.fields.empty()) return Status::Fail("table without fields: " + def.name);
  int counters = 0;
  std::string sql = "CREATE TABLE " + Quote(def.name) + " (";
  for (size_t i = 0; i < def.fields.size(); ++i) {
    const FieldDef& f = def.fields[i];
    if (Status s = CheckField(f); !s) return s;
    for (size_t j = 0; j < i; ++j)
      if (SameName(def.fields[j].name, f.name)) return Status::Fail("field named twice: " + f.name);
    counters += f.autoIncrement;
    if (i) sql += ", ";
    sql += ColumnSql(f);
  }
  if (counters > 1) return Status::Fail("more than one counter field in " + def.name);
  sql += ")";
  if (Status s = conn_->CheckWrite(sql); !s) return s;
  return conn_->Run(sql);
}

Status Database::DeleteTable(std::string_view name) {
  if (!HasTable(name)) return Status::Fail("no such table: " + std::string(name));
  std::string sql = "DROP TABLE " + Quote(name);
  if (Status s = conn_->CheckWrite(sql); !s) return s;
  return conn_->Run(sql);
}

Status Database::RenameTable(std::string_view from, std::string_view to) {
  if (Status s = CheckName(to); !s) return Status::Fail("table: " + s.error);
  if (!HasTable(from)) return Status::Fail("no such table: " + std::string(from));
  if (from == to) return Status::Ok();
  if (!SameName(from, to)) {
    std::string sql = "ALTER TABLE " + Quote(from) + " RENAME TO " + Quote(to);
    if (Status s = conn_->CheckWrite(sql); !s) return s;
    return conn_->Run(sql);
  }
  // The file treats names case-blind, so a change of case alone goes through
  // a name nobody uses.
  std::string temp = std::string(to) + "~rename";
  while (HasTable(temp)) temp += "~";
  Transaction t(*this);
  if (!t.Started()) return t.Started();
  for (auto [a, b] : {std::pair<std::string_view, std::string_view>{from, temp}, {temp, to}}) {
    std::string sql = "ALTER TABLE " + Quote(a) + " RENAME TO " + Quote(b);
    if (Status s = conn_->CheckWrite(sql); !s) return s;
    if (Status s = conn_->Run(sql); !s) return s;
  }
  return t.Commit();
}

Status Database::AddField(std::string_view table, const FieldDef& field) {
  if (Status s = CheckField(field); !s) return s;
  if (field.autoIncrement) return Status::Fail("a counter field can't be added to a table: " + field.name);
  Result<TableDef> def = GetTableDef(table);
  if (!def) return Status::Fail(def.error);
  if (def->Find(field.name)) return Status::Fail("field exists already: " + field.name);
  std::string sql = "ALTER TABLE " + Quote(def->name) + " ADD COLUMN " + ColumnSql(field);
  if (Status s = conn_->CheckWrite(sql); !s) return s;
  return conn_->Run(sql);
}

Status Database::DeleteField(std::string_view table, std::string_view field) {
  Result<TableDef> def = GetTableDef(table);
  if (!def) return Status::Fail(def.error);
  if (!def->Find(field)) return Status::Fail("no such field: " + std::string(field));
  std::string sql = "ALTER TABLE " + Quote(def->name) + " DROP COLUMN " + Quote(field);
  if (Status s = conn_->CheckWrite(sql); !s) return s;
  return conn_->Run(sql);
}

Status Database::RenameField(std::string_view table, std::string_view from, std::string_view to) {
  if (Status s = CheckName(to); !s) return Status::Fail("field: " + s.error);
  Result<TableDef> def = GetTableDef(table);
  if (!def) return Status::Fail(def.error);
  if (!def->Find(from)) return Status::Fail("no such field: " + std::string(from));
  if (from == to) return Status::Ok();
  if (!SameName(from, to) && def->Find(to)) return Status::Fail("field exists already: " + std::string(to));
  std::vector<std::pair<std::string, std::string>> steps;
  if (SameName(from, to)) {
    std::string temp = std::string(to) + "~rename";
    while (def->Find(temp)) temp += "~";
    steps = {{std::string(from), temp}, {temp, std::string(to)}};
  } else {
    steps = {{std::string(from), std::string(to)}};
  }
  Transaction t(*this);
  if (!t.Started()) return t.Started();
  for (auto& [a, b] : steps) {
    std::string sql = "ALTER TABLE " + Quote(def->name) + " RENAME COLUMN " + Quote(a) + " TO " + Quote(b);
    if (Status s = conn_->CheckWrite(sql); !s) return s;
    if (Status s = conn_->Run(sql); !s) return s;
  }
  return t.Commit();
}

Result<std::unique_ptr<Recordset>> Database::OpenRecordset(std::string_view table) {
  using R = Result<std::unique_ptr<Recordset>>;
  Result<TableDef> def = GetTableDef(table);
  if (!def) return R::Fail(def.error);
  auto rs = std::make_unique<Recordset>(conn_, std::move(*def));
  if (Status s = rs->MoveFirst(); !s) return R::Fail(s.error);
  return R::Ok(std::move(rs));
}

Status Database::Begin() {
  if (!IsOpen()) return Status::Fail("database is closed");
  Status s = conn_->Run("SAVEPOINT t" + std::to_string(conn_->depth));
  if (s) ++conn_->depth;
  return s;
}

Status Database::Commit() {
  if (!IsOpen()) return Status::Fail("database is closed");
  if (conn_->depth == 0) return Status::Fail("no transaction to commit");
  Status s = conn_->Run("RELEASE t" + std::to_string(conn_->depth - 1));
  if (s) --conn_->depth;
  return s;
}

Status Database::Rollback() {
  if (!IsOpen()) return Status::Fail("database is closed");
  if (conn_->depth == 0) return Status::Fail("no transaction to roll back");
  std::string name = "t" + std::to_string(conn_->depth - 1);
  Status s = conn_->Run("ROLLBACK TO " + name);
  Status r = conn_->Run("RELEASE " + name);
  --conn_->depth;
  return s ? r : s;
}

int Database::TransactionDepth() const { return conn_ ? conn_->depth : 0; }

Status Database::Execute(std::string_view sql) {
  if (Status s = conn_->CheckWrite(sql); !s) return s;
  return conn_->Run(std::string(sql));
}

void Database::SetFaultHook(std::function<bool(std::string_view sql)> hook) {
  if (conn_) conn_->faultHook = std::move(hook);
}

}  // namespace talvero::dao
