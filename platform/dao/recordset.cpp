#include "platform/dao/recordset.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/dao/connection.h"
#include "platform/dao/database.h"

namespace talvero::dao {

Recordset::Recordset(std::shared_ptr<Connection> conn, TableDef def) : conn_(std::move(conn)), def_(std::move(def)) {}

Recordset::~Recordset() = default;

void Recordset::Close() {
  conn_.reset();
  snap_.reset();
  rowid_ = 0;
  eof_ = bof_ = true;
  row_.clear();
  mode_ = Mode::None;
}

static Status Closed() { return Status::Fail("recordset is closed"); }

int Recordset::FieldIndex(std::string_view field) const {
  for (size_t i = 0; i < def_.fields.size(); ++i)
    if (SameName(def_.fields[i].name, field)) return int(i);
  return -1;
}

Status Recordset::LoadRow() {
  deleted_ = false;
  std::string sql = "SELECT ";
  for (size_t i = 0; i < def_.fields.size(); ++i) sql += (i ? ", " : "") + Quote(def_.fields[i].name);
  sql += " FROM " + Quote(def_.name) + " WHERE rowid=?";
  Stmt st = conn_->Prepare(sql);
  if (!st) return Status::Fail(conn_->LastError());
  st.BindLong(1, rowid_);
  int rc = st.Step();
  row_.assign(def_.fields.size(), Value());
  if (rc == SQLITE_ROW) {
    for (size_t i = 0; i < def_.fields.size(); ++i) row_[i] = st.Column(int(i));
    return Status::Ok();
  }
  if (rc == SQLITE_DONE) return Status::Fail("the current row is gone");
  return Status::Fail(conn_->LastError());
}

// Moves to the row the query finds; when there is none the recordset stands
// past the end in the direction of the move.
Status Recordset::Place(const char* tail, bool bindRowid, bool forward) {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  mode_ = Mode::None;
  Stmt st = conn_->Prepare("SELECT rowid FROM " + Quote(def_.name) + " " + tail);
  int rc = SQLITE_ERROR;
  if (st) {
    if (bindRowid) st.BindLong(1, rowid_);
    rc = st.Step();
  }
  Status failed = Status::Ok();
  if (rc == SQLITE_ROW) {
    const int64_t next = st.ColumnLong(0);
    // A damaged file can hand back a row that is not past the current one;
    // taking it would walk in circles for ever.
    if (!bindRowid || (forward ? next > rowid_ : next < rowid_)) {
      rowid_ = next;
      eof_ = bof_ = false;
      return LoadRow();
    }
    failed = Status::Fail("the table " + def_.name + " is damaged: its rows are out of order");
  } else if (rc != SQLITE_DONE) {
    failed = Status::Fail(conn_->LastError());
  }
  // A move that fails also ends the walk, so a loop that only watches Eof or
  // Bof stops instead of spinning on the same row.
  row_.clear();
  deleted_ = false;
  if (forward) {
    eof_ = true;
    if (!bindRowid) bof_ = true;  // an empty table
  } else {
    bof_ = true;
    if (!bindRowid) eof_ = true;
  }
  if (!bindRowid) rowid_ = 0;
  return failed;
}

// The snapshot's row at, or past its end in the direction of the move.
Status Recordset::SnapPlace(size_t at, bool forward) {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  mode_ = Mode::None;
  deleted_ = false;
  if (at < snap_->rowids.size()) {
    at_ = at;
    rowid_ = snap_->rowids[at];
    eof_ = bof_ = false;
    return Status::Ok();
  }
  const bool empty = snap_->rowids.empty();
  (forward ? eof_ : bof_) = true;
  if (empty) eof_ = bof_ = true;
  if (empty) rowid_ = 0;
  return Status::Ok();
}

Status Recordset::MoveFirst() {
  if (snap_) return SnapPlace(0, true);
  return Place("ORDER BY rowid LIMIT 1", false, true);
}

Status Recordset::MoveLast() {
  if (snap_) return SnapPlace(snap_->rowids.empty() ? 0 : snap_->rowids.size() - 1, false);
  return Place("ORDER BY rowid DESC LIMIT 1", false, false);
}

Status Recordset::MoveNext() {
  if (eof_) return Status::Fail("no current record");
  if (bof_) return MoveFirst();
  if (snap_) return SnapPlace(at_ + 1, true);
  return Place("WHERE rowid>? ORDER BY rowid LIMIT 1", true, true);
}

Status Recordset::MovePrevious() {
  if (bof_) return Status::Fail("no current record");
  if (eof_) return MoveLast();
  if (snap_) return at_ == 0 ? SnapPlace(snap_->rowids.size(), false) : SnapPlace(at_ - 1, false);
  return Place("WHERE rowid<? ORDER BY rowid DESC LIMIT 1", true, false);
}

Status Recordset::TakeSnapshot() {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  std::string sql = "SELECT rowid";
  for (const FieldDef& f : def_.fields) sql += ", " + Quote(f.name);
  sql += " FROM " + Quote(def_.name) + " ORDER BY rowid";
  Stmt st = conn_->Prepare(sql);
  if (!st) return Status::Fail(conn_->LastError());
  auto snap = std::make_unique<Snapshot>();
  int rc;
  while ((rc = st.Step()) == SQLITE_ROW) {
    snap->rowids.push_back(st.ColumnLong(0));
    std::vector<Value>& row = snap->rows.emplace_back(def_.fields.size());
    for (size_t i = 0; i < def_.fields.size(); ++i) row[i] = st.Column(int(i + 1));
  }
  if (rc != SQLITE_DONE) return Status::Fail(conn_->LastError());
  snap_ = std::move(snap);
  row_.clear();
  return MoveFirst();
}

Status Recordset::Requery() { return snap_ ? TakeSnapshot() : MoveFirst(); }

int64_t Recordset::RecordCount() const {
  if (!conn_ || !conn_->IsOpen()) return -1;
  if (snap_) return int64_t(snap_->rowids.size());
  Stmt st = conn_->Prepare("SELECT count(*) FROM " + Quote(def_.name));
  if (!st || st.Step() != SQLITE_ROW) return -1;
  return st.ColumnLong(0);
}

Status Recordset::Seek(std::string_view field, const Value& value) {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  int i = FieldIndex(field);
  if (i < 0) return Status::Fail("no such field: " + std::string(field));
  if (snap_) return SnapSeek(size_t(i), value);
  mode_ = Mode::None;
  std::string sql = "SELECT rowid FROM " + Quote(def_.name) + " WHERE " + Quote(def_.fields[size_t(i)].name) +
                    (value.IsNull() ? " IS NULL" : "=?") + " ORDER BY rowid LIMIT 1";
  Stmt st = conn_->Prepare(sql);
  if (!st) return Status::Fail(conn_->LastError());
  if (!value.IsNull()) st.Bind(1, value);
  int rc = st.Step();
  if (rc == SQLITE_ROW) {
    noMatch_ = false;
    rowid_ = st.ColumnLong(0);
    eof_ = bof_ = false;
    return LoadRow();
  }
  if (rc != SQLITE_DONE) return Status::Fail(conn_->LastError());
  noMatch_ = true;
  eof_ = true;
  bof_ = false;
  rowid_ = 0;
  row_.clear();
  return Status::Ok();
}

const std::vector<Value>* Recordset::CurrentRow() const {
  if (!HasCurrent()) return nullptr;
  return snap_ ? &snap_->rows[at_] : &row_;
}

Value Recordset::Field(std::string_view field) const {
  int i = FieldIndex(field);
  const std::vector<Value>* row = CurrentRow();
  if (i < 0 || !row || size_t(i) >= row->size()) return Value();
  return (*row)[size_t(i)];
}

// A text that is a whole number, or a number, all of it.
static std::optional<int64_t> WholeText(const std::string& t) {
  int64_t n = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), n);
  if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  return n;
}

