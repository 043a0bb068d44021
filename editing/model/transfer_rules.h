#pragma once
// The rules of the program, parameter and event copies that need no window:
// drive library names, the progress figure and the number texts sent to a
// drive.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvero {

// The drive keeps library names of at most this many characters.
constexpr size_t kLibraryNameLength = 8;

struct LibraryName {
  std::string name;     // trimmed and upper-cased
  bool valid = false;   // only A-Z, 0-9, blank and underscore, and not empty
  bool tooLong = false;  // over 8 characters
  // What goes to the drive: the first 8 characters.
  std::string Sent() const { return name.substr(0, kLibraryNameLength); }
};
LibraryName DriveLibraryName(std::string_view text);

// The progress bar's figure for record k of n: k * 255 / n, without overflow.
int TransferProgress(long long k, long long n);

// The text a drive is sent for an application value: the number written
// back without a leading blank ("1.5E3" gives "1500"); nullopt when the
// value is not a number.
std::optional<std::string> DriveNumberText(std::string_view value);

// The names joined by ", ".
std::string JoinNames(const std::vector<std::string>& names);

}  // namespace talvero
