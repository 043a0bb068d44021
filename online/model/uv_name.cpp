#include "online/model/uv_name.h"

#include "online/model/drive_text.h"
#include "runtime/cp1252.h"
#include "runtime/text.h"

namespace talvero::online {

UVNameCheck CheckUVName(const std::string& answer) {
  UVNameCheck c;
  const std::string up = rt::UCase(answer);
  if (up.empty() || up[0] < 'A' || up[0] > 'Z') {
    c.refusal = "First character of a variable must be alphabetic.";
    return c;
  }
  for (char ch : up)
    if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))) {
      c.refusal = "Only alphanumeric characters allowed in a name.";
      return c;
    }
  c.name = rt::UCase(rt::Trim(answer));
  c.refusal = ::online::TooLongForDrive(c.name, kMaxUVNameLength, "name");
  if (!c.ok()) c.name.clear();
  return c;
}

std::string UVValueTooLong(const std::string& name, const std::string& expression) {
  const size_t room = ::online::RequestRoom(kUVSetBytes + rt::CharCount(name));
  // A name the drive got from elsewhere may leave no room at all.
  if (room == 0 && !expression.empty())
    return "This variable's name leaves no room for a value in a request to the drive: its value cannot be "
           "set.";
  return ::online::TooLongForDrive(expression, room, "expression");
}

}  // namespace talvero::online
