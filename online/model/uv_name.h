#pragma once
// The name a user types for a new user variable.
#include <string>

namespace talvero::online {

inline constexpr const char* kUVDefineTitle = "User Variable Define...";

struct UVNameCheck {
  std::string name;      // trimmed and upper-cased, when accepted
  std::string refusal;   // the message; "" when accepted
  bool ok() const { return refusal.empty(); }
};

// The answer must be non-empty (the caller ends on an empty one).
UVNameCheck CheckUVName(const std::string& answer);

}  // namespace talvero::online