static std::optional<double> NumberText(const std::string& t) {
  char* end = nullptr;
  double d = std::strtod(t.c_str(), &end);
  if (t.empty() || end != t.c_str() + t.size()) return std::nullopt;
  return d;
}

// The value as the file's "=" sees it against a column of the type: a
// number column takes a numeric text as a number, a text column a number as
// its text.
static Value WithAffinity(FieldType type, const Value& v) {
  if (type == FieldType::Text) return v.IsLong() || v.IsDouble() ? Value(v.Text()) : v;
  if (!v.IsText()) return v;
  const std::string& t = std::get<std::string>(v.Raw());
  if (auto n = WholeText(t)) return Value(*n);
  if (auto d = NumberText(t); d && std::isfinite(*d)) return Value(*d);
  return v;
}

static bool Equal(const Value& a, const Value& b) {
  const bool an = a.IsLong() || a.IsDouble(), bn = b.IsLong() || b.IsDouble();
  if (a.IsLong() && b.IsLong()) return a.Long() == b.Long();
  if (an && bn) return a.Double() == b.Double();
  return a.IsText() && b.IsText() && a.Raw() == b.Raw();
}

Status Recordset::SnapSeek(size_t field, const Value& value) {
  mode_ = Mode::None;
  deleted_ = false;
  const Value key = WithAffinity(def_.fields[field].type, value);
  for (size_t k = 0; k < snap_->rows.size(); ++k) {
    const Value& v = snap_->rows[k][field];
    if (value.IsNull() ? v.IsNull() : Equal(v, key)) {
      noMatch_ = false;
      return SnapPlace(k, true);
    }
  }
  noMatch_ = true;
  eof_ = true;
  bof_ = false;
  rowid_ = 0;
  return Status::Ok();
}

static Status Unchangeable(const std::string& table) {
  return Status::Fail("the table " + table + " is read as it stood and can't be changed here");
}

