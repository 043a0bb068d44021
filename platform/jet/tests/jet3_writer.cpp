#include "platform/jet/tests/jet3_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace talvero::jet::testing {

namespace {

constexpr size_t kPage = 2048;
constexpr size_t kDataHeader = 10;  // type, 1, free space, table page, row count

using Bytes = std::string;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char((v >> 8) & 0xFF);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
void Add16(Bytes& b, uint32_t v) {
  b.append(2, '\0');
  Put16(b, b.size() - 2, v);
}
void Add32(Bytes& b, uint32_t v) {
  b.append(4, '\0');
  Put32(b, b.size() - 4, v);
}

void Rc4(const unsigned char* key, size_t keyLen, char* data, size_t len) {
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
    data[n] = char(static_cast<unsigned char>(data[n]) ^ s[(s[i] + s[j]) & 0xFF]);
  }
}

enum ColType : uint8_t { kInt = 0x03, kLong = 0x04, kText = 0x0A, kOle = 0x0B };

struct Col {
  std::string name;
  ColType type;
  int size;
  uint8_t flags;
  bool fixed() const { return type == kInt || type == kLong; }
};

struct Def {
  std::string name;
  bool system = false;
  std::vector<Col> cols = {};
  std::vector<std::vector<Cell>> rows = {};
  std::vector<size_t> deleted = {};
  size_t rowsPerPage = 0;
  uint32_t nextCounter = 0;
};

// One row as the format lays it out (rows of fewer than 256 bytes only).
Bytes PackRow(const Def& d, const std::vector<Cell>& cells) {
  if (cells.size() != d.cols.size()) throw std::invalid_argument("row of " + d.name + " has the wrong cell count");
  Bytes row(1, char(d.cols.size()));
  for (size_t i = 0; i < d.cols.size(); ++i) {
    const Col& c = d.cols[i];
    if (!c.fixed()) continue;
    const long v = cells[i] ? std::stol(*cells[i]) : 0;
    for (int k = 0; k < (c.type == kLong ? 4 : 2); ++k) row += char((uint64_t(v) >> (8 * k)) & 0xFF);
  }
  std::vector<size_t> starts;
  size_t vars = 0;
  for (size_t i = 0; i < d.cols.size(); ++i) {
    const Col& c = d.cols[i];
    if (c.fixed()) continue;
    ++vars;
    starts.push_back(row.size());
    if (cells[i]) {
      const std::string text = ToCp1252(*cells[i]);
      if (int(text.size()) > c.size) throw std::invalid_argument("text longer than field " + c.name);
      row += text;
    }
  }
  if (vars) {
    const size_t eod = row.size();
    row += char(eod);
    for (size_t k = starts.size(); k > 0; --k) row += char(starts[k - 1]);
    row += char(vars);
  }
  std::string mask((d.cols.size() + 7) / 8, '\0');
  for (size_t i = 0; i < d.cols.size(); ++i)
    if (cells[i]) mask[i / 8] = char(mask[i / 8] | (1 << (i % 8)));
  row += mask;
  if (row.size() >= 256) throw std::invalid_argument("row of " + d.name + " too long for this writer");
  return row;
}

// Rows packed onto data pages of one table, from the page's end down.
struct PageFill {
  Bytes page;
  size_t rows = 0;
  size_t low = kPage;  // where the last row starts
};

PageFill NewDataPage(uint32_t tdef) {
  PageFill p{Bytes(kPage, '\0')};
  p.page[0] = 0x01;
  p.page[1] = 0x01;
  Put32(p.page, 4, tdef);
  return p;
}

bool Fits(const PageFill& p, size_t len) { return kDataHeader + 2 * (p.rows + 1) + len <= p.low; }

uint16_t AddRow(PageFill& p, const Bytes& row, bool deleted) {
  p.low -= row.size();
  std::memcpy(&p.page[p.low], row.data(), row.size());
  Put16(p.page, kDataHeader + 2 * p.rows, uint32_t(p.low) | (deleted ? 0xC000u : 0u));
  ++p.rows;
  Put16(p.page, 8, uint32_t(p.rows));
  Put16(p.page, 2, uint32_t(p.low - kDataHeader - 2 * p.rows));
  return uint16_t(p.rows - 1);
}

// A type 0 usage map: its first page and one bit per page from there.
Bytes UsageMap(const std::vector<uint32_t>& pages) {
  Bytes m(1, '\0');
  const uint32_t first = pages.empty() ? 0 : pages.front();
  Add32(m, first);
  const uint32_t span = pages.empty() ? 0 : pages.back() - first + 1;
  Bytes bits((span + 7) / 8 + 1, '\0');
  for (uint32_t p : pages) bits[(p - first) / 8] = char(bits[(p - first) / 8] | (1 << ((p - first) % 8)));
  return m + bits;
}

