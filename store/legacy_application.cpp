#include "store/legacy_application.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/files/file_reason.h"
#include "platform/files/replacing_file.h"
#include "platform/files/whole_file.h"
#include "platform/jet/jet_file.h"
#include "platform/dao/value.h"
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

// A value named in a sentence: its first few characters.
std::string Cut(std::string_view text) {
  constexpr size_t kShown = 12;
  if (dao::CharCount(text) <= kShown) return std::string(text);
  size_t bytes = 0;
  for (size_t chars = 0; bytes < text.size() && chars < kShown; ++chars) {
    ++bytes;
    while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) ++bytes;
  }
  return std::string(text.substr(0, bytes)) + "…";
}

int FieldSize(const dao::TableDef& def, const char* field) { return def.Find(field)->size; }

// "is too long (40 characters, at most 32)", or "" when text fits the field.
std::string TooLong(std::string_view text, int size) {
  const size_t n = dao::CharCount(text);
  if (n <= size_t(size)) return "";
  return "is too long (" + std::to_string(n) + " characters, at most " + std::to_string(size) + ")";
}

std::string RowsRead(const jet::Table& t) {
  return std::to_string(t.rows.size()) + " of " + std::to_string(t.counted) + (t.counted == 1 ? " row" : " rows") +
         " read";
}

// A table libmdb read short: with every row lost, why it is left out ("is
// damaged (0 of 3 rows read)"); else its name and count join the damaged ones
// and the rows read go on.
std::string Shortfall(const std::string& name, const jet::Table& t, std::vector<std::string>& damaged) {
  if (t.Whole()) return "";
  if (t.rows.empty() && t.counted > 0) return "is damaged (" + RowsRead(t) + ")";
  damaged.push_back(name + " (" + RowsRead(t) + ")");
  return "";
}