Status Recordset::AddNew() {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  if (snap_) return Unchangeable(def_.name);
  mode_ = Mode::Add;
  buffer_.assign(def_.fields.size(), Value());
  touched_.assign(def_.fields.size(), false);
  return Status::Ok();
}

Status Recordset::Edit() {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  if (snap_) return Unchangeable(def_.name);
  if (!HasCurrent()) return Status::Fail("no current record");
  mode_ = Mode::Edit;
  buffer_ = row_;
  touched_.assign(def_.fields.size(), false);
  return Status::Ok();
}

// The value as the field stores it, or why it can't be stored.
static Result<Value> Fit(const FieldDef& f, const Value& v) {
  using R = Result<Value>;
  if (v.IsNull()) return R::Ok(v);
  switch (f.type) {
    case FieldType::Text: {
      std::string t = v.Text();
      if (f.size > 0 && CharCount(t) > size_t(f.size))
        return R::Fail("value too long for field " + f.name + " (" + std::to_string(f.size) +
                       " characters): " + t);
      return R::Ok(Value(std::move(t)));
    }
    case FieldType::Long: {
      if (v.IsLong()) return R::Ok(v);
      if (v.IsDouble()) {
        double d = v.Double();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.2e18) return R::Ok(Value(int64_t(d)));
        return R::Fail("not a whole number for field " + f.name);
      }
      const std::string& t = std::get<std::string>(v.Raw());
      if (auto n = WholeText(t)) return R::Ok(Value(*n));
      return R::Fail("not a whole number for field " + f.name + ": " + t);
    }
    case FieldType::Double: {
      if (!v.IsText()) return R::Ok(Value(v.Double()));
      const std::string& t = std::get<std::string>(v.Raw());
      if (auto d = NumberText(t)) return R::Ok(Value(*d));
      return R::Fail("not a number for field " + f.name + ": " + t);
    }
  }
  return R::Fail("unknown field type");
}

Status Recordset::Set(std::string_view field, const Value& value) {
  if (mode_ == Mode::None) return Status::Fail("Set without AddNew or Edit");
  int i = FieldIndex(field);
  if (i < 0) return Status::Fail("no such field: " + std::string(field));
  const FieldDef& f = def_.fields[size_t(i)];
  if (f.autoIncrement) return Status::Fail("field " + f.name + " is numbered by the file");
  Result<Value> fit = Fit(f, value);
  if (!fit) return Status::Fail(fit.error);
  buffer_[size_t(i)] = std::move(*fit);
  touched_[size_t(i)] = true;
  return Status::Ok();
}

Status Recordset::Update() {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  if (mode_ == Mode::None) return Status::Fail("Update without AddNew or Edit");
  Mode mode = mode_;
  mode_ = Mode::None;
  std::vector<size_t> cols;
  for (size_t i = 0; i < touched_.size(); ++i)
    if (touched_[i]) cols.push_back(i);
  std::string sql;
  if (mode == Mode::Add) {
    sql = "INSERT INTO " + Quote(def_.name);
    if (cols.empty()) {
      sql += " DEFAULT VALUES";
    } else {
      std::string names, marks;
      for (size_t k = 0; k < cols.size(); ++k) {
        names += (k ? ", " : "") + Quote(def_.fields[cols[k]].name);
        marks += k ? ", ?" : "?";
      }
      sql += " (" + names + ") VALUES (" + marks + ")";
    }
  } else {
    if (cols.empty()) return Status::Ok();
    sql = "UPDATE " + Quote(def_.name) + " SET ";
    for (size_t k = 0; k < cols.size(); ++k) sql += (k ? ", " : "") + Quote(def_.fields[cols[k]].name) + "=?";
    sql += " WHERE rowid=?";
  }
  Stmt st = conn_->Prepare(sql);
  if (!st) return Status::Fail(conn_->LastError());
  for (size_t k = 0; k < cols.size(); ++k) st.Bind(int(k + 1), buffer_[cols[k]]);
  if (mode == Mode::Edit) st.BindLong(int(cols.size() + 1), rowid_);
  if (Status s = conn_->StepWrite(st, sql); !s) return s;
  if (mode == Mode::Add) rowid_ = sqlite3_last_insert_rowid(conn_->Handle());
  eof_ = bof_ = false;
  return LoadRow();
}

void Recordset::CancelUpdate() { mode_ = Mode::None; }

Status Recordset::Delete() {
  if (!conn_ || !conn_->IsOpen()) return Closed();
  if (snap_) return Unchangeable(def_.name);
  if (!HasCurrent()) return Status::Fail("no current record");
  mode_ = Mode::None;
  std::string sql = "DELETE FROM " + Quote(def_.name) + " WHERE rowid=?";
  Stmt st = conn_->Prepare(sql);
  if (!st) return Status::Fail(conn_->LastError());
  st.BindLong(1, rowid_);
  if (Status s = conn_->StepWrite(st, sql); !s) return s;
  // Keep the row's place so MoveNext / MovePrevious go on from it.
  row_.clear();
  deleted_ = true;
  return Status::Ok();
}

}  // namespace talvero::dao
