#include "online/model/uv_name.h"

#include "online/model/drive_text.h"
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
  // The longest request that carries it: the question whether it is free.
  c.refusal = ::online::TooLongForDrive(c.name, kMaxUVNameLength, "name");
  if (!c.ok()) c.name.clear();
  return c;
}

}  // namespace talvero::online
