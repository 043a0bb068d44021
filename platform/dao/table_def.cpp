#include "platform/dao/table_def.h"

#include "runtime/text.h"

namespace talvero::dao {

bool SameName(std::string_view a, std::string_view b) { return rt::SameText(a, b); }

const FieldDef* TableDef::Find(std::string_view field) const {
  for (const FieldDef& f : fields)
    if (SameName(f.name, field)) return &f;
  return nullptr;
}

Status CheckName(std::string_view name) {
  if (name.empty()) return Status::Fail("empty name");
  if (CharCount(name) > kMaxNameLength) return Status::Fail("name longer than 64 characters: " + std::string(name));
  if (name.front() == ' ') return Status::Fail("name begins with a blank: " + std::string(name));
  for (unsigned char c : name) {
    if (c < 32 || c == 127) return Status::Fail("control character in name");
    if (c == '.' || c == '!' || c == '`' || c == '[' || c == ']')
      return Status::Fail(std::string("character '") + char(c) + "' not allowed in name: " + std::string(name));
  }
  if (name.size() >= 7 && SameName(name.substr(0, 7), "sqlite_"))
    return Status::Fail("reserved name: " + std::string(name));
  return Status::Ok();
}

}  // namespace talvero::dao
