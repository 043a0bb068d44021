#pragma once
// Text a user typed, as the bytes a drive takes: Windows-1252, and for a
// request packet no longer than its room. Qt-free.
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "link/isp.h"

namespace online {

enum class DriveTextProblem { None, Character, TooLong };

struct DriveText {
  std::string bytes;  // meaningful only without a problem
  DriveTextProblem problem = DriveTextProblem::None;
  explicit operator bool() const { return problem == DriveTextProblem::None; }
};

DriveText ToDriveText(std::string_view utf8, size_t maxBytes = std::numeric_limits<size_t>::max());

// Room for typed text in one request packet after its command bytes; none
// when the command bytes fill the packet or more.
constexpr size_t RequestRoom(size_t commandBytes) {
  return commandBytes < ISP::kMaxRequestData ? ISP::kMaxRequestData - commandBytes : 0;
}

// "" when the text fits in room characters as the drive gets them, else the
// refusal: "The WHAT is too long for the drive: it takes at most N characters."
std::string TooLongForDrive(std::string_view utf8, size_t room, const std::string& what);

}  // namespace online
