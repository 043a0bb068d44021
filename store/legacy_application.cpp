#include "store/legacy_application.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <memory>

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/files/file_reason.h"
#include "platform/files/replacing_file.h"
#include "platform/files/whole_file.h"
#include "platform/jet/jet_file.h"
#include "runtime/text.h"
#include "store/application_tables.h"

namespace talvero::store {

using dao::Result;
using dao::Status;

namespace {

bool SameName(std::string_view a, std::string_view b) { return rt::SameText(rt::Trim(a), rt::Trim(b)); }

std::string Listed(const std::vector<std::string>& names) {
  std::string out;
  for (size_t i = 0; i < names.size() && i < 8; ++i) out += (i ? ", " : "") + names[i];
  if (names.size() > 8) out += ", …";
  return out;
}

// Walks a list table (Axis or Programs): each row's name, once, with its own
// table, up to max entries. What is left out is said in `skipped`.
template <class Entry, class Fill>
void ReadList(jet::File& f, const char* listName, const jet::Table& list, size_t max, const char* kind, const char* one,
              std::string (*tableOf)(std::string_view), std::vector<Entry>& out, std::vector<std::string>& skipped,
              Fill fill) {
  std::vector<std::string> seen, beyond;
  for (const auto& row : list.rows) {
    const std::string& name = row[0];
    if (rt::Trim(name).empty()) {
      skipped.push_back("A row of the table " + std::string(listName) + " without a name is not converted.");
      continue;
    }
    const bool twice = std::any_of(seen.begin(), seen.end(), [&](const std::string& s) { return SameName(s, name); });
    seen.push_back(name);
    if (twice) {
      skipped.push_back("It holds two " + std::string(kind) + " named " + rt::Trim(name) +
                        "; the second is not converted.");
      continue;
    }
    if (out.size() == max) {
      beyond.push_back(rt::Trim(name));
      continue;
    }
    const std::string table = tableOf(name);
    if (Status s = dao::CheckName(table); !s) {
      skipped.push_back("The " + std::string(one) + " " + name + " is not converted: its name can't be stored (" +
                        s.error + ").");
      continue;
    }
    if (f.FindTable(table).empty()) {
      skipped.push_back("The " + std::string(one) + " " + name + " is not converted: its table " + table +
                        " is missing.");
      continue;
    }
    Entry e;
    if (std::string why = fill(row, table, e); !why.empty()) {
      skipped.push_back("The " + std::string(one) + " " + name + " is not converted: " + why + ".");
      continue;
    }
    out.push_back(std::move(e));
  }
  if (!beyond.empty())
    skipped.push_back("Beyond the " + std::to_string(max) + " " + kind +
                      " an application holds, these are not converted: " + Listed(beyond) + ".");
}

}  // namespace

Result<LegacyApplication> ReadLegacyApplication(const std::string& path) {
  auto f = jet::File::Open(path);
  if (!f) return Result<LegacyApplication>::Fail(f.error);
  return ReadLegacyApplication(**f);
}

Result<LegacyApplication> ReadLegacyApplication(jet::File& f) {
  using R = Result<LegacyApplication>;
  for (const char* list : {"Axis", "Programs"})
    if (f.FindTable(list).empty()) return R::Fail("it is a database but no application (it has no table " + std::string(list) + ")");
  auto axes = f.Read("Axis", {"Name", "AxisType"});
  if (!axes) return R::Fail(axes.error);
  auto programs = f.Read("Programs", {"Name"});
  if (!programs) return R::Fail(programs.error);

  LegacyApplication app;
  ReadList(f, "Axis", *axes, 16, "axes", "axis", AxisTable, app.axes, app.skipped,
           [&](const std::vector<std::string>& row, const std::string& table, LegacyAxis& a) -> std::string {
             auto t = f.Read(table, {"Name", "Value"});
             if (!t) return t.error;
             a.name = row[0];
             a.family = row[1];
             for (auto& r : t->rows) a.params.emplace_back(std::move(r[0]), std::move(r[1]));
             return {};
           });
  ReadList(f, "Programs", *programs, 64, "programs", "program", PgmTable, app.programs, app.skipped,
           [&](const std::vector<std::string>& row, const std::string& table, LegacyProgram& p) -> std::string {
             auto t = f.Read(table, {"Line", "Text"});
             if (!t) return t.error;
             p.name = row[0];
             size_t unnumbered = 0;
             for (auto& r : t->rows) {
               int32_t line = 0;
               const auto [end, ec] = std::from_chars(r[0].data(), r[0].data() + r[0].size(), line);
               if (ec != std::errc() || end != r[0].data() + r[0].size()) {
                 ++unnumbered;
                 continue;
               }
               p.lines.emplace_back(line, std::move(r[1]));
             }
             if (unnumbered)
               app.skipped.push_back("The program " + p.name + " has " + std::to_string(unnumbered) +
                                     " rows without a line number; they are not converted.");
             return {};
           });
  app.rowsRead = f.RowsRead();
  return R::Ok(std::move(app));
}

Status WriteApplication(const LegacyApplication& app, const std::string& path) {
  auto db = dao::Database::Create(path);
  if (!db) return Status::Fail(db.error);
  dao::Database& d = **db;
  // One row: the fields in order, from the recordset's AddNew to its Update.
  auto add = [](dao::Recordset& rs, std::initializer_list<std::pair<const char*, dao::Value>> fields) -> Status {
    if (Status s = rs.AddNew(); !s) return s;
    for (const auto& [name, value] : fields)
      if (Status s = rs.Set(name, value); !s) {
        rs.CancelUpdate();
        return Status::Fail(std::string(name) + ": " + s.error);
      }
    return rs.Update();
  };
  Status s = [&]() -> Status {
    dao::Transaction t(d);
    if (!t.Started()) return t.Started();
    if (Status k = d.CreateTable(AxisListDef()); !k) return k;
    if (Status k = d.CreateTable(ProgramListDef()); !k) return k;
    auto axisList = d.OpenRecordset("Axis");
    if (!axisList) return Status::Fail(axisList.error);
    for (const LegacyAxis& a : app.axes) {
      const auto where = [&](const Status& k) { return Status::Fail("axis " + a.name + ": " + k.error); };
      if (Status k = add(**axisList, {{"Name", dao::Value(a.name)}, {"AxisType", dao::Value(a.family)}}); !k)
        return where(k);
      if (Status k = d.CreateTable(AxisTableDef(a.name)); !k) return where(k);
      auto rs = d.OpenRecordset(AxisTable(a.name));
      if (!rs) return Status::Fail(rs.error);
      for (const auto& [name, value] : a.params)
        if (Status k = add(**rs, {{"Name", dao::Value(name)}, {"Value", dao::Value(value)}}); !k) return where(k);
    }
    auto pgmList = d.OpenRecordset("Programs");
    if (!pgmList) return Status::Fail(pgmList.error);
    for (const LegacyProgram& p : app.programs) {
      const auto where = [&](const Status& k) { return Status::Fail("program " + p.name + ": " + k.error); };
      if (Status k = add(**pgmList, {{"Name", dao::Value(p.name)}}); !k) return where(k);
      if (Status k = d.CreateTable(PgmTableDef(p.name)); !k) return where(k);
      auto rs = d.OpenRecordset(PgmTable(p.name));
      if (!rs) return Status::Fail(rs.error);
      for (const auto& [line, text] : p.lines)
        if (Status k = add(**rs, {{"Line", dao::Value(int64_t(line))}, {"Text", dao::Value(text)}}); !k)
          return where(k);
    }
    return t.Commit();
  }();
  d.Close();
  return s;
}

std::string KeptOriginalName(const std::string& path) {
  struct stat st {};
  std::string kept = path + ".jet";
  for (int n = 2; ::lstat(kept.c_str(), &st) == 0 && n < 1000; ++n) kept = path + "." + std::to_string(n) + ".jet";
  return kept;
}

namespace {

// A private folder for the database while it is built, gone with the object.
struct Scratch {
  std::string dir;
  Scratch() {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/talvero-convert-XXXXXX";
    if (::mkdtemp(name.data())) dir = name;
  }
  ~Scratch() {
    if (dir.empty()) return;
    for (const char* f : {"/app", "/app-journal", "/app-wal", "/app-shm"}) ::unlink((dir + f).c_str());
    ::rmdir(dir.c_str());
  }
};

// The original under its second name: a second link to the same bytes, or,
// where the file system has no links, a copy of them.
Status Keep(const std::string& path, const std::string& kept) {
  if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, kept.c_str(), AT_SYMLINK_FOLLOW) == 0) return Status::Ok();
  const int err = errno;
  if (err == EEXIST) return Status::Fail(kept + " exists already");
  if (err != EPERM && err != EXDEV && err != ENOTSUP && err != EOPNOTSUPP && err != EMLINK)
    return Status::Fail("can't keep the original as " + kept + ": " + FileErrorText(err));
  FileRead original = ReadWholeFile(path, 1, uint64_t(1) << 30);
  if (!original) return Status::Fail("can't read " + path + ": " + original.reason);
  if (auto why = WriteWholeFile(kept, original.bytes)) return Status::Fail("can't keep the original as " + kept + ": " + *why);
  return Status::Ok();
}

}  // namespace

Status ConvertLegacyApplication(const LegacyApplication& app, const std::string& path, const std::string& kept) {
  Scratch scratch;
  if (scratch.dir.empty()) return Status::Fail("no room for a temporary file: " + FileErrorText(errno));
  const std::string built = scratch.dir + "/app";
  if (Status s = WriteApplication(app, built); !s) return s;
  FileRead bytes = ReadWholeFile(built, 1, uint64_t(1) << 31);
  if (!bytes) return Status::Fail(bytes.reason);
  if (Status s = Keep(path, kept); !s) return s;
  ReplacingFile out(path);
  std::optional<std::string> why = out.Open();
  if (!why) why = out.Write(bytes.bytes);
  if (!why) why = out.Commit();
  if (why) {
    ::unlink(kept.c_str());
    return Status::Fail(*why);
  }
  return Status::Ok();
}

}  // namespace talvero::store