// Walks a list table (Axis or Programs): each row's name, once, with its own
// table, up to max entries. What is left out is said in `skipped`.
template <class Entry, class Fill>
void ReadList(jet::File& f, const char* listName, const jet::Table& list, size_t max, const char* kind, const char* one,
              std::string (*tableOf)(std::string_view), std::vector<Entry>& out, std::vector<std::string>& skipped,
              Fill fill) {
  std::vector<std::string> seen, beyond;
  const int nameSize = FieldSize(std::string_view(listName) == "Axis" ? AxisListDef() : ProgramListDef(), "Name");
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
    if (std::string why = TooLong(name, nameSize); !why.empty()) {
      skipped.push_back("The " + std::string(one) + " " + Cut(name) + " is not converted: its name " + why + ".");
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

namespace {

// The child's answer on the pipe: length-prefixed fields, read back with
// every length checked.
void Field(std::string& out, std::string_view s) {
  out += std::to_string(s.size());
  out += ':';
  out += s;
}

struct Fields {
  std::string_view in;
  bool ok = true;
  std::string Next() {
    const size_t colon = in.find(':');
    size_t n = 0;
    const auto [end, ec] = std::from_chars(in.data(), in.data() + (colon == std::string_view::npos ? 0 : colon), n);
    if (!ok || colon == std::string_view::npos || ec != std::errc() || end != in.data() + colon ||
        n > in.size() - colon - 1) {
      ok = false;
      return {};
    }
    std::string s(in.substr(colon + 1, n));
    in.remove_prefix(colon + 1 + n);
    return s;
  }
  uint64_t Number() {
    const std::string s = Next();
    uint64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    ok = ok && ec == std::errc() && end == s.data() + s.size() && !s.empty();
    return v;
  }
};

std::string Encode(const Result<LegacyApplication>& r) {
  std::string out;
  if (!r) {
    Field(out, "F");
    Field(out, r.error);
    return out;
  }
  Field(out, "A");
  Field(out, std::to_string(r->rowsRead));
  Field(out, std::to_string(r->axes.size()));
  for (const LegacyAxis& a : r->axes) {
    Field(out, a.name);
    Field(out, a.family);
    Field(out, std::to_string(a.params.size()));
    for (const auto& [n, v] : a.params) {
      Field(out, n);
      Field(out, v);
    }
  }
  Field(out, std::to_string(r->programs.size()));
  for (const LegacyProgram& p : r->programs) {
    Field(out, p.name);
    Field(out, std::to_string(p.lines.size()));
    for (const auto& [line, text] : p.lines) {
      Field(out, std::to_string(int64_t(line) + (int64_t(1) << 31)));
      Field(out, text);
    }
  }
  Field(out, std::to_string(r->skipped.size()));
  for (const std::string& line : r->skipped) Field(out, line);
  Field(out, r->damaged);
  return out;
}

std::optional<Result<LegacyApplication>> Decode(std::string_view bytes) {
  Fields f{bytes};
  const std::string kind = f.Next();
  if (kind == "F") {
    std::string why = f.Next();
    if (!f.ok || !f.in.empty()) return std::nullopt;
    return Result<LegacyApplication>::Fail(why);
  }
  if (kind != "A") return std::nullopt;
  LegacyApplication app;
  app.rowsRead = f.Number();
  const auto count = [&] { return f.ok ? f.Number() : 0; };
  for (uint64_t i = 0, n = count(); f.ok && i < n; ++i) {
    LegacyAxis a;
    a.name = f.Next();
    a.family = f.Next();
    for (uint64_t k = 0, m = count(); f.ok && k < m; ++k) {
      std::string name = f.Next();
      a.params.emplace_back(std::move(name), f.Next());
    }
    app.axes.push_back(std::move(a));
  }
  for (uint64_t i = 0, n = count(); f.ok && i < n; ++i) {
    LegacyProgram p;
    p.name = f.Next();
    for (uint64_t k = 0, m = count(); f.ok && k < m; ++k) {
      const int64_t line = int64_t(f.Number()) - (int64_t(1) << 31);
      p.lines.emplace_back(int32_t(line), f.Next());
    }
    app.programs.push_back(std::move(p));
  }
  for (uint64_t i = 0, n = count(); f.ok && i < n; ++i) app.skipped.push_back(f.Next());
  app.damaged = f.Next();
  if (!f.ok || !f.in.empty()) return std::nullopt;
  return Result<LegacyApplication>::Ok(std::move(app));
}

constexpr int kDefaultReadLimit = 10000;
constexpr uint64_t kMaxOriginalBytes = uint64_t(1) << 30;  // the format's own limit
constexpr int kMaxKeptNumber = 999;

std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int readLimitMs = kDefaultReadLimit;
void (*readFault)() = nullptr;

}  // namespace

void SetLegacyReadFault(void (*fault)(), int limitMs) {
  readFault = fault;
  readLimitMs = limitMs > 0 ? limitMs : kDefaultReadLimit;
}

Result<LegacyOriginal> LegacyOriginal::Open(const std::string& path) {
  using R = Result<LegacyOriginal>;
  // The kind first, by name: a device is never opened, a fifo never waited on.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return R::Fail(FileErrorText(errno));
  if (std::string kind = NotAFileText(st.st_mode); !kind.empty()) return R::Fail(kind);
  LegacyOriginal o;
  o.path_ = path;
  o.fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (o.fd_ < 0) return R::Fail(FileErrorText(errno));
  FileRead read = ReadWholeFile(o.fd_, 1, kMaxOriginalBytes);
  if (read.end == FileRead::End::Unreadable) return R::Fail(read.reason);
  if (read.end == FileRead::End::OutOfBounds)
    return R::Fail(read.size ? "it is too large for a database of this kind (" + std::to_string(read.size) + " bytes)"
                             : "it is empty");
  o.bytes_ = std::move(read.bytes);
  o.identity_ = read.identity;
  return R::Ok(std::move(o));
}

LegacyOriginal::LegacyOriginal(LegacyOriginal&& o) noexcept
    : path_(std::move(o.path_)), bytes_(std::move(o.bytes_)), identity_(o.identity_), fd_(std::exchange(o.fd_, -1)) {}

LegacyOriginal& LegacyOriginal::operator=(LegacyOriginal&& o) noexcept {
  if (this != &o) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(o.path_);
    bytes_ = std::move(o.bytes_);
    identity_ = o.identity_;
    fd_ = std::exchange(o.fd_, -1);
  }
  return *this;
}

LegacyOriginal::~LegacyOriginal() {
  if (fd_ >= 0) ::close(fd_);
}

Result<LegacyApplication> ReadLegacyApplication(const std::string& path) {
  auto original = LegacyOriginal::Open(path);
  if (!original) return Result<LegacyApplication>::Fail(original.error);
  return ReadLegacyApplication(*original);
}

// libmdb trusts the pages it is given: a damaged file can make it read
// through a null pointer. So the file is read in a child process, and a
// child that dies or does not finish in time means a damaged file.
Result<LegacyApplication> ReadLegacyApplication(const LegacyOriginal& original) {
  using R = Result<LegacyApplication>;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return R::Fail("can't start reading it: " + FileErrorText(errno));
  const pid_t pid = ::fork();
  if (pid < 0) {
    const int err = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    return R::Fail("can't start reading it: " + FileErrorText(err));
  }
  if (pid == 0) {
    ::close(fds[0]);
    if (readFault) readFault();
    auto f = jet::File::FromBytes(original.Bytes());
    const std::string out = Encode(f ? ReadLegacyApplication(**f) : R::Fail(f.error));
    for (size_t at = 0; at < out.size();) {
      const ssize_t n = ::write(fds[1], out.data() + at, out.size() - at);
      if (n <= 0 && errno != EINTR) ::_exit(3);
      if (n > 0) at += size_t(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string got;
  bool late = false;
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (spent.count() >= readLimitMs) {
      late = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int r = ::poll(&p, 1, int(readLimitMs - spent.count()));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) continue;
    char buf[65536];
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got.append(buf, size_t(n));
  }
  ::close(fds[0]);
  if (late) ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (late) return R::Fail("it is damaged (reading it did not end within " + std::to_string(readLimitMs / 1000) + " s)");
  if (WIFSIGNALED(status))
    return R::Fail("it is damaged (reading it failed with signal " + std::to_string(WTERMSIG(status)) + ")");
  auto decoded = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Decode(got) : std::nullopt;
  if (!decoded) return R::Fail("it is damaged (reading it failed)");
  return std::move(*decoded);
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
  std::vector<std::string> damaged;
  for (const auto& [name, list] : {std::pair<const char*, jet::Table*>{"Axis", &*axes}, {"Programs", &*programs}})
    if (std::string why = Shortfall(name, *list, damaged); !why.empty())
      app.skipped.push_back("The table " + std::string(name) + " is left out: it " + why + ".");
  const int familySize = FieldSize(AxisListDef(), "AxisType");
  const dao::TableDef axisDef = AxisTableDef("");
  const int paramSize = FieldSize(axisDef, "Name"), valueSize = FieldSize(axisDef, "Value");
  const int textSize = FieldSize(PgmTableDef(""), "Text");
  ReadList(f, "Axis", *axes, 16, "axes", "axis", AxisTable, app.axes, app.skipped,
           [&](const std::vector<std::string>& row, const std::string& table, LegacyAxis& a) -> std::string {
             if (std::string why = TooLong(row[1], familySize); !why.empty())
               return "its family " + Cut(row[1]) + " " + why;
             auto t = f.Read(table, {"Name", "Value"});
             if (!t) return t.error;
             if (std::string why = Shortfall(table, *t, damaged); !why.empty()) return "its table " + table + " " + why;
             a.name = row[0];
             a.family = row[1];
             for (auto& r : t->rows) {
               std::string why = TooLong(r[0], paramSize);
               if (!why.empty()) why = "its name " + why;
               else if (why = TooLong(r[1], valueSize); !why.empty()) why = "its value " + why + ": " + Cut(r[1]);
               if (!why.empty()) {
                 app.skipped.push_back("The parameter " + Cut(r[0]) + " of the axis " + a.name + " is not converted: " +
                                       why + ".");
                 continue;
               }
               a.params.emplace_back(std::move(r[0]), std::move(r[1]));
             }
             return {};
           });
  ReadList(f, "Programs", *programs, 64, "programs", "program", PgmTable, app.programs, app.skipped,
           [&](const std::vector<std::string>& row, const std::string& table, LegacyProgram& p) -> std::string {
             auto t = f.Read(table, {"Line", "Text"});
             if (!t) return t.error;
             if (std::string why = Shortfall(table, *t, damaged); !why.empty()) return "its table " + table + " " + why;
             p.name = row[0];
             size_t unnumbered = 0;
             for (auto& r : t->rows) {
               int32_t line = 0;
               const auto [end, ec] = std::from_chars(r[0].data(), r[0].data() + r[0].size(), line);
               if (ec != std::errc() || end != r[0].data() + r[0].size()) {
                 ++unnumbered;
                 continue;
               }
               if (std::string why = TooLong(r[1], textSize); !why.empty()) {
                 app.skipped.push_back("Line " + std::to_string(line) + " of the program " + p.name +
                                       " is not converted: its text " + why + ": " + Cut(r[1]) + ".");
                 continue;
               }
               p.lines.emplace_back(line, std::move(r[1]));
             }
             if (unnumbered)
               app.skipped.push_back("The program " + p.name + " has " + std::to_string(unnumbered) +
                                     " rows without a line number; they are not converted.");
             return {};
           });
  if (!damaged.empty())
    app.damaged = std::string(damaged.size() == 1 ? "Damaged table" : "Damaged tables") +
                  ", of which only the rows read whole are converted: " + Listed(damaged) + ".";
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
  for (int n = 2; ::lstat(kept.c_str(), &st) == 0; ++n) {
    if (n > kMaxKeptNumber) return "";
    kept = path + "." + std::to_string(n) + ".jet";
  }
  return kept;
}

std::string ConversionRefusal(const LegacyOriginal& original, const std::string& kept) {
  if (kept.empty()) return "every name for keeping the original, " + FileName(original.Path()) + ".jet to " +
                           FileName(original.Path()) + "." + std::to_string(kMaxKeptNumber) + ".jet, is taken";
  if (auto why = ReplaceRefusal(original.Path())) return *why;
  // The kept name is a new file beside the path, which may be a link to elsewhere.
  if (auto why = ReplaceRefusal(kept)) return *why;
  return "";
}

namespace {

// A private folder for the database while it is built, gone with the object.
struct Scratch {
  std::string parent, dir;
  int error = 0;  // why there is no dir
  Scratch() {
    const char* tmp = std::getenv("TMPDIR");
    parent = tmp && *tmp ? tmp : "/tmp";
    std::string name = parent + "/talvero-convert-XXXXXX";
    if (::mkdtemp(name.data())) dir = name;
    else error = errno;
  }
  ~Scratch() {
    if (dir.empty()) return;
    for (const char* f : {"/app", "/app-journal", "/app-wal", "/app-shm"}) ::unlink((dir + f).c_str());
    ::rmdir(dir.c_str());
  }
  // A failure there names the temporary folder: a full disk there is not the target's.
  std::string Reason(const std::string& why) const { return "can't build it in the temporary folder " + parent + ": " + why; }
};

// The original under its second name: a second link to the file that was
// read, or, where that can't be, a copy of the bytes that were read.
Status Keep(const LegacyOriginal& original, const std::string& kept) {
  const std::string held = "/proc/self/fd/" + std::to_string(original.Fd());
  if (::linkat(AT_FDCWD, held.c_str(), AT_FDCWD, kept.c_str(), AT_SYMLINK_FOLLOW) == 0) return Status::Ok();
  const int err = errno;
  if (err == EEXIST) return Status::Fail(kept + " exists already");
  if (err != EPERM && err != EXDEV && err != ENOTSUP && err != EOPNOTSUPP && err != EMLINK && err != ENOENT)
    return Status::Fail("can't keep the original as " + kept + ": " + FileErrorText(err));
  struct stat st {};
  if (::lstat(kept.c_str(), &st) == 0) return Status::Fail(kept + " exists already");
  if (auto why = WriteWholeFile(kept, original.Bytes())) return Status::Fail("can't keep the original as " + kept + ": " + *why);
  return Status::Ok();
}

}  // namespace

Conversion ConvertLegacyApplication(const LegacyApplication& app, const LegacyOriginal& original,
                                    const std::string& kept) {
  const std::string& path = original.Path();
  const auto fail = [](std::string why) { return Conversion{ConvertEnd::Failed, std::move(why)}; };
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return {ConvertEnd::Removed, ""};
    return fail(FileErrorText(errno));
  }
  if (!(FileIdentity::Of(st) == original.Identity())) return {ConvertEnd::Changed, ""};
  if (std::string why = ConversionRefusal(original, kept); !why.empty()) return fail(why);

  Scratch scratch;
  if (scratch.dir.empty()) return fail(scratch.Reason(FileErrorText(scratch.error)));
  const std::string built = scratch.dir + "/app";
  if (Status s = WriteApplication(app, built); !s) return fail(scratch.Reason(s.error));
  FileRead bytes = ReadWholeFile(built, 1, uint64_t(1) << 31);
  if (!bytes) return fail(scratch.Reason(bytes.reason));

  if (Status s = Keep(original, kept); !s) return fail(s.error);
  ReplacingFile out(path);
  out.Expect(original.Identity());
  std::optional<std::string> why = out.Open();
  if (!why) why = out.Write(bytes.bytes);
  if (!why) why = out.Commit();
  if (!why) return {ConvertEnd::Done, ""};
  Conversion c{out.TargetChanged() ? ConvertEnd::Changed : ConvertEnd::Failed, out.TargetChanged() ? "" : *why};
  if (::unlink(kept.c_str()) != 0) {
    const std::string left = FileName(kept) + ", made for the original, could not be removed: " + FileErrorText(errno);
    c.error = c.error.empty() ? left : c.error + "; " + left;
  }
  return c;
}

}  // namespace talvero::store
