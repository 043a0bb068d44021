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

std::string TooLongForDrive(std::string_view utf8, size_t room, const std::string& what) {
  if (rt::CharCount(utf8) <= room) return "";
  return "The " + what + " is too long for the drive: it takes at most " + std::to_string(room) +
         (room == 1 ? " character." : " characters.");
}

}  // namespace online
