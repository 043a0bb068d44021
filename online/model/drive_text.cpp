#include "online/model/drive_text.h"

#include "runtime/cp1252.h"

namespace online {

DriveText ToDriveText(std::string_view utf8, size_t maxBytes) {
  DriveText t;
  auto bytes = rt::Utf8ToCp1252(utf8);
  if (!bytes) {
    t.problem = DriveTextProblem::Character;
    return t;
  }
  t.bytes = std::move(*bytes);
  if (t.bytes.size() > maxBytes) t.problem = DriveTextProblem::TooLong;
  return t;
}

}  // namespace online
