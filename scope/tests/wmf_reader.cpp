#include "scope/tests/wmf_reader.h"

#include <fstream>
#include <iterator>
#include <map>

namespace scope::testing {
namespace {

uint16_t Word(const std::vector<uint8_t>& b, size_t i) { return uint16_t(b[i] | b[i + 1] << 8); }

}  // namespace

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

WmfFile ReadWmf(const std::vector<uint8_t>& b) {
  WmfFile f;
  if (b.size() < 22 + 18 || b.size() % 2) {
    f.error = "too short or odd";
    return f;
  }
  f.key = uint32_t(Word(b, 0)) | uint32_t(Word(b, 2)) << 16;
  for (int i = 0; i < 4; ++i) f.box[i] = int16_t(Word(b, 6 + 2 * i));
  f.inch = Word(b, 14);
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= Word(b, i);
  f.checksumOk = sum == Word(b, 20);
  const size_t h = 22;
  f.type = Word(b, h);
  f.headerWords = Word(b, h + 2);
  f.version = Word(b, h + 4);
  f.sizeWords = uint32_t(Word(b, h + 6)) | uint32_t(Word(b, h + 8)) << 16;
  f.objects = Word(b, h + 10);
  f.maxRecord = uint32_t(Word(b, h + 12)) | uint32_t(Word(b, h + 14)) << 16;
  f.bodyWords = (b.size() - h) / 2;
  size_t at = h + 2 * f.headerWords;
  while (at + 6 <= b.size()) {
    WmfRecord r;
    r.words = uint32_t(Word(b, at)) | uint32_t(Word(b, at + 2)) << 16;
    r.function = Word(b, at + 4);
    if (r.words < 3 || at + 2 * size_t(r.words) > b.size()) {
      f.error = "record runs past the end";
      return f;
    }
    for (size_t i = 3; i < r.words; ++i) r.params.push_back(Word(b, at + 2 * i));
    f.largestSeen = std::max(f.largestSeen, r.words);
    f.records.push_back(r);
    at += 2 * size_t(r.words);
    if (r.function == 0) break;
  }
  if (f.records.empty() || f.records.back().function != 0) f.error = "no end record";
  else if (at != b.size()) f.error = "bytes after the end record";
  return f;
}

std::vector<WmfPolyline> Polylines(const WmfFile& f) {
  std::vector<WmfPolyline> out;
  std::vector<std::optional<uint32_t>> table;  // pen colour per slot, nullopt for other objects
  std::vector<bool> used;
  auto take = [&](std::optional<uint32_t> pen) {
    for (size_t i = 0; i < used.size(); ++i)
      if (!used[i]) {
        used[i] = true;
        table[i] = pen;
        return;
      }
    used.push_back(true);
    table.push_back(pen);
  };
  uint32_t pen = 0;
  for (const WmfRecord& r : f.records) {
    switch (r.function) {
      case 0x02FA: take(uint32_t(r.params[3]) | uint32_t(r.params[4]) << 16); break;
      case 0x02FB: case 0x02FC: take(std::nullopt); break;
      case 0x012D:
        if (r.params[0] < table.size() && table[r.params[0]]) pen = *table[r.params[0]];
        break;
      case 0x01F0:
        if (r.params[0] < used.size()) used[r.params[0]] = false;
        break;
      case 0x0325: {
        WmfPolyline line{pen, r.params[0]};
        for (size_t i = 0; i < line.points; ++i) line.right = std::max(line.right, int16_t(r.params[1 + 2 * i]));
        out.push_back(line);
        break;
      }
    }
  }
  return out;
}

std::vector<std::string> Texts(const WmfFile& f) {
  std::vector<std::string> out;
  for (const WmfRecord& r : f.records) {
    if (r.function != 0x0521) continue;
    std::string s;
    for (size_t i = 0; i < r.params[0]; ++i) {
      const uint16_t w = r.params[1 + i / 2];
      s.push_back(char(i % 2 ? w >> 8 : w & 0xFF));
    }
    out.push_back(s);
  }
  return out;
}

std::vector<std::pair<int16_t, int16_t>> DrawnPoints(const WmfFile& f) {
  std::vector<std::pair<int16_t, int16_t>> out;
  auto at = [&](uint16_t x, uint16_t y) { out.emplace_back(int16_t(x), int16_t(y)); };
  for (const WmfRecord& r : f.records) {
    const auto& p = r.params;
    switch (r.function) {
      case 0x041B:  // bottom, right, top, left
        at(p[3], p[2]);
        at(p[1], p[0]);
        break;
      case 0x0325:
        for (size_t i = 0; i < p[0]; ++i) at(p[1 + 2 * i], p[2 + 2 * i]);
        break;
      case 0x0521:  // count, text, y, x
        at(p[p.size() - 1], p[p.size() - 2]);
        break;
    }
  }
  return out;
}

std::vector<uint16_t> FirstRecord(const WmfFile& f, uint16_t function) {
  for (const WmfRecord& r : f.records)
    if (r.function == function) return r.params;
  return {};
}

}  // namespace scope::testing
