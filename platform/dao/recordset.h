#pragma once
// A table recordset: a cursor over one table's rows in the order they were
// added, with seek, add, edit, update and delete.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/status.h"
#include "platform/dao/table_def.h"
#include "platform/dao/value.h"

namespace talvero::dao {

class Connection;

class Recordset {
 public:
  Recordset(std::shared_ptr<Connection> conn, TableDef def);
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  const std::string& Table() const { return def_.name; }
  const TableDef& Def() const { return def_; }

  // EOF: past the last row (also on an empty table); BOF: before the first.
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // Whether the last Seek found nothing.
  bool NoMatch() const { return noMatch_; }

  Status MoveFirst();
  Status MoveLast();
  Status MoveNext();
  Status MovePrevious();
  int64_t RecordCount() const;  // -1 when the table can't be read

  // Places the recordset on the first row, in row order, whose field equals
  // value (texts compare exactly, case counts); NoMatch and EOF when none.
  Status Seek(std::string_view field, const Value& value);

  // The current row's field; Null without a current row or for an unknown field.
  Value Field(std::string_view field) const;
  std::string Text(std::string_view field) const { return Field(field).Text(); }
  bool HasCurrent() const { return !eof_ && !bof_ && rowid_ != 0 && !deleted_; }
  int64_t Bookmark() const { return rowid_; }

  // AddNew or Edit, then Set the fields, then Update. A value that does not
  // fit its field (too long a text, a text in a number field) is refused at
  // Set and nothing is cut. After Update of a new row, that row is current.
  Status AddNew();
  Status Edit();
  Status Set(std::string_view field, const Value& value);
  Status Update();
  void CancelUpdate();
  // Deletes the current row; MoveNext then goes on with the row after it.
  Status Delete();

  // Rereads the table's rows and places the recordset on the first.
  Status Requery();
  void Close();

  // Reads every row once; from then on moves, seeks and fields are served
  // from memory and changes are refused. For tables nothing changes while
  // the program runs (the read-only library), where walking them through the
  // file for every lookup would cost a statement per row.
  Status TakeSnapshot();
  bool IsSnapshot() const { return snap_ != nullptr; }

 private:
  enum class Mode { None, Add, Edit };
  Status Place(const char* sqlTail, bool bindRowid, bool forward);
  Status LoadRow();
  int FieldIndex(std::string_view field) const;
  const std::vector<Value>* CurrentRow() const;
  Status SnapPlace(size_t at, bool forward);
  Status SnapSeek(size_t field, const Value& value);

  struct Snapshot {
    std::vector<int64_t> rowids;  // ascending
    std::vector<std::vector<Value>> rows;
  };

  std::shared_ptr<Connection> conn_;
  TableDef def_;
  int64_t rowid_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  bool noMatch_ = false;
  bool deleted_ = false;
  std::vector<Value> row_;
  Mode mode_ = Mode::None;
  std::vector<Value> buffer_;
  std::vector<bool> touched_;
  std::unique_ptr<Snapshot> snap_;
  size_t at_ = 0;  // the current row's index in the snapshot
};

}  // namespace talvero::dao
