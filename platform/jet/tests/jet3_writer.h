#pragma once
// A small writer of Jet 3 database files, for test fixtures only: table
// definitions with Long and Text fields, their rows on data pages, usage maps
// and the catalogue, laid out as the published description of the page format
// has them. No indexes, no long values. What it writes is checked with the
// mdbtools command-line tools by its own test.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talvero::jet::testing {

enum class Type { Long, Text };

struct Column {
  std::string name;
  Type type = Type::Text;
  int size = 0;          // Text: characters
  bool counter = false;  // Long: auto-increment
};

using Cell = std::optional<std::string>;  // nullopt is Null; a Long as decimal text; text as UTF-8

struct Table {
  std::string name;
  std::vector<Column> columns = {};
  std::vector<std::vector<Cell>> rows = {};
  std::vector<size_t> deleted = {};  // rows that are written and then marked deleted
  size_t rowsPerPage = 0;       // 0: as many as a page holds
};

struct Options {
  std::string password;  // the header's database password, Windows-1252
  uint32_t key = 0;      // non-zero: the pages are encrypted with it
};

// The whole file.
std::string WriteJet3(const std::vector<Table>& tables, const Options& options = {});

// Where WriteJet3 put the named table of tables in its file, for tests that
// damage it: its definition page, its data pages, and the byte offset of its
// usage map (the map's type byte 0, its first page, then one bit a page).
struct Placement {
  uint32_t definition = 0;
  std::vector<uint32_t> dataPages = {};
  size_t usageMap = 0;
};
constexpr size_t kJet3Page = 2048;
Placement Place(const std::string& file, const std::vector<Table>& tables, const std::string& name);
// Three pages whose header says the later ACE format.
std::string AceFile();
// UTF-8 to Windows-1252; characters outside it become '?'.
std::string ToCp1252(const std::string& utf8);

}  // namespace talvero::jet::testing