Bytes TableDefPage(const Def& d, uint32_t liveRows, uint32_t usedMap, uint32_t freeMap) {
  Bytes b(8, '\0');
  b[0] = 0x02;
  b[1] = 0x01;
  b[2] = 'V';
  b[3] = 'C';
  Add32(b, 0);  // length, set below
  Add32(b, liveRows);
  Add32(b, d.nextCounter);
  b += char(d.system ? 0x53 : 0x4E);
  const size_t vars = size_t(std::count_if(d.cols.begin(), d.cols.end(), [](const Col& c) { return !c.fixed(); }));
  Add16(b, uint32_t(d.cols.size()));
  Add16(b, uint32_t(vars));
  Add16(b, uint32_t(d.cols.size()));
  Add32(b, 0);  // logical indexes
  Add32(b, 0);  // index entries
  Add32(b, usedMap);
  Add32(b, freeMap);
  size_t fixedAt = 0, varAt = 0;
  for (size_t i = 0; i < d.cols.size(); ++i) {
    const Col& c = d.cols[i];
    const bool text = c.type == kText;
    b += char(c.type);
    Add16(b, uint32_t(i));
    Add16(b, c.fixed() ? 0 : uint32_t(varAt++));
    Add16(b, uint32_t(i));
    Add16(b, text ? 0x0409 : 0);
    Add16(b, text ? 0x04E4 : 0);
    Add16(b, 0);
    b += char(c.flags);
    Add16(b, c.fixed() ? uint32_t(fixedAt) : 0);
    Add16(b, uint32_t(c.size));
    if (c.fixed()) fixedAt += size_t(c.size);
  }
  for (const Col& c : d.cols) {
    const std::string name = ToCp1252(c.name);
    b += char(name.size());
    b += name;
  }
  Add16(b, 0xFFFF);
  Put32(b, 8, uint32_t(b.size() - 8));
  if (b.size() > kPage) throw std::invalid_argument("definition of " + d.name + " longer than a page");
  b.resize(kPage, '\0');
  return b;
}

Bytes HeaderPage(const Options& o) {
  Bytes p(kPage, '\0');
  p[1] = 0x01;
  std::memcpy(&p[4], "Standard Jet DB", 15);
  p[0x14] = 0;  // Jet 3
  Put16(p, 0x3A, 0x0409);
  Put16(p, 0x3C, 0x04E4);
  Put32(p, 0x3E, o.key);
  const std::string pw = ToCp1252(o.password).substr(0, 20);
  std::memcpy(&p[0x42], pw.data(), pw.size());
  const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(key, 4, &p[0x18], 126);
  return p;
}

}  // namespace

std::string ToCp1252(const std::string& s) {
  static const uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp = c;
    size_t n = 1;
    if (c >= 0xF0) { cp = c & 0x07; n = 4; }
    else if (c >= 0xE0) { cp = c & 0x0F; n = 3; }
    else if (c >= 0xC0) { cp = c & 0x1F; n = 2; }
    for (size_t k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += char(cp);
      continue;
    }
    const uint16_t* hit = std::find(kHigh, kHigh + 32, cp);
    out += cp && hit != kHigh + 32 ? char(0x80 + (hit - kHigh)) : '?';
  }
  return out;
}

