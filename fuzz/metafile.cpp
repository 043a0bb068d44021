// The scope's metafile writer fed fuzzed traces and texts: the file it
// finishes always walks as a metafile, read apart from the writer.
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "scope/model/wmf_records.h"

namespace {

uint16_t Word(const std::vector<uint8_t>& f, size_t at) { return uint16_t(f[at] | f[at + 1] << 8); }
uint32_t Long(const std::vector<uint8_t>& f, size_t at) { return Word(f, at) | uint32_t(Word(f, at + 2)) << 16; }

// "" when the bytes are a sound placeable metafile, else what is wrong.
std::string Walk(const std::vector<uint8_t>& f) {
  if (f.size() < 22 + 18 + 6 || f.size() % 2) return "too short or odd";
  if (Long(f, 0) != 0x9AC6CDD7) return "no placeable key";
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= Word(f, i);
  if (sum != Word(f, 20)) return "placeable checksum";
  const size_t meta = 22;
  if (Word(f, meta + 2) != 9 || Word(f, meta + 4) != 0x0300) return "metafile header";
  if (Long(f, meta + 6) * 2 != f.size() - meta) return "file size in the header";
  const uint32_t largest = Long(f, meta + 12);
  size_t at = meta + 18;
  while (at + 6 <= f.size()) {
    const uint32_t words = Long(f, at);
    if (words < 3 || at + size_t(words) * 2 > f.size()) return "a record runs past the end";
    if (words > largest) return "a record larger than the header says";
    if (Word(f, at + 4) == 0) return at + 6 == f.size() ? "" : "bytes after the end record";
    at += size_t(words) * 2;
  }
  return "no end record";
}

}  // namespace

TALVERO_FUZZ_TARGET(metafile) {
  fuzz::Input in(data, size);
  scope::WmfRecords wmf(int16_t(in.Word()), int16_t(in.Word()));
  std::vector<int> slots;
  while (!in.Empty()) {
    switch (in.Byte() % 8) {
      case 0: {
        const uint16_t style = in.Byte() % 6;
        const int16_t width = int16_t(in.Word());
        slots.push_back(wmf.CreatePen(style, width, in.Word() | uint32_t(in.Byte()) << 16));
        break;
      }
      case 1: slots.push_back(wmf.CreateBrush(in.Byte() % 2, in.Word())); break;
      case 2: slots.push_back(wmf.CreateFont(int16_t(in.Word()), int16_t(in.Word()), in.Byte() & 1, in.Text())); break;
      case 3:
        if (!slots.empty()) wmf.SelectObject(slots[in.Byte() % slots.size()]);
        break;
      case 4:
        if (!slots.empty()) {
          const size_t k = in.Byte() % slots.size();
          wmf.DeleteObject(slots[k]);
          slots.erase(slots.begin() + long(k));
        }
        break;
      case 5: {
        std::vector<scope::WmfPoint> trace(in.Byte() * 4u);
        for (scope::WmfPoint& p : trace) p = {int16_t(in.Word()), int16_t(in.Word())};
        wmf.Polyline(trace);
        break;
      }
      case 6: wmf.TextOut(int16_t(in.Word()), int16_t(in.Word()), in.Text()); break;
      case 7: wmf.Rectangle(int16_t(in.Word()), int16_t(in.Word()), int16_t(in.Word()), int16_t(in.Word())); break;
    }
  }
  const std::string fault = Walk(wmf.Finish());
  FUZZ_CHECK(fault.empty(), "the metafile does not walk: " + fault);
  return 0;
}
