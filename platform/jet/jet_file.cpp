#include "platform/jet/jet_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/files/whole_file.h"
#include "runtime/text.h"

extern "C" {
#include <mdbtools.h>
}

namespace talvero::jet {

namespace {

constexpr uint64_t kMaxFileBytes = uint64_t(1) << 30;  // the format's own limit

MdbHandle* H(void* p) { return static_cast<MdbHandle*>(p); }

// The header page hides its settings under a fixed RC4 key.
void Rc4(const unsigned char* key, size_t keyLen, unsigned char* data, size_t len) {
  unsigned char s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + key[size_t(i) % keyLen]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  for (size_t n = 0, i = 0, j = 0; n < len; ++n) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    data[n] ^= s[(s[i] + s[j]) & 0xFF];
  }
}

uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// Why a file whose header page is at hand can't be read, or "".
std::string HeaderRefusal(Kind kind, const std::string& bytes) {
  unsigned char page[0x18 + 128] = {};
  std::memcpy(page, bytes.data(), std::min(sizeof page, bytes.size()));
  const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(key, sizeof key, page + 0x18, kind == Kind::Jet3 ? 126 : 128);
  if (Le32(page + 0x3E) != 0) return "it is encrypted";
  // Jet 4 masks its password with the creation date; only Jet 3 is told here.
  if (kind == Kind::Jet3)
    for (int i = 0; i < 20; ++i)
      if (page[0x42 + i] != 0) return "it is protected by a database password";
  return "";
}

uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }

// Whether the catalogue's page map is a row of at least its five header
// bytes; libmdb reads through a missing one.
bool CatalogueMapReadable(const std::string& bytes, size_t pageSize, bool jet3) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t pages = bytes.size() / pageSize;
  const unsigned char* def = b + 2 * pageSize;
  if (def[0] != 0x02) return true;  // libmdb says so itself
  const uint32_t ptr = Le32(def + (jet3 ? 35 : 55));
  const size_t page = ptr >> 8, row = ptr & 0xFF;
  if (page >= pages) return false;
  const unsigned char* pg = b + page * pageSize;
  const size_t offsets = jet3 ? 10 : 14;
  if (offsets + 2 * (row + 1) > pageSize) return false;
  const size_t start = Le16(pg + offsets + 2 * row) & 0x1FFF;
  const size_t end = row == 0 ? pageSize : Le16(pg + offsets + 2 * (row - 1)) & 0x1FFF;
  return start < end && end <= pageSize && end - start >= 5;
}

// Text in the file is Windows-1252 (Jet 3) or UCS-2 (Jet 4), whatever the
// environment asks libmdb for.
bool SetDecoding(MdbHandle* mdb) {
  mdb_iconv_close(mdb);
  const char* inFile = IS_JET3(mdb) ? "CP1252" : "UCS-2LE";
  mdb->iconv_in = iconv_open("UTF-8", inFile);
  mdb->iconv_out = iconv_open(inFile, "UTF-8");
  return mdb->iconv_in != (iconv_t)-1 && mdb->iconv_out != (iconv_t)-1;
}

// libmdb tells a page it could not use only on standard error, and reads on:
// what it writes there while one table is read is caught here.
class WarningCatch {
 public:
  WarningCatch() {
    std::fflush(stderr);
    fd_ = ::memfd_create("libmdb-warnings", MFD_CLOEXEC);
    saved_ = ::dup(STDERR_FILENO);
    if (fd_ < 0 || saved_ < 0 || ::dup2(fd_, STDERR_FILENO) < 0) Restore();
  }
  ~WarningCatch() { Restore(); }
  WarningCatch(const WarningCatch&) = delete;
  WarningCatch& operator=(const WarningCatch&) = delete;

  // Each line written, without its line end.
  std::vector<std::string> Lines() {
    Restore();
    std::vector<std::string> out;
    if (fd_ < 0) return out;
    std::string text;
    char buf[4096];
    for (off_t at = 0;;) {
      const ssize_t n = ::pread(fd_, buf, sizeof buf, at);
      if (n <= 0 || text.size() > 65536) break;
      text.append(buf, size_t(n));
      at += n;
    }
    for (size_t at = 0; at < text.size();) {
      size_t nl = text.find('\n', at);
      if (nl == std::string::npos) nl = text.size();
      if (nl > at) out.push_back(text.substr(at, nl - at));
      at = nl + 1;
    }
    return out;
  }

 private:
  void Restore() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      ::dup2(saved_, STDERR_FILENO);
      ::close(saved_);
      saved_ = -1;
    }
  }
  int fd_ = -1;
  int saved_ = -1;
};

}  // namespace

Kind Recognise(std::string_view b) {
  static const char kMagic[4] = {0, 1, 0, 0};
  if (b.size() < 0x15 || b.substr(0, 4) != std::string_view(kMagic, 4)) return Kind::NotJet;
  const std::string_view name = b.substr(4, 15);
  if (name == "Standard ACE DB") return Kind::Ace;
  if (name != "Standard Jet DB") return Kind::NotJet;
  switch (static_cast<unsigned char>(b[0x14])) {
    case 0: return Kind::Jet3;
    case 1: return Kind::Jet4;
    default: return Kind::Ace;
  }
}

Kind RecogniseFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Kind::NotJet;
  struct stat st {};
  char head[0x20];
  ssize_t n = -1;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) n = ::pread(fd, head, sizeof head, 0);
  ::close(fd);
  return n > 0 ? Recognise(std::string_view(head, size_t(n))) : Kind::NotJet;
}

File::~File() {
  if (mdb_) mdb_close(H(mdb_));
}

