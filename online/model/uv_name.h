#pragma once
// The name a user types for a new user variable.
#include <string>

#include "online/model/drive_text.h"

namespace talvero::online {

inline constexpr const char* kUVDefineTitle = "User Variable Define...";

struct UVNameCheck {
  std::string name;      // trimmed and upper-cased, when accepted
  std::string refusal;   // the message; "" when accepted
  bool ok() const { return refusal.empty(); }
};

// A name goes out after at most two command bytes ("I", 4: is it free?).
constexpr size_t kMaxUVNameLength = ::online::RequestRoom(2);

// The answer must be non-empty (the caller ends on an empty one).
UVNameCheck CheckUVName(const std::string& answer);

}  // namespace talvero::online
