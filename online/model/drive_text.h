#pragma once
// Text a user typed, as the bytes a drive takes: Windows-1252, and for a
// request packet no longer than its room. Qt-free.
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace online {

enum class DriveTextProblem { None, Character, TooLong };

struct DriveText {
  std::string bytes;  // meaningful only without a problem
  DriveTextProblem problem = DriveTextProblem::None;
  explicit operator bool() const { return problem == DriveTextProblem::None; }
};

DriveText ToDriveText(std::string_view utf8, size_t maxBytes = std::numeric_limits<size_t>::max());

}  // namespace online
