#pragma once
// A small reader of placeable Windows metafiles for the tests: it checks the
// file's own bookkeeping and plays the object table to know which pen draws
// each polyline.
#include <cstdint>
#include <utility>
#include <optional>
#include <string>
#include <vector>

namespace scope::testing {

struct WmfRecord {
  uint32_t words = 0;
  uint16_t function = 0;
  std::vector<uint16_t> params;
};

struct WmfFile {
  uint32_t key = 0;
  int16_t box[4] = {};  // left, top, right, bottom
  uint16_t inch = 0;
  bool checksumOk = false;
  uint16_t type = 0, headerWords = 0, version = 0;
  uint32_t sizeWords = 0;  // as the header says
  uint16_t objects = 0;
  uint32_t maxRecord = 0;
  size_t bodyWords = 0;  // as the file holds (after the placeable header)
  uint32_t largestSeen = 0;
  std::vector<WmfRecord> records;
  std::string error;  // why it is not a well-formed file
};

WmfFile ReadWmf(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);

struct WmfPolyline {
  uint32_t colour = 0;  // of the pen selected
  size_t points = 0;
  int16_t right = INT16_MIN;  // the largest x
};
// Polylines in order, with the pen in force; also the texts drawn.
std::vector<WmfPolyline> Polylines(const WmfFile& f);
std::vector<std::string> Texts(const WmfFile& f);
// Every point drawn: rectangle corners, polyline points, text origins.
std::vector<std::pair<int16_t, int16_t>> DrawnPoints(const WmfFile& f);
// The parameters of the first record of that function; empty when none.
std::vector<uint16_t> FirstRecord(const WmfFile& f, uint16_t function);

}  // namespace scope::testing
