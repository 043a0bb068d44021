#include "editing/model/transfer_rules.h"

#include "editing/model/value_rules.h"
#include "runtime/cstr.h"
#include "runtime/text.h"
#include "runtime/val.h"

namespace talvero {

LibraryName DriveLibraryName(std::string_view text) {
  LibraryName r;
  r.name = rt::UCase(rt::Trim(text));
  r.valid = !r.name.empty();
  for (char c : r.name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '_';
    if (!ok) r.valid = false;
  }
  r.tooLong = r.name.size() > kLibraryNameLength;
  return r;
}

int TransferProgress(long long k, long long n) {
  if (n <= 0) return 0;
  return int(k * 255 / n);
}

std::optional<std::string> DriveNumberText(std::string_view value) {
  const std::string v = rt::Trim(value);
  if (!IsPlainNumber(v)) return std::nullopt;
  return rt::CStrDouble(rt::Val(v));
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
  return s;
}

}  // namespace talvero