std::string WriteJet3(const std::vector<Table>& tables, const Options& options) {
  std::vector<Def> defs;
  Def catalog{"MSysObjects", true,
              {{"Id", kLong, 4, 0x03}, {"ParentId", kLong, 4, 0x03}, {"Name", kText, 64, 0x02},
               {"Type", kInt, 2, 0x03}, {"Flags", kLong, 4, 0x03}, {"LvProp", kOle, 0, 0x02}}};
  defs.push_back(catalog);
  for (const Table& t : tables) {
    Def d{t.name};
    for (const Column& c : t.columns)
      d.cols.push_back(c.type == Type::Long ? Col{c.name, kLong, 4, uint8_t(c.counter ? 0x07 : 0x03)}
                                            : Col{c.name, kText, c.size, 0x02});
    d.rows = t.rows;
    d.deleted = t.deleted;
    d.rowsPerPage = t.rowsPerPage;
    d.nextCounter = uint32_t(t.rows.size() + 1);
    defs.push_back(std::move(d));
  }
  const uint32_t firstDef = 2;
  auto tdefPage = [&](size_t i) { return firstDef + uint32_t(i); };
  defs[0].rows.push_back({"2", "0", "MSysObjects", "1", std::to_string(int32_t(0x80000002u)), std::nullopt});
  for (size_t i = 1; i < defs.size(); ++i)
    defs[0].rows.push_back({std::to_string(tdefPage(i)), "0", defs[i].name, "1", "0", std::nullopt});

  std::vector<Bytes> pages(firstDef + defs.size());
  std::vector<std::vector<uint32_t>> owned(defs.size());
  std::vector<uint32_t> live(defs.size(), 0);
  for (size_t i = 0; i < defs.size(); ++i) {
    const Def& d = defs[i];
    std::optional<PageFill> fill;
    auto flush = [&] {
      if (!fill) return;
      owned[i].push_back(uint32_t(pages.size()));
      pages.push_back(fill->page);
      fill.reset();
    };
    for (size_t r = 0; r < d.rows.size(); ++r) {
      const Bytes row = PackRow(d, d.rows[r]);
      if (fill && (!Fits(*fill, row.size()) || (d.rowsPerPage && fill->rows == d.rowsPerPage))) flush();
      if (!fill) fill = NewDataPage(tdefPage(i));
      const bool gone = std::find(d.deleted.begin(), d.deleted.end(), r) != d.deleted.end();
      AddRow(*fill, row, gone);
      live[i] += gone ? 0 : 1;
    }
    flush();
  }

  // The usage maps: two rows a table on pages of their own.
  std::vector<std::pair<uint32_t, uint32_t>> maps(defs.size());
  std::optional<PageFill> fill;
  auto place = [&](const Bytes& row) -> uint32_t {
    if (fill && !Fits(*fill, row.size())) {
      pages.push_back(fill->page);
      fill.reset();
    }
    if (!fill) fill = NewDataPage(0);
    const uint16_t n = AddRow(*fill, row, false);
    return (uint32_t(pages.size()) << 8) | n;
  };
  for (size_t i = 0; i < defs.size(); ++i) {
    const Bytes m = UsageMap(owned[i]);
    maps[i] = {place(m), place(m)};
  }
  if (fill) pages.push_back(fill->page);

  for (size_t i = 0; i < defs.size(); ++i) pages[tdefPage(i)] = TableDefPage(defs[i], live[i], maps[i].first, maps[i].second);
  std::vector<uint32_t> all(pages.size());
  for (uint32_t p = 0; p < all.size(); ++p) all[p] = p;
  PageFill global = NewDataPage(0);
  AddRow(global, UsageMap(all), false);
  pages[1] = global.page;
  pages[0] = HeaderPage(options);

  std::string out;
  for (uint32_t p = 0; p < pages.size(); ++p) {
    Bytes page = pages[p];
    if (options.key && p != 0) {
      const uint32_t k = options.key ^ p;
      const unsigned char key[4] = {uint8_t(k), uint8_t(k >> 8), uint8_t(k >> 16), uint8_t(k >> 24)};
      Rc4(key, 4, page.data(), page.size());
    }
    out += page;
  }
  return out;
}

Placement Place(const std::string& file, const std::vector<Table>& tables, const std::string& name) {
  const auto at = std::find_if(tables.begin(), tables.end(), [&](const Table& t) { return t.name == name; });
  if (at == tables.end()) throw std::invalid_argument("no table " + name);
  Placement p;
  p.definition = 3 + uint32_t(at - tables.begin());  // after the header, the global map and the catalogue's
  const auto* b = reinterpret_cast<const unsigned char*>(file.data());
  const auto le16 = [&](size_t i) { return uint32_t(b[i] | (b[i + 1] << 8)); };
  const auto le32 = [&](size_t i) { return le16(i) | (le16(i + 2) << 16); };
  for (uint32_t pg = 0; pg < file.size() / kPage; ++pg)
    if (b[pg * kPage] == 0x01 && le32(pg * kPage + 4) == p.definition) p.dataPages.push_back(pg);
  const uint32_t map = le32(p.definition * kPage + 35);
  const size_t mapPage = (map >> 8) * kPage;
  p.usageMap = mapPage + (le16(mapPage + kDataHeader + 2 * (map & 0xFF)) & 0x1FFF);
  return p;
}

std::string AceFile() {
  std::string p(3 * 4096, '\0');
  p[1] = 0x01;
  std::memcpy(&p[4], "Standard ACE DB", 15);
  p[0x14] = 0x02;
  return p;
}

}  // namespace talvero::jet::testing