dao::Result<std::unique_ptr<File>> File::Open(const std::string& path) {
  using R = dao::Result<std::unique_ptr<File>>;
  FileRead read = ReadWholeFile(path, 1, kMaxFileBytes);
  if (read.end == FileRead::End::Unreadable) return R::Fail(read.reason);
  if (read.end == FileRead::End::OutOfBounds)
    return R::Fail("it is too large for a database of this kind (" + std::to_string(read.size) + " bytes)");
  return FromBytes(std::move(read.bytes));
}

dao::Result<std::unique_ptr<File>> File::FromBytes(std::string bytes) {
  using R = dao::Result<std::unique_ptr<File>>;
  const Kind kind = Recognise(bytes);
  if (kind == Kind::NotJet) return R::Fail("it is no Jet database");
  if (kind == Kind::Ace) return R::Fail("it is a database of the later ACE format (.accdb), which Talvero does not read");
  const size_t pageSize = kind == Kind::Jet3 ? 2048 : 4096;
  if (bytes.size() % pageSize != 0 || bytes.size() < 3 * pageSize)
    return R::Fail("it is cut short (" + std::to_string(bytes.size()) + " bytes, not a whole number of " +
                   std::to_string(pageSize) + "-byte pages)");
  if (std::string why = HeaderRefusal(kind, bytes); !why.empty()) return R::Fail(why);

  if (!CatalogueMapReadable(bytes, pageSize, kind == Kind::Jet3))
    return R::Fail("it is damaged (the page map of its catalogue is missing)");
  std::unique_ptr<File> f(new File);
  f->bytes_ = std::move(bytes);
  f->kind_ = kind;
  MdbHandle* mdb = mdb_open_buffer(f->bytes_.data(), f->bytes_.size(), MDB_NOFLAGS);
  if (!mdb) return R::Fail("it is damaged (its first page can't be read)");
  f->mdb_ = mdb;
  if (!SetDecoding(mdb)) return R::Fail("its text can't be decoded on this system (no Windows-1252 converter)");
  GPtrArray* catalog = mdb_read_catalog(mdb, MDB_TABLE);
  if (!catalog) return R::Fail("it is damaged (its catalogue of tables can't be read)");
  for (guint i = 0; i < catalog->len; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
    if (mdb_is_user_table(entry)) f->tables_.emplace_back(entry->object_name);
  }
  return R::Ok(std::move(f));
}

std::string File::FindTable(std::string_view name) const {
  for (const std::string& t : tables_)
    if (rt::SameText(t, name)) return t;
  return {};
}

dao::Result<Table> File::Read(std::string_view name, const std::vector<std::string>& columns) {
  using R = dao::Result<Table>;
  MdbHandle* mdb = H(mdb_);
  MdbCatalogEntry* entry = nullptr;
  for (guint i = 0; mdb->catalog && i < mdb->catalog->len && !entry; ++i) {
    auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (mdb_is_user_table(e) && rt::SameText(e->object_name, name)) entry = e;
  }
  const std::string table = "the table " + std::string(name);
  if (!entry) return R::Fail(table + " is missing");
  WarningCatch warnings;
  MdbTableDef* def = mdb_read_table(entry);
  if (!def) return R::Fail(table + " is damaged (its definition can't be read)");
  struct Free {
    MdbTableDef* d;
    ~Free() { mdb_free_tabledef(d); }
  } freeDef{def};
  if (!mdb_read_columns(def)) return R::Fail(table + " is damaged (its fields can't be read)");

  // libmdb keeps an empty map as no map at all, and reads through it.
  if (!def->usage_map || def->map_sz < 5) return R::Fail(table + " is damaged (its page map is missing)");
  // Rows on pages past the end would be lost without a word; a page of
  // another kind or table is skipped by libmdb, and its rows with it.
  Table out;
  const size_t pageSize = size_t(mdb->fmt->pg_size);
  const uint64_t pages = bytes_.size() / pageSize;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes_.data());
  for (gint32 pg = 0, steps = 0; steps <= gint32(pages); ++steps) {
    pg = mdb_map_find_next(mdb, def->usage_map, unsigned(def->map_sz), guint32(pg));
    if (pg <= 0) break;
    if (uint64_t(pg) >= pages)
      return R::Fail(table + " is damaged (it names page " + std::to_string(pg) + ", past the end of the file)");
    const unsigned char* page = b + size_t(pg) * pageSize;
    if (page[0] != MDB_PAGE_DATA || Le32(page + 4) != entry->table_pg)
      out.damage.push_back("its page map names page " + std::to_string(pg) + ", which is no data page of it");
  }
  out.counted = def->num_rows;
  out.columns = columns;
  std::vector<std::vector<char>> buffers(columns.size(), std::vector<char>(mdb->bind_size + 1, '\0'));
  for (size_t c = 0; c < columns.size(); ++c) {
    int number = 0;
    for (guint i = 0; i < def->columns->len && !number; ++i)
      if (rt::SameText(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i))->name, columns[c]))
        number = int(i) + 1;
    if (!number) return R::Fail(table + " has no field " + columns[c]);
    mdb_bind_column(def, number, buffers[c].data(), nullptr);
  }
  mdb_rewind_table(def);
  while (mdb_fetch_row(def)) {
    std::vector<std::string> row;
    row.reserve(columns.size());
    for (const auto& b : buffers) row.emplace_back(b.data());
    out.rows.push_back(std::move(row));
    ++rowsRead_;
  }
  for (std::string& line : warnings.Lines()) out.damage.push_back(std::move(line));
  return R::Ok(std::move(out));
}

}  // namespace talvero::jet
