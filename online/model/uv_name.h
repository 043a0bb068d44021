#pragma once
// The name a user types for a new user variable, and the room its value has.
#include <string>

#include "online/model/drive_text.h"

namespace talvero::online {

inline constexpr const char* kUVDefineTitle = "User Variable Define...";

struct UVNameCheck {
  std::string name;      // trimmed and upper-cased, when accepted
  std::string refusal;   // the message; "" when accepted
  bool ok() const { return refusal.empty(); }
};

// The longest request that carries a name sets its value: ":!NAME=" and the
// expression. A name must leave room there for a value of one character.
inline constexpr size_t kUVSetBytes = 3;
inline constexpr size_t kMaxUVNameLength = ::online::RequestRoom(kUVSetBytes) - 1;

// The answer must be non-empty (the caller ends on an empty one).
UVNameCheck CheckUVName(const std::string& answer);

// "" when the expression fits after the name in the request that sets it,
// else the refusal, with the characters left.
std::string UVValueTooLong(const std::string& name, const std::string& expression);

}  // namespace talvero::online
