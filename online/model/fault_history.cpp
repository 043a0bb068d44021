#include "online/model/fault_history.h"

#include <vector>

#include "runtime/format.h"
#include "link/fault_word.h"
#include "runtime/rounding.h"
#include "runtime/text.h"
#include "runtime/val.h"

namespace talvero::online {
namespace {

int WholeField(std::string_view field) { return int(rt::CLng(rt::Val(field))); }

std::string Points(int bits, int count, int base) {
  std::string s;
  for (int b = 0; b < count; ++b)
    if (bits & (1 << b)) s += " " + std::to_string(base + b);
  return s;
}

}  // namespace

std::optional<FaultHistoryRecord> ParseFaultRecord(std::string_view rec) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (int i = 0; i < 6; ++i) {
    const size_t comma = rec.find(',', start);
    if (comma == std::string_view::npos) return std::nullopt;
    fields.push_back(rec.substr(start, comma - start));
    start = comma + 1;
  }
  FaultHistoryRecord r;
  r.faults = DriveWord(fields[0]);
  r.inputs = WholeField(fields[1]) & 255;
  r.outputs = WholeField(fields[2]) & 4095;
  r.velocity = rt::Val(fields[3]);
  r.current = rt::Val(fields[4]);
  r.step = WholeField(fields[5]);
  r.text = rt::Trim(rec.substr(start));
  return r;
}

std::string FaultDetailText(const FaultHistoryRecord& r, int base) {
  const std::string LF = "\n";
  std::string d = r.inputs ? "Inputs active:" + Points(r.inputs, 8, base) : "No Inputs were active.";
  d += LF;
  d += r.outputs ? "Outputs active:" + Points(r.outputs, 12, base) : "No Outputs were active.";
  d += LF + "Velocity: " + rt::Format(r.velocity, "######0.0") + " RPM";
  d += LF + "Current Command: " + rt::Format(r.current * 100, "##0") + "% of peak";
  if (r.step >= 0) d += LF + "Step: " + rt::Format(r.step, "000");
  return d;
}

std::string FaultRowText(int row, const std::string& faultText, const std::string& freeText) {
  std::string s = rt::Format(row, "000") + ": " + faultText;
  if (!freeText.empty()) s += " @ " + freeText;
  return s;
}

std::string FaultTitle(const std::string& rowText) {
  std::string title = rowText.empty() ? std::string() : rowText.substr(1);
  const size_t at = title.find('@');
  if (at == std::string::npos) return title;
  const std::string rest = at + 2 <= title.size() ? title.substr(at + 2) : std::string();
  return title.substr(0, at) + " : " + rest;
}

}  // namespace talvero::online
