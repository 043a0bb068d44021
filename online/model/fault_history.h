#pragma once
// The drive's fault history as the "Faults" tab lists it: one row per fault
// of a record, each with the record's detail text (lines joined by LF).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talvero::online {

struct FaultHistoryRecord {
  uint32_t faults = 0;  // bit i = fault code i
  int inputs = 0;       // low 8 bits
  int outputs = 0;      // low 12 bits
  double velocity = 0;  // RPM
  double current = 0;   // fraction of peak
  int step = -1;        // negative = none
  std::string text;     // free text after the sixth comma, trimmed
};

// nullopt for an empty record or one with fewer than six commas; the free
// text keeps any further commas.
std::optional<FaultHistoryRecord> ParseFaultRecord(std::string_view rec);
// points are numbered from base.
std::string FaultDetailText(const FaultHistoryRecord& r, int base);
// "007: Over current @ 10:42"
std::string FaultRowText(int row, const std::string& faultText, const std::string& freeText);
// The detail box's title for a row text.
std::string FaultTitle(const std::string& rowText);

}  // namespace talvero::online
