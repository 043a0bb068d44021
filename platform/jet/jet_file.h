#pragma once
// Reads the tables of a Jet database (the format applications were kept in
// before) through libmdb. Reading only: nothing here writes such a file.
// Qt-free.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/status.h"

namespace talvero::jet {

enum class Kind { NotJet, Jet3, Jet4, Ace };

// What a file's first bytes say it is.
Kind Recognise(std::string_view firstBytes);
// The same for a file on disk; NotJet for anything that is no regular file or
// can't be read.
Kind RecogniseFile(const std::string& path);

struct Table {
  std::vector<std::string> columns;            // as asked for
  std::vector<std::vector<std::string>> rows;  // in the order the table delivers them; UTF-8
  uint64_t counted = 0;                        // the rows its definition counts
  // Signs that libmdb read less than the table holds: a page map entry that
  // is no data page of this table, libmdb's own warnings. Each row read is
  // whole; rows of a damaged page are left out.
  std::vector<std::string> damage;
  bool Whole() const { return damage.empty() && rows.size() >= counted; }
};

class File {
 public:
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // The reason comes back in words a user reads in a box: cut short, damaged,
  // protected by a password, encrypted, of the later ACE format.
  static dao::Result<std::unique_ptr<File>> Open(const std::string& path);
  static dao::Result<std::unique_ptr<File>> FromBytes(std::string bytes);

  Kind kind() const { return kind_; }
  // The user tables, in the order of the catalogue.
  const std::vector<std::string>& TableNames() const { return tables_; }
  // The file's own spelling of a table name compared case-blind; "" when none.
  std::string FindTable(std::string_view name) const;
  // The named columns (case-blind) of every row; a missing table or column, or
  // a table that can't be read at all, gives the reason. libmdb's warnings
  // are taken from the process's standard error while it reads, so a table is
  // read in a process of one thread (as the reader child is).
  dao::Result<Table> Read(std::string_view table, const std::vector<std::string>& columns);
  uint64_t RowsRead() const { return rowsRead_; }

 private:
  File() = default;
  std::string bytes_;
  void* mdb_ = nullptr;  // MdbHandle
  Kind kind_ = Kind::NotJet;
  std::vector<std::string> tables_;
  uint64_t rowsRead_ = 0;
};

}  // namespace talvero::jet
